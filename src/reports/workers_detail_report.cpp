#include "reports/workers_detail_report.h"

#include "reports/report_layout.h"
#include "store/reads/reports.h"

using namespace report_layout;

namespace {

re::ReportDefinition reportLayout()
{
    re::ReportDefinition d = frame(QStringLiteral("Детальный отчет по рабочим"), 7.7, 10,
                                   {{124.1, QStringLiteral("Брак")}, {133.3, QStringLiteral("Количество")},
                                    {157.4, QStringLiteral("Сумма")}},
                                   9, 5.8, 106.1,
                                   {grandTotal(132.0, 11.4, QStringLiteral("sum(brk)")),
                                    grandTotal(145.0, 19.3, QStringLiteral("sum(kolvo)")),
                                    grandTotal(165.9, 23.5, QStringLiteral("sum(summa)"), QStringLiteral("#0.00"))});
    d.groups.push_back(group(QStringLiteral("fio"), QStringLiteral("fio"), 5.3, true, true, 6.3,
                             {total(128.3, 9.0, QStringLiteral("sum(brk)")),
                              total(145.5, 19.3, QStringLiteral("sum(kolvo)")),
                              total(169.9, 19.6, QStringLiteral("sum(summa)"), QStringLiteral("#0.00"))}));

    d.detail.height = 4.2;
    d.detail.elements = {
        field(0.3, 41.0, QStringLiteral("marka"), 8),
        field(42.9, 29.1, QStringLiteral("vid"), 8, Qt::AlignHCenter),
        field(73.6, 16.1, QStringLiteral("color"), 8, Qt::AlignHCenter),
        field(91.3, 29.9, kProductKind, 8),
        field(128.1, 9.0, QStringLiteral("brk"), 8, Qt::AlignHCenter),
        field(146.3, 17.5, QStringLiteral("kolvo"), 8, Qt::AlignHCenter),
        field(169.9, 19.6, QStringLiteral("summa"), 8, Qt::AlignHCenter, QStringLiteral("#0.00")),
    };
    return d;
}

}  // namespace

TForm20::TForm20(TDataModule6& data, QWidget* parent)
    : SummaryReport(data, QStringLiteral("Form20"), store::reads::workersDetailReport(), reportLayout(), parent)
{
}
