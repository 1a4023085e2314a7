#include "reports/report_layout.h"

namespace report_layout {

namespace {

const QColor kFooterShade(0xDC, 0xDC, 0xDC);
constexpr double kSpacer = 0.5;
constexpr double kPageFooterHeight = 5;
constexpr double kPageNumberX = 176.2;
constexpr double kPrintableWidth = 190;
// In a report header with titles the heading takes the upper line and the titles the lower one:
// a heading with its period is too long to share a line with them.
constexpr double kHeadingLine = 3.9;
constexpr double kTotalLabelWidth = 20;

}  // namespace

re::ReportDefinition frame(const QString& name, double headerHeight, double headingPt,
                           const std::vector<Title>& titles, double titlesPt,
                           double footerHeight, double totalLabelX, std::vector<re::Element> grandTotals)
{
    re::ReportDefinition d;
    d.name = name;
    d.previewZoom = re::Zoom::PageWidth;

    re::Group report;
    report.header.height = headerHeight;
    report.header.background = kHeaderShade;
    re::Element heading = re::label(0, 0, QString()).withName(kHeading).withFont({kArial, headingPt, true});
    heading.background = kHeaderShade;
    if (!titles.empty()) heading.at(0, kHeadingLine);
    report.header.elements.push_back(heading);
    for (size_t i = 0; i < titles.size(); ++i) {
        const double right = i + 1 < titles.size() ? titles[i + 1].x : kPrintableWidth;
        report.header.elements.push_back(re::label(titles[i].x, right - titles[i].x, titles[i].text)
                                             .withFont({kArial, titlesPt, true})
                                             .at(kHeadingLine, headerHeight - kHeadingLine));
    }
    report.header.children.push_back(re::Band{.name = QStringLiteral("spacer"), .height = kSpacer});

    report.footer.height = footerHeight;
    report.footer.background = kFooterShade;
    report.footer.frame = re::Frame::box();
    report.footer.elements.push_back(
        re::label(totalLabelX, kTotalLabelWidth, QStringLiteral("Итого:")).withFont({kSansSerif, 11, true}));
    for (re::Element& e : grandTotals) report.footer.elements.push_back(std::move(e));
    d.groups.push_back(std::move(report));

    d.pageFooter.height = kPageFooterHeight;
    d.pageFooter.elements = {
        re::expr(kPageNumberX, kPrintableWidth - kPageNumberX, QStringLiteral("PAGENUMBER")).withFont({kArial, 9})};
    return d;
}

re::Group group(const QString& expression, const QString& field, double headerHeight, bool outermost,
                bool keepWithFooter, double footerHeight, std::vector<re::Element> totals)
{
    re::Group g;
    g.expression = expression;
    g.keepHeaderWithFooter = keepWithFooter;
    g.header.height = headerHeight;
    if (outermost) g.header.background = kGroupShade;
    g.header.elements = {re::expr(0, 0, field).withFont({kArial, 10, true})};
    g.footer.height = footerHeight;
    g.footer.elements = std::move(totals);
    return g;
}

re::Element field(double x, double width, const QString& expression, double pointSize, Qt::Alignment alignment,
                  const QString& mask)
{
    return re::expr(x, width, expression, alignment).withFont({kSansSerif, pointSize}).withMask(mask);
}

re::Element total(double x, double width, const QString& expression, const QString& mask)
{
    return re::expr(x, width, expression, Qt::AlignHCenter)
        .withFont({kSansSerif, 9, true})
        .withMask(mask)
        .withBackground(kTotalShade);
}

re::Element grandTotal(double x, double width, const QString& expression, const QString& mask)
{
    return re::expr(x, width, expression, Qt::AlignHCenter)
        .withFont({kSansSerif, 11, true})
        .withMask(mask)
        .withBackground(kTotalShade);
}

}  // namespace report_layout
