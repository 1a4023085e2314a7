#pragma once

#include "reportengine/compiled_report.h"
#include "reportengine/document.h"
#include "reportengine/progress.h"

#include <vector>

namespace re {

class RowSource;

// Lays the rows out into pages of positioned items. Band order per row: footers of the groups that
// end (innermost first, read on the group's last row), headers of the groups that begin (outermost
// first), then the detail band. A band that does not fit below what is on the page starts a new one;
// every page begins with the page header (and the repeated headers of the groups running on) and ends
// with the page footer at its bottom.
//
// The rows may be laid out a slice at a time, so that the first pages can be shown while the rest
// follows; a text that prints PAGECOUNT is filled in once the pages it counts are all laid out.
class Paginator {
public:
    // The pages go into `out`, which is emptied first and must outlive the paginator.
    Paginator(const CompiledReport& report, const RowSource& source, Document& out);

    // Lays out up to `rows` more rows; once the last row is laid out the document is closed. True when done.
    bool layOut(int rows);
    // Lays out the remaining rows, telling `progress` as it goes; false when `progress` stopped it, with
    // the pages laid out so far kept.
    bool run(const Progress& progress = {});

    bool done() const { return finished_; }
    int rowsDone() const { return next_; }
    // The pages whose every text is final, from the first: all pages once done.
    int readyPages() const { return readyPages_; }

private:
    void begin();
    void layOutRow(int row);
    void finish();
    void startPage();
    void finishPage();
    // The pages of a numbering run are all laid out: their PAGECOUNT texts are filled in.
    void endRun();
    // Starts a new page unless `height` fits below the body already on this one.
    void ensureRoom(double height);
    void placeBody(const CompiledBand& band, int row, double keepWith = 0);
    void place(const CompiledBand& band, int row);
    void accumulate(int row);
    QString textOf(const CompiledElement& element, const EvalContext& ctx) const;
    void addFrame(const Frame& frame, const QRectF& rect);
    EvalContext context(int row) const;

    // A text that prints PAGECOUNT, placed and waiting for its run to end.
    struct Deferred {
        int page = 0;
        size_t text = 0;
        const CompiledElement* element = nullptr;
        int row = -1;
        int pageNumber = 0;
    };

    const CompiledReport& report_;
    const RowSource& source_;
    Document& doc_;
    Page* page_ = nullptr;
    double y_ = 0; // from the top of the printable area, mm
    double bodyLimit_ = 0; // where the page footer begins
    bool bodyOnPage_ = false;
    int currentRow_ = -1;
    std::vector<double> sums_;

    bool started_ = false;
    bool finished_ = false;
    int next_ = 0; // the next row to lay out
    std::vector<Value> keys_;
    std::vector<Value> previous_;
    std::vector<int> openRow_; // per group, the first row of the value printing now; -1 for none
    std::vector<bool> valueSeen_; // per group, whether a value has begun yet
    int runFirstPage_ = 0; // the first page (0-based) that PAGENUMBER counts from
    std::vector<Deferred> deferred_;
    int readyPages_ = 0;
};

} // namespace re
