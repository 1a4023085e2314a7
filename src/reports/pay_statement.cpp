#include "reports/pay_statement.h"

#include "reportengine/report.h"
#include "reports/report_layout.h"

namespace paystatement {

namespace {

using report_layout::kArial;
using report_layout::kHeaderShade;
using report_layout::kSansSerif;
using report_layout::kTotalShade;
// The column titles' strip, shaded as a group's band of the summary reports.
const QColor& kTitleShade = report_layout::kGroupShade;
constexpr double kLineHeight = 4.2;
constexpr double kTitlesHeight = 8.0;
constexpr double kDetailPt = 8;

// A column of the entry lines: where it stands, its title, what it prints and how.
struct Column {
    double x;
    double width;
    QString title;
    QString expression;
    Qt::Alignment alignment = Qt::AlignHCenter;
    QString mask;
};

// A blank date marks the one line of a worker asked for by code who has no entries in the period.
const QString kNoEntry = QStringLiteral("STR(data)=''");

const std::vector<Column>& columns()
{
    static const std::vector<Column> c{
        {0, 17, QStringLiteral("Дата"), QStringLiteral("data")},
        {17, 11, QStringLiteral("Смена"), QStringLiteral("IF(smena=4,'пер.',STR(smena))")},
        {28, 60, QStringLiteral("Изделие"),
         QStringLiteral("IF(%1,'Записей за период нет',marka+' '+nom)").arg(kNoEntry), Qt::AlignLeft},
        {88, 30, QStringLiteral("Операция"), QStringLiteral("vid"), Qt::AlignLeft},
        {118, 16, QStringLiteral("Цвет"), QStringLiteral("IF(color>0,IF(color=1,'грунт','RAL '+STR(color)),'')")},
        {134, 14, QStringLiteral("Кол-во"), QStringLiteral("kol_vo")},
        {148, 12, QStringLiteral("Брак"), QStringLiteral("brak")},
        {160, 14, QStringLiteral("Годных"), QStringLiteral("good")},
        {174, 18, QStringLiteral("Цена"), QStringLiteral("cena"), Qt::AlignRight, QStringLiteral("#0.00##")},
        {192, 18, QStringLiteral("Коэфф."), QStringLiteral("IF(factor>0,IF(day_off=1,'вых. ','')+'×'+STR(factor),'')")},
        {210, 11, QStringLiteral("Часы"), QStringLiteral("hours")},
        {221, 20, QStringLiteral("Сумма"), QStringLiteral("summa"), Qt::AlignRight, QStringLiteral("#0.00")},
        {241, 18, QStringLiteral("Премия"), QStringLiteral("bonus"), Qt::AlignRight, QStringLiteral("#0.00")},
        {259, 18, QStringLiteral("Принята"), QStringLiteral("IF(%1,'',IF(ok='ok','да','нет'))").arg(kNoEntry)},
    };
    return c;
}

const Column& column(const QString& title)
{
    for (const Column& c : columns())
        if (c.title == title) return c;
    return columns().front();
}

// A total under its column, bold and shaded.
re::Element totalUnder(const QString& title, const QString& expression, const QString& mask = QString())
{
    const Column& c = column(title);
    return re::expr(c.x, c.width, expression, c.alignment)
        .withFont({kSansSerif, kDetailPt, true})
        .withMask(mask)
        .withBackground(kTotalShade)
        .at(0, 5);
}

re::Element text(double x, double width, double y, double height, const QString& label, bool bold = false)
{
    return re::label(x, width, label).withFont({kArial, 9, bold}).at(y, height);
}

re::Band header()
{
    re::Band b;
    b.height = 6.5 + 5 + 5 + 1 + kTitlesHeight;
    re::Element heading =
        re::label(0, 0, QStringLiteral("Расчетный листок")).withFont({kArial, 12, true}).withBackground(kHeaderShade).at(0, 6.5);
    b.elements.push_back(heading);
    b.elements.push_back(re::expr(0, 0, QStringLiteral("'Рабочий: '+fio+'   Код: '+STR(code)"))
                             .withFont({kArial, 10, true})
                             .at(6.5, 5));
    b.elements.push_back(re::label(0, 120, QString()).withName(kPeriodLabel).withFont({kArial, 9}).at(11.5, 5));
    b.elements.push_back(re::label(120, 0, QString()).withName(kEntriesLabel).withFont({kArial, 9}).at(11.5, 5));
    // One shaded strip under the titles: thousands of pages paint it, so it is one fill and two lines.
    const double titlesTop = b.height - kTitlesHeight;
    b.elements.push_back(
        re::label(0, 0, QString()).withBackground(kTitleShade).withFrame(re::Frame::topAndBottom()).at(titlesTop, kTitlesHeight));
    for (const Column& c : columns())
        b.elements.push_back(re::label(c.x, c.width, c.title, Qt::AlignHCenter)
                                 .withFont({kArial, kDetailPt, true})
                                 .at(titlesTop, kTitlesHeight));
    return b;
}

re::Band footer()
{
    re::Band b;
    b.height = 5 + 6 + 6 + 12;
    b.elements = {
        re::label(column(QStringLiteral("Операция")).x, 30, QStringLiteral("Итого:"))
            .withFont({kSansSerif, kDetailPt, true})
            .at(0, 5),
        totalUnder(QStringLiteral("Кол-во"), QStringLiteral("sum(kol_vo)")),
        totalUnder(QStringLiteral("Годных"), QStringLiteral("sum(good)")),
        totalUnder(QStringLiteral("Часы"), QStringLiteral("sum(hours)")),
        totalUnder(QStringLiteral("Сумма"), QStringLiteral("sum(summa)"), QStringLiteral("#0.00")),
        totalUnder(QStringLiteral("Премия"), QStringLiteral("sum(bonus)"), QStringLiteral("#0.00")),
        // The days, the earnings with the bonus, and what is paid out.
        text(0, 40, 6, 6, QStringLiteral("Отработано дней:")),
        re::expr(40, 20, QStringLiteral("sum(new_day)")).withFont({kArial, 9, true}).at(6, 6),
        text(88, 40, 6, 6, QStringLiteral("Начислено:")),
        re::expr(128, 30, QStringLiteral("sum(summa)"), Qt::AlignRight).withMask(QStringLiteral("#0.00")).withFont({kArial, 9}).at(6, 6),
        text(174, 40, 6, 6, QStringLiteral("Премия:")),
        re::expr(214, 27, QStringLiteral("sum(bonus)"), Qt::AlignRight).withMask(QStringLiteral("#0.00")).withFont({kArial, 9}).at(6, 6),
        text(174, 40, 12, 6, QStringLiteral("К выплате:"), true),
        re::expr(214, 27, QStringLiteral("sum(summa)+sum(bonus)"), Qt::AlignRight)
            .withMask(QStringLiteral("#0.00"))
            .withFont({kArial, 10, true})
            .at(12, 6),
        // Signatures: a line to sign on, the name under the worker's.
        re::expr(0, 170, QStringLiteral("closed_note")).withFont({kArial, 9, true}).at(12, 6),
        text(0, 40, 20, 6, QStringLiteral("Подпись рабочего:")),
        re::label(40, 50, QString()).withFrame(re::Frame::below()).at(20, 5),
        re::expr(40, 50, QStringLiteral("fio"), Qt::AlignHCenter).withFont({kArial, 7}).at(25, 4),
        text(120, 50, 20, 6, QStringLiteral("Бухгалтерия:")),
        re::label(170, 50, QString()).withFrame(re::Frame::below()).at(20, 5),
    };
    b.frame = re::Frame{.top = true};
    return b;
}

}  // namespace

re::ReportDefinition layout()
{
    re::ReportDefinition d;
    d.name = QStringLiteral("Расчетные листки");
    d.page.orientation = QPageLayout::Landscape;
    d.previewZoom = re::Zoom::PageWidth;

    re::Group worker;
    worker.expression = QStringLiteral("code");
    worker.numbersPages = true;
    worker.repeatHeader = true;
    worker.header = header();
    worker.footer = footer();
    d.groups.push_back(std::move(worker));

    d.detail.height = kLineHeight;
    for (const Column& c : columns())
        d.detail.elements.push_back(
            re::expr(c.x, c.width, c.expression, c.alignment).withFont({kSansSerif, kDetailPt}).withMask(c.mask));

    d.pageFooter.height = 5;
    d.pageFooter.elements = {re::expr(0, 0, QStringLiteral("'Страница '+STR(PAGENUMBER)+' из '+STR(PAGECOUNT)"), Qt::AlignRight)
                                 .withFont({kArial, 9})};
    return d;
}

QString periodText(const ReportPeriod& period)
{
    const QString format = QStringLiteral("dd.MM.yyyy");
    return QStringLiteral("с ") + period.from.toString(format) + QStringLiteral(" по ")
        + period.to.addDays(-1).toString(format);
}

void setHeading(re::Report& report, const ReportPeriod& period, bool acceptedOnly)
{
    report.setLabelText(kPeriodLabel, QStringLiteral("Период: ") + periodText(period));
    report.setLabelText(kEntriesLabel, acceptedOnly ? QStringLiteral("Учтены только принятые записи")
                                                    : QStringLiteral("Учтены все записи, принятые и не принятые"));
    report.setDocumentName(QStringLiteral("Расчетные листки ") + periodText(period));
}

}  // namespace paystatement
