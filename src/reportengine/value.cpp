#include "reportengine/value.h"

#include <QDate>
#include <QDateTime>
#include <cmath>

namespace re {

Value Value::number(double n)
{
    Value v;
    v.type_ = Type::Number;
    v.number_ = n;
    return v;
}

Value Value::text(QString s)
{
    Value v;
    v.type_ = Type::Text;
    v.text_ = std::move(s);
    return v;
}

Value Value::boolean(bool b)
{
    Value v;
    v.type_ = Type::Boolean;
    v.boolean_ = b;
    return v;
}

namespace {

// dd.MM.yyyy without parsing a format for every date: a report of many pages prints a date on every line.
QString dayFirst(const QDate& date)
{
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    if (!date.isValid() || year < 1 || year > 9999)
        return date.toString(QStringLiteral("dd.MM.yyyy"));
    const char16_t digits[] = {char16_t(u'0' + day / 10),   char16_t(u'0' + day % 10),         u'.',
                               char16_t(u'0' + month / 10), char16_t(u'0' + month % 10),       u'.',
                               char16_t(u'0' + year / 1000), char16_t(u'0' + year / 100 % 10), char16_t(u'0' + year / 10 % 10),
                               char16_t(u'0' + year % 10)};
    return QString(reinterpret_cast<const QChar*>(digits), 10);
}

} // namespace

Value Value::fromVariant(const QVariant& v)
{
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Bool:
        return boolean(v.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Double:
    case QMetaType::Float:
        return number(v.toDouble());
    case QMetaType::QString:
        return text(v.toString());
    // Dates print day first, as everywhere in the program.
    case QMetaType::QDate:
        return text(dayFirst(v.toDate()));
    case QMetaType::QDateTime:
        return text(v.toDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    default:
        return text(v.toString());
    }
}

double Value::toNumber(bool* ok) const
{
    if (ok)
        *ok = true;
    switch (type_) {
    case Type::Number:
        return number_;
    case Type::Boolean:
        return boolean_ ? 1 : 0;
    case Type::Null:
        return 0;
    case Type::Text: {
        QString s = text_.trimmed();
        s.replace(u',', u'.');
        bool parsed = false;
        const double n = s.toDouble(&parsed);
        if (ok)
            *ok = parsed;
        return parsed ? n : 0;
    }
    }
    return 0;
}

bool Value::toBool() const
{
    switch (type_) {
    case Type::Boolean:
        return boolean_;
    case Type::Number:
        return number_ != 0;
    case Type::Text:
        return !text_.isEmpty();
    case Type::Null:
        return false;
    }
    return false;
}

QString Value::toText(QChar decimalSeparator) const
{
    switch (type_) {
    case Type::Text:
        return text_;
    case Type::Number:
        return numberText(number_, decimalSeparator);
    case Type::Boolean:
        return boolean_ ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Null:
        return {};
    }
    return {};
}

bool Value::operator==(const Value& other) const
{
    if (type_ != other.type_)
        return false;
    switch (type_) {
    case Type::Null:
        return true;
    case Type::Number:
        return number_ == other.number_;
    case Type::Boolean:
        return boolean_ == other.boolean_;
    case Type::Text:
        return text_ == other.text_;
    }
    return false;
}

QString Value::numberText(double n, QChar decimalSeparator)
{
    if (n == 0)
        n = 0; // never print "-0"
    // Whole numbers (counts, codes, hours) are most of what reports print, and their digits are their
    // 15 significant ones: no need for the general conversion.
    if (std::fabs(n) < 1e15 && n == std::trunc(n))
        return QString::number(qint64(n));
    QString s = QString::number(n, 'g', 15);
    if (decimalSeparator != u'.')
        s.replace(u'.', decimalSeparator);
    return s;
}

} // namespace re
