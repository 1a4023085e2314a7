#include "reports/products_detail_report.h"

#include "reports/report_layout.h"
#include "store/reads/reports.h"

using namespace report_layout;

namespace {

re::ReportDefinition reportLayout()
{
    re::ReportDefinition d = frame(QStringLiteral("Детальный отчет по продукции"), 7.7, 9,
                                   {{124.4, QStringLiteral("Брак")}, {134.9, QStringLiteral("Коробки")},
                                    {153.5, QStringLiteral("Кол-во")}, {173.8, QStringLiteral("Сумма")}},
                                   10, 6.6, 99.7,
                                   {grandTotal(124.4, 8.5, QStringLiteral("sum(brk)")),
                                    grandTotal(132.8, 18.8, QStringLiteral("sum(mass)")),
                                    grandTotal(152.1, 16.7, QStringLiteral("sum(kolvo)")),
                                    grandTotal(169.9, 19.1, QStringLiteral("sum(summa)"), QStringLiteral("#0.00"))});
    d.groups.push_back(group(QStringLiteral("nom"), QStringLiteral("nom"), 5.3, true, true, 5.3,
                             {total(124.4, 8.7, QStringLiteral("sum(brk)")),
                              total(132.8, 18.8, QStringLiteral("sum(mass)"), QStringLiteral("#0.00")),
                              total(152.1, 16.7, QStringLiteral("sum(kolvo)")),
                              total(169.9, 20.1, QStringLiteral("sum(summa)"), QStringLiteral("#0.00"))}));

    d.detail.height = 4.2;
    d.detail.elements = {
        field(1.1, 52.1, QStringLiteral("marka"), 9),
        field(52.9, 27.8, QStringLiteral("vid"), 9),
        field(81.2, 16.7, QStringLiteral("color"), 9, Qt::AlignHCenter),
        field(99.5, 27.0, kProductKind, 9),
        field(125.4, 6.6, QStringLiteral("brk"), 9, Qt::AlignHCenter),
        field(133.6, 18.8, QStringLiteral("mass"), 9, Qt::AlignHCenter),
        field(152.1, 16.7, QStringLiteral("kolvo"), 9, Qt::AlignHCenter),
        field(169.9, 19.1, QStringLiteral("summa"), 9, Qt::AlignHCenter, QStringLiteral("#0.000")),
    };
    return d;
}

}  // namespace

TForm21::TForm21(TDataModule6& data, QWidget* parent)
    : SummaryReport(data, QStringLiteral("Form21"), store::reads::productsDetailReport(), reportLayout(), parent)
{
}
