#include "reportengine/expression.h"

#include "reportengine/expression_parser.h"
#include "reportengine/row_source.h"

namespace re {

namespace {

// Numbers compare as numbers; a text against a number compares as a number when the text holds one
// (high-precision numeric columns arrive as texts); everything else compares as text.
int compare(const Value& a, const Value& b, QChar sep)
{
    if (!a.isText() && !b.isText()) {
        const double x = a.toNumber(), y = b.toNumber();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.isText() != b.isText() && !a.isNull() && !b.isNull()) {
        bool okA = false, okB = false;
        const double x = a.toNumber(&okA), y = b.toNumber(&okB);
        if (okA && okB)
            return x < y ? -1 : (x > y ? 1 : 0);
    }
    return a.toText(sep).compare(b.toText(sep));
}

} // namespace

Expression Expression::parse(const QString& text, const FieldLookup& lookup)
{
    Expression e;
    e.text_ = text;
    ExpressionParser(e.text_, lookup, e).run();
    return e;
}

void Expression::bindSums(int firstSlot)
{
    for (size_t i = 0; i < sumNodes_.size(); ++i)
        nodes_[size_t(sumNodes_[i])].index = firstSlot + int(i);
}

bool Expression::usesPageCount() const
{
    for (const Node& n : nodes_) {
        if (n.op == Op::PageCount)
            return true;
    }
    return false;
}

Value Expression::evaluate(const EvalContext& ctx) const
{
    return root_ < 0 ? Value() : eval(root_, ctx);
}

Value Expression::sumArgument(int i, const EvalContext& ctx) const
{
    return eval(nodes_[size_t(sumNodes_.at(size_t(i)))].a, ctx);
}

Value Expression::eval(int id, const EvalContext& ctx) const
{
    const Node& n = nodes_[size_t(id)];
    switch (n.op) {
    case Op::Constant:
        return n.constant;
    case Op::Field:
        if (ctx.row < 0 || !ctx.source)
            return {};
        return Value::fromVariant(ctx.source->value(ctx.row, n.index));
    case Op::PageNumber:
        return Value::number(ctx.page);
    case Op::PageCount:
        return Value::number(ctx.pageCount);
    case Op::Add: {
        const Value a = eval(n.a, ctx), b = eval(n.b, ctx);
        // '+' joins as soon as one side is a text
        if (a.isText() || b.isText())
            return Value::text(a.toText(ctx.decimalSeparator) + b.toText(ctx.decimalSeparator));
        return Value::number(a.toNumber() + b.toNumber());
    }
    case Op::Subtract:
        return Value::number(eval(n.a, ctx).toNumber() - eval(n.b, ctx).toNumber());
    case Op::Negate:
        return Value::number(-eval(n.a, ctx).toNumber());
    case Op::Equal:
        return Value::boolean(compare(eval(n.a, ctx), eval(n.b, ctx), ctx.decimalSeparator) == 0);
    case Op::NotEqual:
        return Value::boolean(compare(eval(n.a, ctx), eval(n.b, ctx), ctx.decimalSeparator) != 0);
    case Op::Less:
        return Value::boolean(compare(eval(n.a, ctx), eval(n.b, ctx), ctx.decimalSeparator) < 0);
    case Op::Greater:
        return Value::boolean(compare(eval(n.a, ctx), eval(n.b, ctx), ctx.decimalSeparator) > 0);
    case Op::LessEqual:
        return Value::boolean(compare(eval(n.a, ctx), eval(n.b, ctx), ctx.decimalSeparator) <= 0);
    case Op::GreaterEqual:
        return Value::boolean(compare(eval(n.a, ctx), eval(n.b, ctx), ctx.decimalSeparator) >= 0);
    case Op::If:
        return eval(n.a, ctx).toBool() ? eval(n.b, ctx) : eval(n.c, ctx);
    case Op::Str:
        return Value::text(eval(n.a, ctx).toText(ctx.decimalSeparator));
    case Op::Sum:
        return Value::number(ctx.sums && n.index >= 0 ? ctx.sums[n.index] : 0);
    }
    return {};
}

} // namespace re
