// Report expressions: any text through Expression::parse against a query's fields, then evaluated on its
// rows, on pages, with running sums.
#include "fuzz_support.h"
#include "reportengine/expression.h"
#include "reportengine/memory_row_source.h"

#include <vector>

namespace {

const re::MemoryRowSource& source()
{
    static const re::MemoryRowSource rows(
        QStringLiteral("t_Report"), {"fio", "summa", "kol_vo", "data", "cena"},
        {{QString("Иванов И.И."), 1234.5, 3, QDate(2024, 2, 29), QString("2,345")},
         {QVariant(), -0.0, QVariant(), QVariant(), QString("abc")},
         {QString("О'Брайен"), 1e308, -7, QDate(), QString("")}});
    return rows;
}

// As a report binds its fields: an optional qualifier that must name the query, a field by name in any case.
int lookup(const QString& qualifier, const QString& name)
{
    if (!qualifier.isEmpty() && qualifier.compare(source().name(), Qt::CaseInsensitive) != 0)
        throw re::ExpressionError{QStringLiteral("other query")};
    const int index = source().fieldIndex(name);
    if (index < 0) throw re::ExpressionError{QStringLiteral("no field")};
    return index;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::startOnce();
    const QString text = fuzz::text(data, size);
    re::Expression e;
    try {
        e = re::Expression::parse(text, lookup);
    } catch (const re::ExpressionError& err) {
        // The position, when given, points into the text or just past its end.
        FUZZ_CHECK(err.position >= 0 && err.position <= text.size() + 1,
                   text + QStringLiteral(" @") + QString::number(err.position));
        return 0;
    }
    FUZZ_CHECK(!e.isEmpty(), text);
    e.bindSums(1);
    const std::vector<double> sums(size_t(e.sumCount()) + 1, 2.5);
    re::EvalContext ctx;
    ctx.source = &source();
    ctx.sums = sums.data();
    for (int row = -1; row < source().rowCount(); ++row) {
        ctx.row = row;
        ctx.page = row + 2;
        e.evaluate(ctx).toText(ctx.decimalSeparator);
        for (int i = 0; i < e.sumCount(); ++i) e.sumArgument(i, ctx).toNumber();
    }
    return 0;
}
