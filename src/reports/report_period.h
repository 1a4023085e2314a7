#pragma once
#include <QDate>
#include <QString>

class Dataset;

// The period of a report: entries dated from `from` on, up to but not including `to`.
struct ReportPeriod {
    QDate from;
    QDate to;

    // The end before the start: no entry could be in it, and its heading would read backwards.
    bool reversed() const { return to < from; }
};

// What the user is told of a reversed period; nothing is printed or exported then.
inline const QString kReversedPeriodText =
    QStringLiteral("Дата «по» раньше даты «с»: укажите период, который начинается не позже, чем кончается.");

// The whole month before the one of `today`: from its first day to the first day of today's month.
ReportPeriod previousMonth(const QDate& today);

// The reports window's product kind, by the index of its choice.
enum class ProductKind { All = 0, Finished = 1, Blanks = 2 };

// Prepares a report query for its next open: the period into data1 and data2, and the product kind as
// a filter on the rows it returns.
void selectRows(Dataset& query, const ReportPeriod& period, ProductKind kind);

// The prefix, the from date, " по " and the to date, dates in the workstation's short form.
QString periodHeading(const QString& prefix, const ReportPeriod& period);

// How reports and exports name a product kind: "Готовая продукция" for naimen 0, "Заготовки" otherwise.
QString productKindName(int naimen);
