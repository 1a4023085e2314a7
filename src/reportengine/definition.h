#pragma once

#include <QColor>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <vector>

// A report written as plain data: page, bands, elements at millimetre positions.
// Building a Report from it checks every expression, mask and name against the row source.

namespace re {

enum class Zoom { PageWidth, WholePage };

// When a SUM() restarts. ByBand: after its band prints, except in the title and in the
// header and footer of a group without expression, where it never restarts (grand totals).
enum class SumReset { ByBand, AfterPrint, Never };

struct FontStyle {
    QString family;       // empty: the report's default family
    double pointSize = 0; // 0: the report's default size
    bool bold = false;
    bool italic = false;
};

// Lines along the edges of a band or an element.
struct Frame {
    bool top = false;
    bool bottom = false;
    bool left = false;
    bool right = false;
    QColor color = Qt::black;
    Qt::PenStyle style = Qt::SolidLine;
    double widthMm = 0.2;

    bool any() const { return top || bottom || left || right; }
    static Frame box(QColor color = Qt::black, Qt::PenStyle style = Qt::SolidLine);
    static Frame topAndBottom(QColor color = Qt::black, Qt::PenStyle style = Qt::SolidLine);
    static Frame leftAndRight(QColor color = Qt::black, Qt::PenStyle style = Qt::SolidLine);
    static Frame below(QColor color = Qt::black, Qt::PenStyle style = Qt::SolidLine);
};

struct Element {
    enum class Kind { Label, Expression };

    Kind kind = Kind::Label;
    QString name;             // a label whose text the caller sets before preparing is found by it
    QString text;             // the label's text, or the expression
    double x = 0;             // from the left margin, mm
    double width = 0;         // 0: to the right edge of the printable area
    double y = 0;             // from the band's top, mm
    double height = 0;        // 0: to the band's bottom
    FontStyle font;
    Qt::Alignment alignment = Qt::AlignLeft; // centred vertically unless a vertical flag is given
    QString mask;             // number mask, e.g. "#0.00"; empty: default text form
    QColor background;        // invalid: none
    QColor color = Qt::black;
    Frame frame;
    SumReset sumReset = SumReset::ByBand;

    Element& withName(const QString& n) { name = n; return *this; }
    Element& withFont(const FontStyle& f) { font = f; return *this; }
    Element& withMask(const QString& m) { mask = m; return *this; }
    Element& withBackground(const QColor& c) { background = c; return *this; }
    Element& withColor(const QColor& c) { color = c; return *this; }
    Element& withFrame(const Frame& f) { frame = f; return *this; }
    Element& withSumReset(SumReset r) { sumReset = r; return *this; }
    Element& at(double top, double h) { y = top; height = h; return *this; }
};

Element label(double x, double width, const QString& text, Qt::Alignment alignment = Qt::AlignLeft);
Element expr(double x, double width, const QString& expression, Qt::Alignment alignment = Qt::AlignLeft);

struct Band {
    QString name;             // used in error texts; the band's role names it otherwise
    double height = 0;        // mm; a band of height 0 without children prints nothing
    QColor background;        // across the printable width
    Frame frame;
    std::vector<Element> elements;
    std::vector<Band> children; // printed right after this band, on the same page

    bool isEmpty() const { return height <= 0 && children.empty(); }
};

struct Group {
    QString expression;       // empty: the report's own group, header once at the start, footer once at the end
    Band header;
    Band footer;
    // The header moves to the next page unless its footer would fit below it as well.
    bool keepHeaderWithFooter = false;
    // Each value of the expression begins on a page of its own.
    bool startOnNewPage = false;
    // The header prints again at the top of every further page a value runs onto.
    bool repeatHeader = false;
    // PAGENUMBER and PAGECOUNT count the pages of each value rather than of the whole document; the
    // values begin on pages of their own then.
    bool numbersPages = false;
};

struct PageSetup {
    QPageSize::PageSizeId size = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF marginsMm{10, 10, 10, 10};
    FontStyle font{QStringLiteral("Arial"), 10};
};

struct NumberSettings {
    // The program prints as on a Russian workstation, whatever the machine's locale.
    QChar decimalSeparator = u',';
    QChar groupSeparator = QChar(0x00A0);
};

struct ReportDefinition {
    QString name;
    PageSetup page;
    NumberSettings numbers;
    Zoom previewZoom = Zoom::PageWidth;

    Band title;                // once, at the top of the first page
    Band pageHeader;           // at the top of every page, below the title on the first
    std::vector<Group> groups; // outermost first; groups without expression come before the others
    Band detail;               // once per row
    Band pageFooter;           // at the bottom of every page

    // Sets the text of the label with this name; throws ReportError when there is none.
    void setLabelText(const QString& labelName, const QString& text);
};

} // namespace re
