#pragma once
#include "store/field_def.h"

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <optional>

// Values of dataset fields: how a value read from the database is kept, how text becomes a field's value,
// and how a value is shown. One rule for numbers written as text: trimmed, with a point or the
// workstation's decimal separator, nothing else.
namespace fieldvalue {

FieldType typeOf(const QMetaType& t);
bool isIntegral(FieldType t);
bool isNumeric(FieldType t);

// A number written as text by the one rule; nothing when the text is not a number.
std::optional<double> parseNumber(const QString& text);

// A value as a whole number or a floating-point number (an empty value reads 0); a text that is not a
// number is the standard conversion error.
qint64 toInteger(const QVariant& v);
double toDouble(const QVariant& v);

// A value as the field keeps it once read: a decimal declared with fraction digits is rounded to them
// (half away from zero, on its decimal digits), so every workstation computes from the same number.
QVariant asRead(const FieldDef& def, const QVariant& v);

// The program's refusal of a typed text that is no number the field holds, naming the box or grid column it
// was typed in: a whole number within the field's range, or a number such as 1234,5.
[[noreturn]] void refuseTyped(const FieldDef& def, const QString& box);
// A number typed into the box named `box`, by the one rule; otherwise that refusal.
double typedNumber(const QString& text, const QString& box);

// A value given to a field (typed text or a program value) as the field stores it; conversion errors throw.
QVariant forField(const FieldDef& def, const QVariant& v);
// Typed text for a field: empty is null; numbers by the one rule, whole numbers for integer fields.
QVariant fromText(const FieldDef& def, const QString& text);

// A value as text: numbers in plain decimal with the workstation's separator, dates dd.MM.yyyy (a time of day
// only when it is not midnight); with display set, the field's number mask applies.
QString format(const FieldDef& def, const QVariant& v, bool display = false);

// A decimal rounded to `scale` fraction digits, half away from zero, on the digits it is written with.
double roundDecimal(double value, int scale);

}  // namespace fieldvalue
