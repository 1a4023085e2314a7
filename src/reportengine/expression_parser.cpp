#include "reportengine/expression_parser.h"

#include <algorithm>

namespace re {

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isNamePart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

ExpressionParser::ExpressionParser(const QString& text, const FieldLookup& lookup, Expression& out)
    : text_(text), lookup_(lookup), out_(out)
{
}

void ExpressionParser::run()
{
    advance();
    if (tok_.kind == Tok::End)
        fail(QStringLiteral("empty expression"), 0);
    out_.root_ = comparison();
    if (tok_.kind != Tok::End)
        fail(QStringLiteral("unexpected %1").arg(describe(tok_)), tok_.pos);
}

void ExpressionParser::advance()
{
    while (at_ < text_.size() && text_.at(at_).isSpace())
        ++at_;
    tok_ = Token{};
    tok_.pos = int(at_) + 1;
    if (at_ >= text_.size())
        return;

    const QChar c = text_.at(at_);
    auto single = [&](Tok kind) {
        tok_.kind = kind;
        tok_.text = c;
        ++at_;
    };
    if (c.isDigit()) {
        const qsizetype start = at_;
        while (at_ < text_.size() && text_.at(at_).isDigit())
            ++at_;
        if (at_ + 1 < text_.size() && text_.at(at_) == u'.' && text_.at(at_ + 1).isDigit()) {
            ++at_;
            while (at_ < text_.size() && text_.at(at_).isDigit())
                ++at_;
        }
        tok_.kind = Tok::Number;
        tok_.text = text_.mid(start, at_ - start);
        tok_.number = tok_.text.toDouble();
    } else if (c == u'\'') {
        // 'it''s' holds one quote, as in SQL
        ++at_;
        QString s;
        for (;;) {
            if (at_ >= text_.size())
                fail(QStringLiteral("text without its closing quote"), tok_.pos);
            if (text_.at(at_) == u'\'') {
                if (at_ + 1 < text_.size() && text_.at(at_ + 1) == u'\'') {
                    s += u'\'';
                    at_ += 2;
                    continue;
                }
                ++at_;
                break;
            }
            s += text_.at(at_++);
        }
        tok_.kind = Tok::Text;
        tok_.text = s;
    } else if (isNameStart(c)) {
        const qsizetype start = at_;
        while (at_ < text_.size() && isNamePart(text_.at(at_)))
            ++at_;
        // a field qualified with the query's name: t_Report.fio
        if (at_ + 1 < text_.size() && text_.at(at_) == u'.' && isNameStart(text_.at(at_ + 1))) {
            ++at_;
            while (at_ < text_.size() && isNamePart(text_.at(at_)))
                ++at_;
        }
        tok_.kind = Tok::Name;
        tok_.text = text_.mid(start, at_ - start);
    } else if (c == u'(') {
        single(Tok::LParen);
    } else if (c == u')') {
        single(Tok::RParen);
    } else if (c == u',') {
        single(Tok::Comma);
    } else if (c == u'+') {
        single(Tok::Plus);
    } else if (c == u'-') {
        single(Tok::Minus);
    } else if (c == u'=') {
        single(Tok::Eq);
    } else if (c == u'<' || c == u'>') {
        const QChar next = at_ + 1 < text_.size() ? text_.at(at_ + 1) : QChar();
        if (c == u'<' && next == u'>') {
            tok_.kind = Tok::Ne;
        } else if (next == u'=') {
            tok_.kind = c == u'<' ? Tok::Le : Tok::Ge;
        } else {
            single(c == u'<' ? Tok::Lt : Tok::Gt);
            return;
        }
        tok_.text = text_.mid(at_, 2);
        at_ += 2;
    } else {
        fail(QStringLiteral("unexpected character '%1'").arg(c), tok_.pos);
    }
}

void ExpressionParser::enter()
{
    if (++nesting_ > maxDepth)
        fail(QStringLiteral("expression nested deeper than %1 levels").arg(maxDepth), tok_.pos);
}

int ExpressionParser::comparison()
{
    enter();
    const int left = additive();
    Expression::Op op;
    switch (tok_.kind) {
    case Tok::Eq: op = Expression::Op::Equal; break;
    case Tok::Ne: op = Expression::Op::NotEqual; break;
    case Tok::Lt: op = Expression::Op::Less; break;
    case Tok::Gt: op = Expression::Op::Greater; break;
    case Tok::Le: op = Expression::Op::LessEqual; break;
    case Tok::Ge: op = Expression::Op::GreaterEqual; break;
    default:
        --nesting_;
        return left;
    }
    advance();
    const int right = additive();
    --nesting_;
    return add({op, left, right});
}

int ExpressionParser::additive()
{
    int left = unary();
    while (tok_.kind == Tok::Plus || tok_.kind == Tok::Minus) {
        const auto op = tok_.kind == Tok::Plus ? Expression::Op::Add : Expression::Op::Subtract;
        advance();
        const int right = unary();
        left = add({op, left, right});
    }
    return left;
}

int ExpressionParser::unary()
{
    if (tok_.kind == Tok::Minus) {
        enter();
        advance();
        const int operand = unary();
        --nesting_;
        return add({Expression::Op::Negate, operand});
    }
    return primary();
}

int ExpressionParser::primary()
{
    const Token t = tok_;
    switch (t.kind) {
    case Tok::Number:
        advance();
        return add({Expression::Op::Constant, -1, -1, -1, -1, Value::number(t.number)});
    case Tok::Text:
        advance();
        return add({Expression::Op::Constant, -1, -1, -1, -1, Value::text(t.text)});
    case Tok::LParen: {
        advance();
        const int inner = comparison();
        expect(Tok::RParen, "')'");
        return inner;
    }
    case Tok::Name:
        advance();
        if (tok_.kind == Tok::LParen)
            return call(t);
        if (t.text.compare(QLatin1String("PAGENUMBER"), Qt::CaseInsensitive) == 0)
            return add({Expression::Op::PageNumber});
        if (t.text.compare(QLatin1String("PAGECOUNT"), Qt::CaseInsensitive) == 0)
            return add({Expression::Op::PageCount});
        return field(t);
    default:
        fail(QStringLiteral("unexpected %1").arg(describe(t)), t.pos);
    }
}

int ExpressionParser::call(const Token& name)
{
    const QString fn = name.text.toUpper();
    Expression::Op op;
    int arity;
    if (fn == QLatin1String("IF")) {
        op = Expression::Op::If;
        arity = 3;
    } else if (fn == QLatin1String("STR")) {
        op = Expression::Op::Str;
        arity = 1;
    } else if (fn == QLatin1String("SUM")) {
        op = Expression::Op::Sum;
        arity = 1;
        if (sumDepth_ > 0)
            fail(QStringLiteral("SUM() inside SUM()"), name.pos);
    } else {
        fail(QStringLiteral("unknown function %1()").arg(name.text), name.pos);
    }

    advance(); // '('
    if (op == Expression::Op::Sum)
        ++sumDepth_;
    std::vector<int> args;
    if (tok_.kind != Tok::RParen) {
        for (;;) {
            args.push_back(comparison());
            if (tok_.kind != Tok::Comma)
                break;
            advance();
        }
    }
    if (op == Expression::Op::Sum)
        --sumDepth_;
    expect(Tok::RParen, "')' or ','");
    if (int(args.size()) != arity) {
        fail(QStringLiteral("%1() takes %2 argument(s), not %3").arg(fn).arg(arity).arg(args.size()),
             name.pos);
    }
    Expression::Node node{op};
    node.a = args[0];
    if (arity == 3) {
        node.b = args[1];
        node.c = args[2];
    }
    const int id = add(std::move(node));
    if (op == Expression::Op::Sum)
        out_.sumNodes_.push_back(id);
    return id;
}

int ExpressionParser::field(const Token& name)
{
    const qsizetype dot = name.text.indexOf(u'.');
    const QString qualifier = dot < 0 ? QString() : name.text.left(dot);
    const QString fieldName = dot < 0 ? name.text : name.text.mid(dot + 1);
    Expression::Node node{Expression::Op::Field};
    try {
        node.index = lookup_(qualifier, fieldName);
    } catch (ExpressionError& e) {
        e.position = name.pos;
        throw;
    }
    return add(std::move(node));
}

int ExpressionParser::add(Expression::Node node)
{
    // A long chain such as 1+1+...+1 is read in a loop but evaluated by recursion, one level per operator.
    int depth = 1;
    for (const int operand : {node.a, node.b, node.c}) {
        if (operand >= 0)
            depth = std::max(depth, depths_[size_t(operand)] + 1);
    }
    if (depth > maxDepth)
        fail(QStringLiteral("expression nested deeper than %1 levels").arg(maxDepth), tok_.pos);
    depths_.push_back(depth);
    out_.nodes_.push_back(std::move(node));
    return int(out_.nodes_.size()) - 1;
}

void ExpressionParser::expect(Tok kind, const char* what)
{
    if (tok_.kind != kind)
        fail(QStringLiteral("expected %1, found %2").arg(QLatin1String(what), describe(tok_)), tok_.pos);
    advance();
}

void ExpressionParser::fail(const QString& message, int pos) const
{
    throw ExpressionError{message, pos};
}

QString ExpressionParser::describe(const Token& t) const
{
    switch (t.kind) {
    case Tok::End:
        return QStringLiteral("end of expression");
    case Tok::Text:
        return QStringLiteral("text '%1'").arg(t.text);
    default:
        return QStringLiteral("\"%1\"").arg(t.text);
    }
}

} // namespace re
