#include "core/number_format.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace numfmt {
namespace {

// The decimal digits of |value| rounded to `decimals` places (half away from zero, on 15 significant
// digits so that 2.345 reads as written): integer digits and fraction digits.
void decimalDigits(double value, int decimals, QString* intPart, QString* fracPart)
{
    const QString e = QString::number(std::fabs(value), 'e', 14);  // d.dddddddddddddde±XX
    const int ePos = int(e.indexOf(u'e'));
    QString digits = e.left(ePos);
    digits.remove(u'.');
    int exponent = e.mid(ePos + 1).toInt();
    // digits represent 0.d1d2... * 10^(exponent+1)
    int pointPos = exponent + 1;  // digits before the decimal point
    if (pointPos < 0) {
        digits.prepend(QString(-pointPos, u'0'));
        pointPos = 0;
    }
    if (digits.size() < pointPos + decimals) digits += QString(pointPos + decimals - digits.size(), u'0');
    const int keep = pointPos + decimals;
    bool carry = keep < digits.size() && digits.at(keep).digitValue() >= 5;
    digits.truncate(keep);
    for (int i = keep - 1; carry && i >= 0; --i) {
        const int d = digits.at(i).digitValue() + 1;
        carry = d == 10;
        digits[i] = QChar(u'0' + (d % 10));
    }
    if (carry) {
        digits.prepend(u'1');
        ++pointPos;
    }
    *intPart = digits.left(pointPos);
    *fracPart = digits.mid(pointPos);
    while (intPart->size() > 1 && intPart->startsWith(u'0')) intPart->remove(0, 1);
}

}  // namespace

QString formatFloat(const QString& mask, double value)
{
    // A numeric column may hold NaN; its digits are not digits.
    if (!std::isfinite(value)) return general(value);
    const int dot = int(mask.indexOf(u'.'));
    const QString intMask = dot < 0 ? mask : mask.left(dot);
    const QString fracMask = dot < 0 ? QString() : mask.mid(dot + 1);
    const int minInt = int(intMask.count(u'0'));
    const int minFrac = int(fracMask.count(u'0'));
    const int maxFrac = minFrac + int(fracMask.count(u'#'));

    QString ip, fp;
    decimalDigits(value, maxFrac, &ip, &fp);
    while (fp.size() > minFrac && fp.endsWith(u'0')) fp.chop(1);
    if (ip == QStringLiteral("0") && minInt == 0) ip.clear();
    while (ip.size() < minInt) ip.prepend(u'0');

    // Not a regular expression: this runs for every painted cell of a grid.
    const auto allZero = [](const QString& digits) { return std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c == u'0'; }); };
    const bool zero = allZero(ip) && allZero(fp);
    QString out = ip;
    if (!fp.isEmpty()) out += QLocale().decimalPoint() + fp;
    if (value < 0 && !zero) out.prepend(u'-');
    return out;
}

QString general(double value)
{
    QString t = QLocale().toString(value, 'g', 15);
    return t;
}

double roundHalfAway(double value, int decimals)
{
    if (!std::isfinite(value)) return value;
    QString ip, fp;
    decimalDigits(value, decimals, &ip, &fp);
    const double r = (ip.isEmpty() ? QStringLiteral("0") : ip).append(u'.').append(fp).toDouble();
    // The largest doubles, taken to 15 digits, round past the largest double; they have no fraction to round.
    if (!std::isfinite(r)) return value;
    return value < 0 ? -r : r;
}

}  // namespace numfmt
