#pragma once
#include "reportengine/definition.h"

// What the four summary reports share: the page, the report header with its heading QRLabel1 and
// column titles, the spacer below it, the framed grand-total footer, the page number, and the looks of
// group bands, detail fields and totals.
namespace report_layout {

// The product kind and the colour note, as the detail bands print them.
inline const QString kProductKind = QStringLiteral("IF(naimen=0,'Готовая продукция','Заготовки')");
inline const QString kColourNote = QStringLiteral("if(color>0,if(color=1,' (грунт)',' (RAL: '+STR(color)+')'),' ')");

// The printed reports' fonts and shades: the report header, a group's band, a total.
inline const QString kArial = QStringLiteral("Arial");
inline const QString kSansSerif = QStringLiteral("MS Sans Serif");
inline const QColor kHeaderShade(0xF4, 0xF4, 0xF4);
inline const QColor kGroupShade(0xE0, 0xE0, 0xE0);
inline const QColor kTotalShade(0xEF, 0xEF, 0xEF);

// The heading label's name; the reports window sets its text.
inline const QString kHeading = QStringLiteral("QRLabel1");

struct Title {
    double x;
    QString text;
};

// A report of this name: A4 portrait, 10 mm margins, Arial 10 pt; a report header `headerHeight` high
// with the heading in bold Arial `headingPt` and the titles in bold Arial `titlesPt` below it; the report
// footer `footerHeight` high with "Итого:" at `totalLabelX` and the grand totals; page numbers below.
// The report's own group comes first in `groups`; the caller adds its groups and detail band.
re::ReportDefinition frame(const QString& name, double headerHeight, double headingPt,
                           const std::vector<Title>& titles, double titlesPt,
                           double footerHeight, double totalLabelX, std::vector<re::Element> grandTotals);

// A group on `expression` whose header holds the field `field` in bold Arial 10 pt; the outermost
// group's header is shaded. With keepWithFooter the header moves to the next page unless its footer
// fits below it as well.
re::Group group(const QString& expression, const QString& field, double headerHeight, bool outermost,
                bool keepWithFooter, double footerHeight, std::vector<re::Element> totals);

// A detail field in MS Sans Serif of `pointSize`.
re::Element field(double x, double width, const QString& expression, double pointSize,
                  Qt::Alignment alignment = Qt::AlignLeft, const QString& mask = QString());

// A running sum in a group footer: bold MS Sans Serif 9 pt, centred, shaded.
re::Element total(double x, double width, const QString& expression, const QString& mask = QString());

// A grand total in the report footer: bold MS Sans Serif 11 pt, centred, shaded.
re::Element grandTotal(double x, double width, const QString& expression, const QString& mask = QString());

}  // namespace report_layout
