#pragma once

#include "reportengine/compiled_report.h"
#include "reportengine/document.h"
#include "reportengine/progress.h"

#include <optional>

namespace re {

class RowSource;

// Lays the rows out into pages of positioned items. Band order per row: footers of the groups that
// end (innermost first, read on the group's last row), headers of the groups that begin (outermost
// first), then the detail band. A band that does not fit below what is on the page starts a new one;
// every page begins with the page header and ends with the page footer at its bottom.
class Paginator {
public:
    Paginator(const CompiledReport& report, const RowSource& source);
    // Nothing when `progress` answered false.
    std::optional<Document> run(const Progress& progress = {});

private:
    void startPage();
    void finishPage();
    // Starts a new page unless `height` fits below the body already on this one.
    void ensureRoom(double height);
    void placeBody(const CompiledBand& band, int row, double keepWith = 0);
    void place(const CompiledBand& band, int row);
    void accumulate(int row);
    QString textOf(const CompiledElement& element, const EvalContext& ctx) const;
    void addFrame(const Frame& frame, const QRectF& rect);
    EvalContext context(int row) const;

    const CompiledReport& report_;
    const RowSource& source_;
    Document doc_;
    Page* page_ = nullptr;
    double y_ = 0; // from the top of the printable area, mm
    double bodyLimit_ = 0; // where the page footer begins
    bool bodyOnPage_ = false;
    int currentRow_ = -1;
    std::vector<double> sums_;
};

} // namespace re
