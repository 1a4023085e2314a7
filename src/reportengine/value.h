#pragma once

#include <QString>
#include <QVariant>

namespace re {

// The result of an expression: null, a number, a text or a truth value.
// Nulls read as 0 in arithmetic and as an empty text when printed, as report fields always have.
class Value {
public:
    enum class Type : quint8 { Null, Number, Text, Boolean };

    Value() = default;
    static Value number(double n);
    static Value text(QString s);
    static Value boolean(bool b);
    static Value fromVariant(const QVariant& v);

    Type type() const { return type_; }
    bool isNull() const { return type_ == Type::Null; }
    bool isNumber() const { return type_ == Type::Number; }
    bool isText() const { return type_ == Type::Text; }

    // A text that holds a number (either decimal separator) reads as that number, any other as 0:
    // high-precision numeric columns arrive as texts.
    double toNumber(bool* ok = nullptr) const;
    bool toBool() const;
    QString toText(QChar decimalSeparator) const;

    // Same type and same value; this is how group keys are compared.
    bool operator==(const Value& other) const;

    // A number in its default printed form: up to 15 significant digits, no trailing zeros.
    static QString numberText(double n, QChar decimalSeparator);

private:
    Type type_ = Type::Null;
    bool boolean_ = false;
    double number_ = 0;
    QString text_;
};

} // namespace re
