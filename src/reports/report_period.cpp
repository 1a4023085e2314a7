#include "reports/report_period.h"

#include "core/dataset.h"

#include <QLocale>

ReportPeriod previousMonth(const QDate& today)
{
    const QDate thisMonth(today.year(), today.month(), 1);
    return {thisMonth.addMonths(-1), thisMonth};
}

void selectRows(Dataset& query, const ReportPeriod& period, ProductKind kind)
{
    query.setParam(QStringLiteral("data1"), period.from);
    query.setParam(QStringLiteral("data2"), period.to);
    switch (kind) {
    case ProductKind::All:
        query.setFiltered(false);
        return;
    case ProductKind::Finished:
        query.setFilter(QStringLiteral("naimen=0"));
        break;
    case ProductKind::Blanks:
        query.setFilter(QStringLiteral("naimen=1"));
        break;
    }
    query.setFiltered(true);
}

QString periodHeading(const QString& prefix, const ReportPeriod& period)
{
    const QLocale workstation;
    return prefix + workstation.toString(period.from, QLocale::ShortFormat) + QStringLiteral(" по ")
        + workstation.toString(period.to, QLocale::ShortFormat);
}

QString productKindName(int naimen)
{
    return naimen == 0 ? QStringLiteral("Готовая продукция") : QStringLiteral("Заготовки");
}
