#pragma once

#include "reportengine/expression.h"

namespace re {

// Recursive descent over the expression grammar:
//   comparison := additive [ ('=' | '<>' | '<' | '>' | '<=' | '>=') additive ]
//   additive   := unary { ('+' | '-') unary }
//   unary      := '-' unary | primary
//   primary    := number | 'text' | '(' comparison ')' | NAME '(' args ')' | PAGENUMBER | [query.]field
class ExpressionParser {
public:
    // Both the parser and the evaluator recurse once per level of a tree: a deeper one is refused rather
    // than left to overflow the stack. Layouts stay far below it.
    static constexpr int maxDepth = 256;

    ExpressionParser(const QString& text, const FieldLookup& lookup, Expression& out);
    void run();

private:
    enum class Tok { End, Number, Text, Name, LParen, RParen, Comma, Plus, Minus,
                     Eq, Ne, Lt, Gt, Le, Ge };
    struct Token {
        Tok kind = Tok::End;
        QString text;
        double number = 0;
        int pos = 0; // 1-based
    };

    void advance();
    int comparison();
    int additive();
    int unary();
    int primary();
    int call(const Token& name);
    int field(const Token& name);
    int add(Expression::Node node);
    void enter();
    void expect(Tok kind, const char* what);
    [[noreturn]] void fail(const QString& message, int pos) const;
    QString describe(const Token& t) const;

    const QString& text_;
    const FieldLookup& lookup_;
    Expression& out_;
    qsizetype at_ = 0;
    Token tok_;
    int sumDepth_ = 0;
    int nesting_ = 0;          // open calls of comparison() and unary()
    std::vector<int> depths_;  // of each node's subtree, parallel to the nodes
};

} // namespace re
