#include "reportengine/paginator.h"

#include "reportengine/row_source.h"

namespace re {

namespace {

// Band heights are sums of decimals: forgive rounding noise when deciding whether a band fits.
constexpr double kFitTolerance = 1e-6;

// Rows between two reports of progress: often enough for a smooth bar, rare enough to cost nothing.
constexpr int kRowsPerReport = 64;

} // namespace

Paginator::Paginator(const CompiledReport& report, const RowSource& source)
    : report_(report), source_(source), sums_(report.sums.size(), 0.0)
{
    bodyLimit_ = report_.printableMm.height() - report_.pageFooter.chainHeight();
}

std::optional<Document> Paginator::run(const Progress& progress)
{
    doc_.pageSizeMm = report_.pageSizeMm;
    doc_.fonts = report_.fonts;
    startPage();

    const auto& groups = report_.groups;
    const int levels = int(groups.size());
    const int rows = source_.rowCount();

    if (rows == 0) {
        // Without rows only the report's own group prints: it has no key to wait for.
        for (const CompiledGroup& g : groups) {
            if (!g.hasExpression)
                placeBody(g.header, -1, g.keepHeaderWithFooter ? g.footer.chainHeight() : 0);
        }
        for (int level = levels - 1; level >= 0; --level) {
            if (!groups[size_t(level)].hasExpression)
                placeBody(groups[size_t(level)].footer, -1);
        }
    }

    std::vector<Value> keys(static_cast<size_t>(levels));
    std::vector<Value> previous(static_cast<size_t>(levels));
    for (int row = 0; row < rows; ++row) {
        if (progress && row % kRowsPerReport == 0 && !progress(row, rows, int(doc_.pages.size())))
            return std::nullopt;
        const EvalContext ctx = context(row);
        for (int level = 0; level < levels; ++level) {
            if (groups[size_t(level)].hasExpression)
                keys[size_t(level)] = groups[size_t(level)].key.evaluate(ctx);
        }
        int firstChanged = 0;
        if (row > 0) {
            firstChanged = levels;
            for (int level = 0; level < levels; ++level) {
                if (!(keys[size_t(level)] == previous[size_t(level)])) {
                    firstChanged = level;
                    break;
                }
            }
            for (int level = levels - 1; level >= firstChanged; --level)
                placeBody(groups[size_t(level)].footer, row - 1);
        }
        for (int level = firstChanged; level < levels; ++level) {
            const CompiledGroup& g = groups[size_t(level)];
            placeBody(g.header, row, g.keepHeaderWithFooter ? g.footer.chainHeight() : 0);
        }
        // Room first, so that a row which moves to the next page counts in that page's sums.
        if (report_.detail.present)
            ensureRoom(report_.detail.chainHeight());
        accumulate(row);
        if (report_.detail.present) {
            place(report_.detail, row);
            bodyOnPage_ = true;
        }
        std::swap(keys, previous);
    }
    if (rows > 0) {
        for (int level = levels - 1; level >= 0; --level)
            placeBody(groups[size_t(level)].footer, rows - 1);
    }

    finishPage();
    return std::move(doc_);
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
}

void Paginator::finishPage()
{
    if (report_.pageFooter.present) {
        y_ = bodyLimit_;
        place(report_.pageFooter, currentRow_);
    }
    page_ = nullptr;
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
    ctx.page = int(doc_.pages.size());
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
