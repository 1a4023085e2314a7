#include "timesheet/time_sheet_print.h"

#include "core/data_module.h"
#include "core/dataset.h"
#include "reports/dataset_rows.h"
#include "reportengine/report.h"
#include "store/reads/time_sheet.h"

#include <QScopeGuard>

namespace {

const QColor kGrey(0x80, 0x80, 0x80);

// Day 1's cell starts at 81.2 mm and day 31's at 254.3 mm; the days between are spread evenly.
double dayX(int day)
{
    return 81.2 + (day - 1) * (254.3 - 81.2) / 30;
}
constexpr double kDayWidth = 5.3;
constexpr double kTotalX = 264.6;
constexpr double kTotalWidth = 10.3;

QString allDaysSum()
{
    QStringList days;
    for (int d = 1; d <= 31; ++d) days << QStringLiteral("sd%1").arg(d);
    return days.join(u'+');
}

}  // namespace

TForm15::TForm15(TDataModule6& data, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form15"));
    H_Tabel = new Dataset(store::reads::monthSummary(), this);
    H_Tabel->setConnectionName(data.kConnection);
}

re::ReportDefinition TForm15::definition()
{
    using namespace re;
    const FontStyle title{QStringLiteral("Arial"), 10, true};
    const FontStyle cell{QStringLiteral("Microsoft Sans Serif"), 9};
    const FontStyle total{QStringLiteral("Microsoft Sans Serif"), 9, true};
    const Frame dotted = Frame::leftAndRight(kGrey, Qt::DotLine);

    ReportDefinition d;
    d.name = QStringLiteral("Табель по времени");
    d.page.orientation = QPageLayout::Landscape;
    d.page.marginsMm = {10, 10, 10, 10};
    d.page.font = {QStringLiteral("Arial"), 10};
    d.previewZoom = Zoom::WholePage;

    // The column header opens every page.
    d.pageHeader.name = QStringLiteral("ColumnHeaderBand1");
    d.pageHeader.height = 6.6;
    d.pageHeader.frame = Frame::topAndBottom();
    d.pageHeader.elements.push_back(label(0, 80.4, QString()).withName(QRLabel33).withFont(title));
    for (int day = 1; day <= 31; ++day)
        d.pageHeader.elements.push_back(
            label(dayX(day), kDayWidth, QString::number(day), Qt::AlignHCenter).withFont(title).withFrame(dotted));
    d.pageHeader.elements.push_back(label(kTotalX, kTotalWidth, QStringLiteral("Итого"), Qt::AlignHCenter).withFont(title));

    d.detail.name = QStringLiteral("DetailBand1");
    d.detail.height = 6.3;
    d.detail.frame = Frame::topAndBottom(kGrey, Qt::DotLine);
    d.detail.elements.push_back(expr(0, 80.4, QStringLiteral("fio")));
    // Lines on both sides of every odd day's cell separate all the days.
    for (int day = 1; day <= 31; ++day) {
        Element e = expr(dayX(day), kDayWidth, QStringLiteral("sd%1").arg(day), Qt::AlignHCenter).withFont(cell);
        if (day % 2 == 1) e.withFrame(dotted);
        d.detail.elements.push_back(e);
    }
    d.detail.elements.push_back(expr(kTotalX, kTotalWidth, allDaysSum(), Qt::AlignHCenter).withFont(total));

    d.pageFooter.name = QStringLiteral("PageFooterBand1");
    d.pageFooter.height = 5.3;
    d.pageFooter.elements.push_back(
        expr(252.7, 25.7, QStringLiteral("PAGENUMBER"), Qt::AlignRight).withFont({QStringLiteral("MS Sans Serif"), 10}));
    return d;
}

QString TForm15::heading(const QString& monthName, int year)
{
    return monthName + u' ' + QString::number(year) + QStringLiteral(" г.");
}

void TForm15::openMonth(Dataset& query, int month, int year)
{
    query.close();
    query.setParam(QStringLiteral("mnth"), month);
    query.setParam(QStringLiteral("yea"), year);
    query.open();
}

void TForm15::printMonth(int month, int year, const QString& monthName, QWidget* parent)
{
    openMonth(*H_Tabel, month, year);
    const auto closeQuery = qScopeGuard([this] { H_Tabel->close(); });

    const DatasetRows rows(*H_Tabel);
    re::Report report(definition(), rows);
    report.setLabelText(QRLabel33, heading(monthName, year));
    // The preview's title and the file a save as PDF suggests say which month it is.
    report.setDocumentName(QStringLiteral("Табель %1 %2").arg(monthName).arg(year));
    report.prepare();
    report.preview(parent);
}
