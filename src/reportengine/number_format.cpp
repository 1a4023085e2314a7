#include "reportengine/number_format.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace re {

NumberFormat NumberFormat::parse(const QString& mask)
{
    NumberFormat f;
    enum { Before, Inside, After } state = Before;
    bool point = false;
    bool anyDigit = false;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        QString literal;
        if (c == u'"' || c == u'\'') {
            const qsizetype end = mask.indexOf(c, i + 1);
            if (end < 0)
                throw MaskError{QStringLiteral("unterminated quoted text")};
            literal = mask.mid(i + 1, end - i - 1);
            i = end;
        } else if (c == u'#' || c == u'0' || c == u'.' || c == u',') {
            if (state == After)
                throw MaskError{QStringLiteral("digit placeholders are split by text")};
            state = Inside;
            if (c == u'.') {
                point = true;
            } else if (c == u',') {
                if (!point)
                    f.grouping_ = true;
            } else {
                anyDigit = true;
                if (!point) {
                    if (c == u'0')
                        ++f.minInteger_;
                } else {
                    ++f.maxDecimals_;
                    if (c == u'0')
                        f.minDecimals_ = f.maxDecimals_;
                }
            }
            continue;
        } else {
            literal = c;
        }
        if (state == Before) {
            f.prefix_ += literal;
        } else {
            state = After;
            f.suffix_ += literal;
        }
    }
    if (!anyDigit)
        throw MaskError{QStringLiteral("no digit placeholder ('0' or '#')")};
    f.valid_ = true;
    return f;
}

namespace {

// Rounds |value| to `decimals` places and returns the digits of |value| * 10^decimals.
QString scaledDigits(double value, int decimals)
{
    // Most numbers a report prints are decimals of no more places than their mask shows (counts, prices,
    // sums in kopecks): the double nearest to k / 10^decimals, with k below 10^15. Such a number's 15
    // significant digits are k's digits, so they need no general conversion.
    static constexpr double kPowers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    if (decimals >= 0 && decimals < int(std::size(kPowers))) {
        const double magnitude = std::fabs(value);
        const double scaled = magnitude * kPowers[decimals];
        if (scaled < 1e15) {
            const qint64 k = std::llround(scaled);
            // Division is rounded correctly: this holds exactly when the number is that nearest double.
            if (double(k) / kPowers[decimals] == magnitude)
                return QString::number(k);
        }
    }
    // Qt's digits, as the grids' masks take them: a value halfway at the 16th digit (1234567890123.125)
    // goes away from zero there too, where the standard library's would go to the even digit.
    const QString e = QString::number(std::fabs(value), 'e', 14); // d.dddddddddddddde+XX
    const qsizetype ePos = e.indexOf(u'e');
    QString digits = e.left(ePos);
    digits.remove(u'.');
    const int exponent = e.mid(ePos + 1).toInt();
    const int wanted = exponent + 1 + decimals; // digits left of the scaled point
    if (wanted < 0)
        return QStringLiteral("0");
    QString out = digits.left(wanted);
    while (out.size() < wanted)
        out += u'0';
    if (wanted < digits.size() && digits.at(wanted) >= u'5') {
        int i = int(out.size()) - 1;
        while (i >= 0 && out.at(i) == u'9') {
            out[i] = u'0';
            --i;
        }
        if (i < 0)
            out.prepend(u'1');
        else
            out[i] = QChar(out.at(i).unicode() + 1);
    }
    if (out.isEmpty())
        out = QStringLiteral("0");
    return out;
}

} // namespace

QString NumberFormat::format(double value, QChar decimalSeparator, QChar groupSeparator) const
{
    if (!std::isfinite(value))
        return QString::number(value);
    QString digits = scaledDigits(value, maxDecimals_);
    while (digits.size() <= maxDecimals_)
        digits.prepend(u'0');
    QString integer = digits.left(digits.size() - maxDecimals_);
    QString fraction = digits.right(maxDecimals_);
    const bool zero = std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c == u'0'; });

    while (fraction.size() > minDecimals_ && fraction.endsWith(u'0'))
        fraction.chop(1);
    qsizetype lead = 0;
    while (lead < integer.size() && integer.at(lead) == u'0')
        ++lead;
    integer.remove(0, lead);
    while (integer.size() < minInteger_)
        integer.prepend(u'0');
    if (grouping_) {
        for (qsizetype i = integer.size() - 3; i > 0; i -= 3)
            integer.insert(i, groupSeparator);
    }

    QString out;
    out.reserve(prefix_.size() + integer.size() + fraction.size() + suffix_.size() + 2);
    if (value < 0 && !zero)
        out += u'-';
    out += prefix_;
    out += integer;
    if (!fraction.isEmpty()) {
        out += decimalSeparator;
        out += fraction;
    }
    out += suffix_;
    return out;
}

} // namespace re
