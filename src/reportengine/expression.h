#pragma once

#include "reportengine/value.h"

#include <QString>
#include <functional>
#include <vector>

namespace re {

class RowSource;

// What an expression reads while it is evaluated.
struct EvalContext {
    const RowSource* source = nullptr;
    int row = -1; // -1: no current row; fields read as null
    int page = 0; // 1-based page number
    int pageCount = 0; // pages of the document, or of the group that numbers its own; 0 while unknown
    const double* sums = nullptr; // running sums, indexed by the slots bound with bindSums()
    QChar decimalSeparator = u',';
};

// A fault in an expression, at a 1-based position in its text (0 when it concerns the whole text).
struct ExpressionError {
    QString message;
    int position = 0;
};

// Resolves a field name, optionally qualified with the query's name, to the source's field index.
// Throws ExpressionError (position left 0) when there is no such field.
using FieldLookup = std::function<int(const QString& qualifier, const QString& name)>;

// An expression parsed once into a tree: fields, numbers, 'texts', + and -, = <> < > <= >=,
// IF(c, a, b), STR(x), SUM(x) (a running sum kept by the report), PAGENUMBER and PAGECOUNT.
// Function names, PAGENUMBER and PAGECOUNT ignore letter case.
class Expression {
public:
    Expression() = default;

    // Throws ExpressionError.
    static Expression parse(const QString& text, const FieldLookup& lookup);

    const QString& text() const { return text_; }
    bool isEmpty() const { return root_ < 0; }
    // PAGECOUNT is known only once its pages are laid out: the report prints such an expression last.
    bool usesPageCount() const;

    Value evaluate(const EvalContext& ctx) const;

    // Each SUM() in the text owns a slot of the report's running sums; bind them to consecutive slots.
    int sumCount() const { return int(sumNodes_.size()); }
    void bindSums(int firstSlot);
    // The argument of the i-th SUM() on the current row: what the report adds to its slot.
    Value sumArgument(int i, const EvalContext& ctx) const;

private:
    friend class ExpressionParser;

    enum class Op : quint8 {
        Constant, Field, PageNumber, PageCount, Add, Subtract, Negate,
        Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual,
        If, Str, Sum
    };
    struct Node {
        Op op = Op::Constant;
        int a = -1, b = -1, c = -1; // operands
        int index = -1; // field index, or running-sum slot
        Value constant;
    };

    Value eval(int node, const EvalContext& ctx) const;

    std::vector<Node> nodes_;
    std::vector<int> sumNodes_;
    int root_ = -1;
    QString text_;
};

} // namespace re
