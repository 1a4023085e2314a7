#include "reports/products_report.h"

#include "reports/report_layout.h"
#include "store/reads/reports.h"

using namespace report_layout;

namespace {

re::ReportDefinition reportLayout()
{
    re::ReportDefinition d = frame(QStringLiteral("Отчет по продукции"), 7.7, 10,
                                   {{136.3, QStringLiteral("Коробки")}, {165.1, QStringLiteral("Количество")}}, 10,
                                   5.8, 106.4,
                                   {grandTotal(131.2, 23.5, QStringLiteral("sum(mass)"), QStringLiteral("#0")),
                                    grandTotal(160.9, 28.0, QStringLiteral("sum(kolvo)"))});
    d.groups.push_back(group(QStringLiteral("nom"), QStringLiteral("nom"), 5.3, true, true, 5.3,
                             {total(133.6, 19.3, QStringLiteral("sum(mass)")),
                              total(163.0, 23.8, QStringLiteral("sum(kolvo)"))}));

    d.detail.height = 4.2;
    d.detail.elements = {
        field(13.2, 40.0, kProductKind, 9),
        field(54.8, 36.2, QStringLiteral("vid"), 9, Qt::AlignHCenter),
        field(92.6, 39.4, kColourNote, 9),
        field(133.6, 19.3, QStringLiteral("mass"), 9, Qt::AlignHCenter),
        field(163.0, 23.5, QStringLiteral("kolvo"), 9, Qt::AlignHCenter),
    };
    return d;
}

}  // namespace

TForm17::TForm17(TDataModule6& data, QWidget* parent)
    : SummaryReport(data, QStringLiteral("Form17"), store::reads::productsReport(), reportLayout(), parent)
{
}
