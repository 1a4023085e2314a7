#include "journal/entry_price.h"

#include <QLocale>
#include <cfenv>
#include <cmath>
#include <cstdio>

namespace entryprice {

long double round4(long double value)
{
    // Ties go to the even neighbour only under the default rounding direction; make sure of it.
    const int before = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const long double r = std::nearbyint(value * 10000.0L) * 0.0001L;
    std::fesetround(before);
    return r;
}

QString written(long double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15Lg", round4(value));
    // The C library follows the process locale, which may put a comma here.
    QString t = QString::fromLatin1(buf).replace(u',', u'.');
    if (t == QLatin1String("-0")) t = QStringLiteral("0");
    return t;
}

QString shown(long double value)
{
    return written(value).replace(u'.', QLocale().decimalPoint());
}

}  // namespace entryprice
