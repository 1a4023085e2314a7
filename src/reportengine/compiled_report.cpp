#include "reportengine/compiled_report.h"

#include "reportengine/font_resolver.h"
#include "reportengine/report_error.h"
#include "reportengine/row_source.h"

#include <QHash>
#include <algorithm>

namespace re {

namespace {

// Which running sums restart after a band prints, unless an element says otherwise.
enum class Role { Title, PageHeader, ReportHeader, ReportFooter, GroupHeader, GroupFooter, Detail, PageFooter };

bool sumsRestartIn(Role role)
{
    return role != Role::Title && role != Role::ReportHeader && role != Role::ReportFooter;
}

QString mm(double v)
{
    return QString::number(v, 'f', 1);
}

CompiledElement* findLabelIn(CompiledBand& band, const QString& name)
{
    for (CompiledElement& e : band.elements) {
        if (e.isLabel && e.name == name)
            return &e;
    }
    for (CompiledBand& child : band.children) {
        if (CompiledElement* e = findLabelIn(child, name))
            return e;
    }
    return nullptr;
}

} // namespace

double CompiledBand::chainHeight() const
{
    double h = present ? height : 0;
    for (const CompiledBand& c : children)
        h += c.chainHeight();
    return h;
}

class ReportCompiler {
public:
    ReportCompiler(const ReportDefinition& def, const RowSource& source, CompiledReport& out)
        : def_(def), source_(source), out_(out)
    {
        if (!def.name.isEmpty())
            prefix_ = QStringLiteral("report \"%1\", ").arg(def.name);
    }

    void run()
    {
        page();
        out_.title = band(def_.title, QStringLiteral("title band"));
        out_.pageHeader = band(def_.pageHeader, QStringLiteral("page header band"));
        bool expressionSeen = false;
        for (size_t i = 0; i < def_.groups.size(); ++i)
            group(def_.groups[i], int(i) + 1, expressionSeen);
        if (std::count_if(out_.groups.begin(), out_.groups.end(), [](const CompiledGroup& g) { return g.numbersPages; }) > 1)
            fail(QStringLiteral("groups"), QStringLiteral("only one group can number its own pages"));
        out_.detail = band(def_.detail, QStringLiteral("detail band"));
        out_.pageFooter = band(def_.pageFooter, QStringLiteral("page footer band"));
        bindSums();
    }

private:
    [[noreturn]] void fail(const QString& where, const QString& what) const
    {
        throw ReportError(prefix_ + where + QStringLiteral(": ") + what);
    }

    void page()
    {
        const PageSetup& p = def_.page;
        out_.name = def_.name;
        out_.numbers = def_.numbers;
        out_.previewZoom = def_.previewZoom;
        out_.pageSize = QPageSize(p.size);
        out_.orientation = p.orientation;
        QSizeF size = out_.pageSize.size(QPageSize::Millimeter);
        if (p.orientation == QPageLayout::Landscape)
            size.transpose();
        out_.pageSizeMm = size;
        out_.marginsMm = p.marginsMm;
        out_.printableMm = QSizeF(size.width() - p.marginsMm.left() - p.marginsMm.right(),
                                  size.height() - p.marginsMm.top() - p.marginsMm.bottom());
        if (out_.printableMm.width() <= 0 || out_.printableMm.height() <= 0)
            fail(QStringLiteral("page"), QStringLiteral("the margins leave no printable area"));
    }

    void group(const Group& g, int number, bool& expressionSeen)
    {
        CompiledGroup cg;
        cg.hasExpression = !g.expression.trimmed().isEmpty();
        cg.keepHeaderWithFooter = g.keepHeaderWithFooter;
        cg.startOnNewPage = g.startOnNewPage || g.numbersPages;
        cg.repeatHeader = g.repeatHeader;
        cg.numbersPages = g.numbersPages;
        QString name;
        if (cg.hasExpression) {
            expressionSeen = true;
            name = QStringLiteral("group %1 (%2)").arg(number).arg(g.expression);
            cg.key = expression(g.expression, name + QStringLiteral(" expression"));
            if (cg.key.sumCount() > 0)
                fail(name, QStringLiteral("a group expression cannot hold SUM()"));
            if (cg.key.usesPageCount())
                fail(name, QStringLiteral("a group expression cannot hold PAGECOUNT"));
        } else {
            if (g.startOnNewPage || g.repeatHeader || g.numbersPages)
                fail(QStringLiteral("group %1").arg(number),
                     QStringLiteral("only a group with an expression can begin pages, repeat its header or number its pages"));
            // Its header prints once before everything and its footer once after: it must enclose the others.
            if (expressionSeen)
                fail(QStringLiteral("group %1").arg(number),
                     QStringLiteral("a group without expression must come before the groups with one"));
            name = QStringLiteral("report");
        }
        cg.header = band(g.header, name + QStringLiteral(" header band"));
        cg.footer = band(g.footer, name + QStringLiteral(" footer band"));
        out_.groups.push_back(std::move(cg));
    }

    CompiledBand band(const Band& b, const QString& defaultPlace)
    {
        CompiledBand cb;
        cb.place = b.name.isEmpty() ? defaultPlace : QStringLiteral("band \"%1\"").arg(b.name);
        cb.present = !b.isEmpty();
        cb.height = std::max(0.0, b.height);
        cb.background = b.background;
        cb.frame = b.frame;
        for (const Element& e : b.elements)
            cb.elements.push_back(element(e, b, cb.place));
        for (size_t i = 0; i < b.children.size(); ++i) {
            cb.children.push_back(band(b.children[i], cb.place + QStringLiteral(", child band %1").arg(i + 1)));
        }
        return cb;
    }

