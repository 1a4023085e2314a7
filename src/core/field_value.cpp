#include "core/field_value.h"

#include "store/db_error.h"
#include "core/number_format.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>

namespace fieldvalue {
namespace {

[[noreturn]] void notAnInteger(const QString& text)
{
    throw DbError(QStringLiteral("'%1' is not a valid integer value").arg(text), DbError::Kind::Conversion);
}

[[noreturn]] void notANumber(const QString& text)
{
    throw DbError(QStringLiteral("'%1' is not a valid floating point value").arg(text), DbError::Kind::Conversion);
}

// Whether a whole number fits the field's type (a 32-bit field refuses what the database would).
bool fits(FieldType t, double n)
{
    switch (t) {
    case FieldType::SmallInt: return n >= -32768.0 && n <= 32767.0;
    case FieldType::Integer: return n >= -2147483648.0 && n <= 2147483647.0;
    default: return n >= -9223372036854775808.0 && n < 9223372036854775808.0;
    }
}

}  // namespace

FieldType typeOf(const QMetaType& t)
{
    switch (t.id()) {
    case QMetaType::Short:
    case QMetaType::UShort: return FieldType::SmallInt;
    case QMetaType::Int:
    case QMetaType::UInt: return FieldType::Integer;
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return FieldType::LargeInt;
    case QMetaType::Double:
    case QMetaType::Float: return FieldType::Double;
    case QMetaType::QDate: return FieldType::Date;
    case QMetaType::QDateTime: return FieldType::DateTime;
    case QMetaType::QString: return FieldType::Text;
    default: return FieldType::Variant;
    }
}

bool isIntegral(FieldType t)
{
    return t == FieldType::SmallInt || t == FieldType::Integer || t == FieldType::LargeInt || t == FieldType::AutoInc;
}

bool isNumeric(FieldType t)
{
    return isIntegral(t) || t == FieldType::Double || t == FieldType::Decimal;
}

std::optional<double> parseNumber(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    // Qt reads "nan" and "inf" as numbers; no field of the program can hold them.
    bool ok = false;
    const double c = t.toDouble(&ok);
    if (ok) return std::isfinite(c) ? std::optional<double>(c) : std::nullopt;
    const double l = QLocale().toDouble(t, &ok);
    if (ok && std::isfinite(l)) return l;
    return std::nullopt;
}

qint64 toInteger(const QVariant& v)
{
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::Double) return qint64(std::llround(v.toDouble()));
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        bool ok = false;
        const qint64 n = t.toLongLong(&ok);
        if (ok) return n;
        if (const std::optional<double> d = parseNumber(t)) return qint64(std::llround(*d));
        notAnInteger(t);
    }
    return v.toLongLong();
}

double toDouble(const QVariant& v)
{
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::QString) {
        if (const std::optional<double> d = parseNumber(v.toString())) return *d;
        notANumber(v.toString());
    }
    return v.toDouble();
}

double roundDecimal(double value, int scale)
{
    if (!std::isfinite(value)) return value;
    // The digits the number is written with (15 significant), rounded as written: 2.04165 is 2.0417.
    const QString digits = QString::number(std::fabs(value), 'g', 15);
    if (digits.contains(u'e')) {
        // Large numbers are written with an exponent too: they have no fraction digits left to round, and
        // scaling them up would overflow.
        if (std::fabs(value) >= 1) return value;
        const double p = std::pow(10.0, scale);
        return std::round(value * p) / p;
    }
    const qsizetype point = digits.indexOf(u'.');
    if (point < 0 || digits.size() - point - 1 <= scale) return value;
    QString kept = digits.left(point + 1 + scale);
    const bool up = digits.at(point + 1 + scale) >= u'5';
    kept.remove(point, 1);
    if (up) {
        int i = int(kept.size()) - 1;
        while (i >= 0 && kept.at(i) == u'9') kept[i--] = u'0';
        if (i < 0)
            kept.prepend(u'1');
        else
            kept[i] = QChar(kept.at(i).unicode() + 1);
    }
    const double magnitude = kept.toDouble() / std::pow(10.0, scale);
    return value < 0 ? -magnitude : magnitude;
}

