#pragma once
#include "reportengine/definition.h"

#include <QWidget>

class Dataset;
class TDataModule6;

// The printed time sheet: the month on A4 landscape, one line per worker with the hours of every day
// summed over all shifts, overtime included, and the worker's total. Holds the month summary query
// H_Tabel, which the time sheet's spreadsheet export reads too. A window of the program that is never
// shown itself: its pages are, in the preview.
class TForm15 : public QWidget {
    Q_OBJECT
public:
    explicit TForm15(TDataModule6& data, QWidget* parent = nullptr);

    // Per worker display name: fio and sd1 ... sd31, the hours of each day over all shifts; parameters
    // mnth and yea.
    Dataset* H_Tabel;

    // The name of the heading label, whose text is "<month> <year> г.".
    static inline const QString QRLabel33 = QStringLiteral("QRLabel33");

    // The layout, as drawn; the heading label is empty.
    static re::ReportDefinition definition();

    // Reads H_Tabel, or a query of its statement, for month `month` of `year`.
    static void openMonth(Dataset& query, int month, int year);

    // The heading of a month: its name as the time sheet lists it, the year and " г.".
    static QString heading(const QString& monthName, int year);

    // Prints month `month` (1 ... 12, called `monthName`) of `year`: reads H_Tabel, lays the pages out
    // and shows them in the preview, from which the user prints them or saves them as PDF; H_Tabel is
    // closed again however it ends.
    void printMonth(int month, int year, const QString& monthName, QWidget* parent = nullptr);
};
