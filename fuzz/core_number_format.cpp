// Grid number masks ("#0.00#") through numfmt::formatFloat, and numfmt::roundHalfAway. Input: line 1 the
// mask; further lines numbers; the last byte picks the decimals for rounding.
#include "core/number_format.h"
#include "fuzz_support.h"

#include <QLocale>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::startOnce();
    const QStringList l = fuzz::lines(fuzz::text(data, size), 1);
    const QString& mask = l.at(0);
    const int decimals = size > 0 ? data[size - 1] % 20 : 2;
    const QChar point = QLocale().decimalPoint().at(0);

    for (const double v : fuzz::numbers(l.mid(1, 8))) {
        const QString t = numfmt::formatFloat(mask, v);
        if (!std::isfinite(v)) {
            FUZZ_CHECK(t == numfmt::general(v) && std::isnan(numfmt::roundHalfAway(v, decimals)) == std::isnan(v), t);
            continue;
        }
        // Only digits, the sign and the decimal separator; a negative number prints as its magnitude with a
        // minus, or as the magnitude alone when it rounds to zero.
        for (const QChar c : t) FUZZ_CHECK(c.isDigit() || c == point || c == u'-', mask + u'|' + t);
        const QString magnitude = numfmt::formatFloat(mask, std::fabs(v));
        FUZZ_CHECK(v >= 0 || t == magnitude || t == u'-' + magnitude, mask + u'|' + t + u'|' + magnitude);

        const double r = numfmt::roundHalfAway(v, decimals);
        const QString at = QString::number(v, 'g', 17) + u'/' + QString::number(decimals) + QStringLiteral(" => ")
            + QString::number(r, 'g', 17);
        FUZZ_CHECK(std::isfinite(r), at);
        FUZZ_CHECK(std::fabs(r - v) <= 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9) + std::fabs(v) * 1e-14, at);
    }
    return 0;
}