    CompiledElement element(const Element& e, const Band& b, const QString& bandPlace)
    {
        const QString where = bandPlace + QStringLiteral(", ")
                              + (e.name.isEmpty() ? QStringLiteral("element at %1 mm").arg(mm(e.x))
                                                  : QStringLiteral("element \"%1\"").arg(e.name));
        CompiledElement ce;
        ce.name = e.name;
        ce.isLabel = e.kind == Element::Kind::Label;
        const double width = e.width > 0 ? e.width : out_.printableMm.width() - e.x;
        const double height = e.height > 0 ? e.height : b.height - e.y;
        if (width <= 0)
            fail(where, QStringLiteral("it starts beyond the printable width of %1 mm").arg(mm(out_.printableMm.width())));
        ce.rect = QRectF(e.x, e.y, width, std::max(0.0, height));
        if (ce.isLabel)
            ce.text = e.text;
        else
            ce.expression = expression(e.text, where);
        ce.usesPageCount = !ce.isLabel && ce.expression.usesPageCount();
        // Printed after its pages, when the running sums have moved on.
        if (ce.usesPageCount && ce.expression.sumCount() > 0)
            fail(where, QStringLiteral("an expression with PAGECOUNT cannot hold SUM()"));
        if (!e.mask.isEmpty()) {
            try {
                ce.mask = NumberFormat::parse(e.mask);
            } catch (const NumberFormat::MaskError& err) {
                fail(where, QStringLiteral("mask \"%1\": %2").arg(e.mask, err.message));
            }
        }
        ce.font = font(e.font);
        Qt::Alignment h = e.alignment & Qt::AlignHorizontal_Mask;
        Qt::Alignment v = e.alignment & Qt::AlignVertical_Mask;
        ce.flags = int(h ? h : Qt::AlignLeft) | int(v ? v : Qt::AlignVCenter) | Qt::TextSingleLine;
        ce.color = e.color.rgba();
        ce.background = e.background;
        ce.frame = e.frame;
        ce.sumReset = e.sumReset;
        return ce;
    }

    Expression expression(const QString& text, const QString& where) const
    {
        auto lookup = [this](const QString& qualifier, const QString& name) {
            if (!qualifier.isEmpty() && qualifier.compare(source_.name(), Qt::CaseInsensitive) != 0) {
                throw ExpressionError{QStringLiteral("\"%1.%2\" names the query \"%1\", but the report reads \"%3\"")
                                          .arg(qualifier, name, source_.name())};
            }
            const int index = source_.fieldIndex(name);
            if (index < 0) {
                throw ExpressionError{QStringLiteral("\"%1\" has no field \"%2\"").arg(source_.name(), name)};
            }
            return index;
        };
        try {
            return Expression::parse(text, lookup);
        } catch (const ExpressionError& err) {
            const QString at = err.position > 0 ? QStringLiteral(" at position %1").arg(err.position) : QString();
            fail(where, QStringLiteral("%1%2 in expression \"%3\"").arg(err.message, at, text));
        }
    }

    int font(const FontStyle& style)
    {
        const QString key = QStringLiteral("%1|%2|%3|%4").arg(style.family).arg(style.pointSize).arg(style.bold).arg(style.italic);
        auto it = fontIndex_.constFind(key);
        if (it != fontIndex_.constEnd())
            return *it;
        out_.fonts.push_back(FontResolver::font(style, def_.page.font));
        const int index = int(out_.fonts.size()) - 1;
        fontIndex_.insert(key, index);
        return index;
    }

    // Gives every SUM() its slot and tells each band which slots restart after it prints.
    void bindSums()
    {
        auto visit = [&](auto& self, CompiledBand& b, Role role) -> void {
            for (CompiledElement& e : b.elements) {
                const bool restarts = e.sumReset == SumReset::AfterPrint
                                      || (e.sumReset == SumReset::ByBand && sumsRestartIn(role));
                const int first = int(out_.sums.size());
                e.expression.bindSums(first);
                for (int i = 0; i < e.expression.sumCount(); ++i) {
                    out_.sums.push_back({&e.expression, i});
                    if (restarts)
                        b.resetSlots.push_back(first + i);
                }
            }
            for (CompiledBand& c : b.children)
                self(self, c, role);
        };
        visit(visit, out_.title, Role::Title);
        visit(visit, out_.pageHeader, Role::PageHeader);
        for (CompiledGroup& g : out_.groups) {
            visit(visit, g.header, g.hasExpression ? Role::GroupHeader : Role::ReportHeader);
            visit(visit, g.footer, g.hasExpression ? Role::GroupFooter : Role::ReportFooter);
        }
        visit(visit, out_.detail, Role::Detail);
        visit(visit, out_.pageFooter, Role::PageFooter);
    }

    const ReportDefinition& def_;
    const RowSource& source_;
    CompiledReport& out_;
    QString prefix_;
    QHash<QString, int> fontIndex_;
};

std::unique_ptr<CompiledReport> CompiledReport::build(const ReportDefinition& definition, const RowSource& source)
{
    std::unique_ptr<CompiledReport> report(new CompiledReport);
    ReportCompiler(definition, source, *report).run();
    return report;
}

CompiledElement* CompiledReport::findLabel(const QString& labelName)
{
    std::vector<CompiledBand*> bands{&title, &pageHeader, &detail, &pageFooter};
    for (CompiledGroup& g : groups) {
        bands.push_back(&g.header);
        bands.push_back(&g.footer);
    }
    for (CompiledBand* b : bands) {
        if (CompiledElement* e = findLabelIn(*b, labelName))
            return e;
    }
    return nullptr;
}

} // namespace re
