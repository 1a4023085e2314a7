#include "timesheet/time_sheet_print.h"

#include "core/data_module.h"
#include "core/dataset.h"
#include "reports/dataset_rows.h"
#include "reportengine/report.h"

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

QStringList monthSummarySql()
{
    return {
        QStringLiteral("select person.s_caption fio,sum(d1) as sd1,sum(d2) as sd2,sum(d3) as sd3,sum(d4) as sd4,"),
        QStringLiteral("sum(d5) as sd5,sum(d6) as sd6,sum(d7) as sd7,sum(d8) as sd8,sum(d9) as sd9,"),
        QStringLiteral("sum(d10) as sd10,sum(d11) as sd11,sum(d12) as sd12,sum(d13) as sd13,"),
        QStringLiteral("sum(d14) as sd14,sum(d15) as sd15,sum(d16) as sd16,sum(d17) as sd17,"),
        QStringLiteral("sum(d18) as sd18,sum(d19) as sd19,sum(d20) as sd20,sum(d21) as sd21,"),
        QStringLiteral("sum(d22) as sd22,sum(d23) as sd23,sum(d24) as sd24,sum(d25) as sd25,"),
        QStringLiteral("sum(d26) as sd26,sum(d27) as sd27,sum(d28) as sd28,sum(d29) as sd29,"),
        QStringLiteral("sum(d30) as sd30,sum(d31) as sd31 from accounts_dep.h_tabel, cmn_contractor.person person where"),
        QStringLiteral("h_tabel.w_id=person.s_code::t_integer and month=:mnth and"),
        QStringLiteral("year=:yea group by fio order by fio"),
    };
}

QList<FieldDef> monthSummaryFields()
{
    QList<FieldDef> f{{QStringLiteral("fio"), FieldType::Text, true}};
    for (int d = 1; d <= 31; ++d) f.append({QStringLiteral("sd%1").arg(d), FieldType::LargeInt, true});
    return f;
}

}  // namespace

TForm15::TForm15(TDataModule6& data, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form15"));
    H_Tabel = new Dataset(QStringLiteral("H_Tabel"), this);
    H_Tabel->setConnectionName(data.kConnection);
    H_Tabel->setSql(monthSummarySql());
    H_Tabel->setFields(monthSummaryFields());
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
