#include "reportengine/paginator.h"

#include "reportengine/row_source.h"

namespace re {

namespace {

// Band heights are sums of decimals: forgive rounding noise when deciding whether a band fits.
constexpr double kFitTolerance = 1e-6;

// Rows between two reports of progress: often enough for a smooth bar, rare enough to cost nothing.
constexpr int kRowsPerReport = 64;

} // namespace

Paginator::Paginator(const CompiledReport& report, const RowSource& source, Document& out)
    : report_(report), source_(source), doc_(out), sums_(report.sums.size(), 0.0)
{
    bodyLimit_ = report_.printableMm.height() - report_.pageFooter.chainHeight();
    doc_ = Document();
}

bool Paginator::run(const Progress& progress)
{
    const int rows = source_.rowCount();
    while (!finished_) {
        if (progress && next_ < rows && !progress(next_, rows, int(doc_.pages.size())))
            return false;
        layOut(kRowsPerReport);
    }
    return true;
}

bool Paginator::layOut(int count)
{
    if (finished_)
        return true;
    if (!started_)
        begin();
    const int rows = source_.rowCount();
    const int end = count >= rows - next_ ? rows : next_ + count;
    for (; next_ < end; ++next_)
        layOutRow(next_);
    if (next_ >= rows)
        finish();
    return finished_;
}

void Paginator::begin()
{
    started_ = true;
    doc_.pageSizeMm = report_.pageSizeMm;
    doc_.fonts = report_.fonts;
    const size_t levels = report_.groups.size();
    keys_.assign(levels, Value());
    previous_.assign(levels, Value());
    openRow_.assign(levels, -1);
    valueSeen_.assign(levels, false);
    startPage();

    if (source_.rowCount() == 0) {
        // Without rows only the report's own group prints: it has no key to wait for.
        for (const CompiledGroup& g : report_.groups) {
            if (!g.hasExpression)
                placeBody(g.header, -1, g.keepHeaderWithFooter ? g.footer.chainHeight() : 0);
        }
    }
}

void Paginator::layOutRow(int row)
{
    const auto& groups = report_.groups;
    const int levels = int(groups.size());
    const EvalContext ctx = context(row);
    for (int level = 0; level < levels; ++level) {
        if (groups[size_t(level)].hasExpression)
            keys_[size_t(level)] = groups[size_t(level)].key.evaluate(ctx);
    }
    int firstChanged = 0;
    if (row > 0) {
        firstChanged = levels;
        for (int level = 0; level < levels; ++level) {
            if (!(keys_[size_t(level)] == previous_[size_t(level)])) {
                firstChanged = level;
                break;
            }
        }
        for (int level = levels - 1; level >= firstChanged; --level) {
            placeBody(groups[size_t(level)].footer, row - 1);
            openRow_[size_t(level)] = -1;
        }
    }
    for (int level = firstChanged; level < levels; ++level) {
        const CompiledGroup& g = groups[size_t(level)];
        // The first value follows whatever the report printed before it; every later one takes a new page.
        if (g.startOnNewPage && valueSeen_[size_t(level)] && bodyOnPage_) {
            finishPage();
            if (g.numbersPages)
                endRun();
            startPage();
        }
        if (g.numbersPages)
            runFirstPage_ = int(doc_.pages.size()) - 1;
        placeBody(g.header, row, g.keepHeaderWithFooter ? g.footer.chainHeight() : 0);
        if (g.hasExpression) {
            openRow_[size_t(level)] = row;
            valueSeen_[size_t(level)] = true;
        }
    }
    // Room first, so that a row which moves to the next page counts in that page's sums.
    if (report_.detail.present)
        ensureRoom(report_.detail.chainHeight());
    accumulate(row);
    if (report_.detail.present) {
        place(report_.detail, row);
        bodyOnPage_ = true;
    }
    std::swap(keys_, previous_);
}

void Paginator::finish()
{
    const auto& groups = report_.groups;
    const int levels = int(groups.size());
    const int rows = source_.rowCount();
    for (int level = levels - 1; level >= 0; --level) {
        const CompiledGroup& g = groups[size_t(level)];
        if (rows > 0 || !g.hasExpression)
            placeBody(g.footer, rows - 1);
        openRow_[size_t(level)] = -1;
    }
    finishPage();
    endRun();
    finished_ = true;
}

void Paginator::startPage()
{
    doc_.pages.emplace_back();
    page_ = &doc_.pages.back();
    if (doc_.pages.size() > 1) {
        // pages of one report hold about as many items each: spare the vectors their regrowth
        const Page& before = doc_.pages[doc_.pages.size() - 2];
        page_->texts.reserve(before.texts.size());
        page_->fills.reserve(before.fills.size());
        page_->lines.reserve(before.lines.size());
    }
    y_ = 0;
    bodyOnPage_ = false;
    if (doc_.pages.size() == 1 && report_.title.present) {
        place(report_.title, currentRow_);
        bodyOnPage_ = true;
    }
    if (report_.pageHeader.present)
        place(report_.pageHeader, currentRow_);
    // The values running on carry their headers over; a header alone is no body, so a band too tall
    // for any page still prints below it.
    for (size_t level = 0; level < openRow_.size(); ++level) {
        const CompiledGroup& g = report_.groups[level];
        if (g.repeatHeader && openRow_[level] >= 0)
            place(g.header, openRow_[level]);
    }
}

void Paginator::finishPage()
{
    if (report_.pageFooter.present) {
        y_ = bodyLimit_;
        place(report_.pageFooter, currentRow_);
    }
    page_ = nullptr;
    if (deferred_.empty())
        readyPages_ = int(doc_.pages.size());
}

void Paginator::endRun()
{
    EvalContext ctx = context(-1);
    ctx.pageCount = int(doc_.pages.size()) - runFirstPage_;
    for (const Deferred& d : deferred_) {
        ctx.row = d.row;
        ctx.page = d.pageNumber;
        doc_.pages[size_t(d.page)].texts[d.text].text = textOf(*d.element, ctx);
    }
    deferred_.clear();
    readyPages_ = int(doc_.pages.size()) - (page_ ? 1 : 0);
}

void Paginator::ensureRoom(double height)
{
    // On a page holding nothing but its header a band too tall for any page prints anyway, clipped,
    // rather than pushing pages out forever.
    if (bodyOnPage_ && y_ + height > bodyLimit_ + kFitTolerance) {
        finishPage();
        startPage();
    }
}

void Paginator::placeBody(const CompiledBand& band, int row, double keepWith)
{
    if (!band.present)
        return;
    ensureRoom(band.chainHeight() + keepWith);
    place(band, row);
    bodyOnPage_ = true;
}

EvalContext Paginator::context(int row) const
{
    EvalContext ctx;
    ctx.source = &source_;
    ctx.row = row;
    ctx.page = int(doc_.pages.size()) - runFirstPage_;
    ctx.sums = sums_.data();
    ctx.decimalSeparator = report_.numbers.decimalSeparator;
    return ctx;
}

void Paginator::accumulate(int row)
{
    if (report_.sums.empty())
        return;
    const EvalContext ctx = context(row);
    for (size_t i = 0; i < report_.sums.size(); ++i) {
        const SumSlot& slot = report_.sums[i];
        sums_[i] += slot.expression->sumArgument(slot.index, ctx).toNumber();
    }
}

void Paginator::place(const CompiledBand& band, int row)
{
    if (!band.present)
        return;
    currentRow_ = row;
    const double left = report_.marginsMm.left();
    const double top = report_.marginsMm.top() + y_;
    const QRectF bandRect(left, top, report_.printableMm.width(), band.height);
    if (band.height > 0) {
        if (band.background.isValid())
            page_->fills.push_back({bandRect, band.background.rgba()});
        addFrame(band.frame, bandRect);
    }

    const EvalContext ctx = context(row);
    for (const CompiledElement& e : band.elements) {
        if (e.rect.height() <= 0)
            continue;
        const QRectF rect = e.rect.translated(left, top);
        if (e.background.isValid())
            page_->fills.push_back({rect, e.background.rgba()});
        addFrame(e.frame, rect);
        if (e.usesPageCount) {
            page_->texts.push_back({rect, QString(), e.font, e.flags, e.color});
            deferred_.push_back({int(doc_.pages.size()) - 1, page_->texts.size() - 1, &e, row, ctx.page});
            continue;
        }
        QString text = textOf(e, ctx);
        if (!text.isEmpty())
            page_->texts.push_back({rect, std::move(text), e.font, e.flags, e.color});
    }
    y_ += band.height;

    for (int slot : band.resetSlots)
        sums_[size_t(slot)] = 0;
    for (const CompiledBand& child : band.children)
        place(child, row);
}

QString Paginator::textOf(const CompiledElement& e, const EvalContext& ctx) const
{
    if (e.isLabel)
        return e.text;
    const Value v = e.expression.evaluate(ctx);
    if (!e.mask.isEmpty() && (v.isNumber() || v.isText())) {
        // a text holding a number is masked too: high-precision numeric columns arrive as texts
        bool isNumber = false;
        const double n = v.toNumber(&isNumber);
        if (isNumber)
            return e.mask.format(n, report_.numbers.decimalSeparator, report_.numbers.groupSeparator);
    }
    return v.toText(report_.numbers.decimalSeparator);
}

void Paginator::addFrame(const Frame& f, const QRectF& r)
{
    if (!f.any())
        return;
    const QRgb c = f.color.rgba();
    if (f.top)
        page_->lines.push_back({QLineF(r.topLeft(), r.topRight()), c, f.style, f.widthMm});
    if (f.bottom)
        page_->lines.push_back({QLineF(r.bottomLeft(), r.bottomRight()), c, f.style, f.widthMm});
    if (f.left)
        page_->lines.push_back({QLineF(r.topLeft(), r.bottomLeft()), c, f.style, f.widthMm});
    if (f.right)
        page_->lines.push_back({QLineF(r.topRight(), r.bottomRight()), c, f.style, f.widthMm});
}

} // namespace re
