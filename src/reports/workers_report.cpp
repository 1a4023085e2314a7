#include "reports/workers_report.h"

#include "reports/report_layout.h"
#include "store/reads/reports.h"

using namespace report_layout;

namespace {

re::ReportDefinition reportLayout()
{
    re::ReportDefinition d = frame(QStringLiteral("Отчет по рабочим"), 4.2, 10, {}, 10, 5.8, 137.8,
                                   {grandTotal(160.9, 28.0, QStringLiteral("sum(summa)"), QStringLiteral("#0.00"))});
    re::Group worker = group(QStringLiteral("t_Report.fio"), QStringLiteral("fio"), 6.6, true, false, 6.1,
                             {total(163.0, 23.8, QStringLiteral("sum(summa)"), QStringLiteral("#0.00"))});
    worker.footer.frame = re::Frame::below();
    re::Group product = group(QStringLiteral("t_Report.nom"), QStringLiteral("nom"), 5.3, false, true, 5.3,
                              {total(137.8, 19.3, QStringLiteral("sum(kolvo)")),
                               total(163.0, 23.8, QStringLiteral("sum(summa)"), QStringLiteral("#0.000"))});
    d.groups.push_back(std::move(worker));
    d.groups.push_back(std::move(product));

    d.detail.height = 4.2;
    d.detail.elements = {
        field(13.2, 42.1, kProductKind, 9),
        field(56.9, 43.1, QStringLiteral("vid"), 9, Qt::AlignHCenter),
        field(101.6, 34.7, kColourNote, 9),
        field(137.8, 19.3, QStringLiteral("kolvo"), 9, Qt::AlignHCenter),
        field(163.0, 23.5, QStringLiteral("summa"), 9, Qt::AlignHCenter, QStringLiteral("#0.000")),
    };
    return d;
}

}  // namespace

TForm16::TForm16(TDataModule6& data, QWidget* parent)
    : SummaryReport(data, QStringLiteral("Form16"), store::reads::workersReport(), reportLayout(), parent)
{
}