QVariant asRead(const FieldDef& def, const QVariant& v)
{
    if (def.type != FieldType::Decimal || def.scale <= 0 || v.isNull()) return v;
    if (v.typeId() == QMetaType::Double) return roundDecimal(v.toDouble(), def.scale);
    if (v.typeId() == QMetaType::QString) {
        if (const std::optional<double> d = parseNumber(v.toString())) return roundDecimal(*d, def.scale);
    }
    return v;
}

void refuseTyped(const FieldDef& def, const QString& box)
{
    if (isIntegral(def.type)) {
        const bool small = def.type == FieldType::SmallInt;
        const bool large = def.type == FieldType::LargeInt || def.type == FieldType::AutoInc;
        throw DbError(QStringLiteral("В поле «%1» должно быть целое число от %2 до %3.")
                          .arg(box, small ? QStringLiteral("-32768") : large ? QStringLiteral("-9223372036854775808") : QStringLiteral("-2147483648"),
                               small ? QStringLiteral("32767") : large ? QStringLiteral("9223372036854775807") : QStringLiteral("2147483647")),
                      DbError::Kind::Conversion);
    }
    const QString example = QStringLiteral("1234") + QLocale().decimalPoint() + u'5';
    throw DbError(QStringLiteral("В поле «%1» должно быть число, например %2.").arg(box, example), DbError::Kind::Conversion);
}

double typedNumber(const QString& text, const QString& box)
{
    if (const std::optional<double> d = parseNumber(text)) return *d;
    refuseTyped({box, FieldType::Double}, box);
}

QVariant forField(const FieldDef& def, const QVariant& v)
{
    if (v.isNull()) return {};
    if (isIntegral(def.type) && v.typeId() == QMetaType::QString) {
        bool ok = false;
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        if (!ok || !fits(def.type, double(n))) notAnInteger(v.toString());
        return n;
    }
    if ((def.type == FieldType::Double || def.type == FieldType::Decimal) && v.typeId() == QMetaType::QString) {
        if (const std::optional<double> d = parseNumber(v.toString())) return *d;
        notANumber(v.toString());
    }
    return v;
}

QVariant fromText(const FieldDef& def, const QString& text)
{
    if (text.isEmpty()) return {};
    if (!isNumeric(def.type)) return text;
    const std::optional<double> d = parseNumber(text);
    if (!d) {
        if (isIntegral(def.type)) notAnInteger(text);
        notANumber(text);
    }
    if (isIntegral(def.type)) {
        if (*d != std::trunc(*d) || !fits(def.type, *d)) notAnInteger(text);
        return qint64(*d);
    }
    return *d;
}

QString format(const FieldDef& def, const QVariant& v, bool display)
{
    if (v.isNull()) return {};
    const FieldType t = def.type;
    if (display && !def.displayFormat.isEmpty() && isNumeric(t)) {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (ok) return numfmt::formatFloat(def.displayFormat, d);
    }
    switch (v.typeId()) {
    case QMetaType::Double:
        if (isIntegral(t)) return QString::number(std::llround(v.toDouble()));
        return numfmt::general(v.toDouble());
    case QMetaType::QDate: return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        if (t == FieldType::Date || dt.time() == QTime(0, 0)) return dt.date().toString(QStringLiteral("dd.MM.yyyy"));
        return dt.toString(QStringLiteral("dd.MM.yyyy H:mm:ss"));
    }
    case QMetaType::QString:
        if (t == FieldType::Double || t == FieldType::Decimal) {
            // Decimals read with full precision arrive as text with a point.
            bool ok = false;
            const double d = v.toString().toDouble(&ok);
            if (ok) return numfmt::general(d);
        }
        return v.toString();
    default: return v.toString();
    }
}

}  // namespace fieldvalue
