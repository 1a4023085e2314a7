#pragma once

#include "reportengine/definition.h"
#include "reportengine/expression.h"
#include "reportengine/number_format.h"

#include <QFont>
#include <QRectF>
#include <QRgb>
#include <memory>
#include <vector>

namespace re {

class RowSource;

struct CompiledElement {
    QString name;
    bool isLabel = true;
    QString text; // a label's text
    Expression expression;
    NumberFormat mask;
    QRectF rect; // x from the left margin, y from the band's top, mm
    int font = 0;
    int flags = 0;
    QRgb color = 0xff000000;
    QColor background;
    Frame frame;
    SumReset sumReset = SumReset::ByBand;
    bool usesPageCount = false; // printed once its pages are all laid out
};

struct CompiledBand {
    QString place; // how error texts name the band
    bool present = false;
    double height = 0;
    QColor background;
    Frame frame;
    std::vector<CompiledElement> elements;
    std::vector<CompiledBand> children;
    std::vector<int> resetSlots; // running sums that restart after this band prints

    // The band with its children, which always share its page.
    double chainHeight() const;
};

struct CompiledGroup {
    bool hasExpression = false;
    Expression key;
    CompiledBand header;
    CompiledBand footer;
    bool keepHeaderWithFooter = false;
    bool startOnNewPage = false;
    bool repeatHeader = false;
    bool numbersPages = false;
};

// A running sum: the i-th SUM() of an expression.
struct SumSlot {
    const Expression* expression = nullptr;
    int index = 0;
};

// A definition checked against a row source: expressions parsed and their fields resolved, masks
// parsed, fonts resolved, running sums numbered. Holds pointers into itself, so it never moves.
class CompiledReport {
public:
    // Throws ReportError naming the band, the element and the fault.
    static std::unique_ptr<CompiledReport> build(const ReportDefinition& definition, const RowSource& source);

    CompiledReport(const CompiledReport&) = delete;
    CompiledReport& operator=(const CompiledReport&) = delete;

    // nullptr when no label has this name.
    CompiledElement* findLabel(const QString& labelName);

    QString name;
    QPageSize pageSize;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSizeF pageSizeMm;
    QMarginsF marginsMm;
    QSizeF printableMm;
    NumberSettings numbers;
    Zoom previewZoom = Zoom::PageWidth;
    std::vector<QFont> fonts;

    CompiledBand title;
    CompiledBand pageHeader;
    std::vector<CompiledGroup> groups;
    CompiledBand detail;
    CompiledBand pageFooter;
    std::vector<SumSlot> sums;

private:
    CompiledReport() = default;
    friend class ReportCompiler;
};

} // namespace re
