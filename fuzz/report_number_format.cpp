// Report masks ("#,##0.00 kg") through re::NumberFormat. Input: line 1 the mask; further lines numbers.
// A plain mask (digit placeholders and one point) must print as the grids' formatFloat prints it: a sum in a
// report and the same sum in a grid read the same.
#include "core/number_format.h"
#include "fuzz_support.h"
#include "reportengine/number_format.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::startOnce();
    const QStringList l = fuzz::lines(fuzz::text(data, size), 1);
    const QString& mask = l.at(0);
    re::NumberFormat format;
    try {
        format = re::NumberFormat::parse(mask);
    } catch (const re::NumberFormat::MaskError&) {
        return 0;
    }
    FUZZ_CHECK(!format.isEmpty(), mask);
    static const QRegularExpression plain(QStringLiteral("^[#0]*(\\.0*#*)?$"));
    const bool isPlain = plain.match(mask).hasMatch();
    const QChar point = QLocale().decimalPoint().at(0);

    for (const double v : fuzz::numbers(l.mid(1, 8))) {
        const QString t = format.format(v, point, u' ');
        if (!std::isfinite(v)) continue;
        const QString magnitude = format.format(std::fabs(v), point, u' ');
        FUZZ_CHECK(v >= 0 || t == magnitude || t == u'-' + magnitude, mask + u'|' + t + u'|' + magnitude);
        if (isPlain) {
            const QString grid = numfmt::formatFloat(mask, v);
            FUZZ_CHECK(t == grid, mask + QStringLiteral(" ") + QString::number(v, 'g', 17) + QStringLiteral(": report ")
                                      + t + QStringLiteral(", grid ") + grid);
        }
    }
    return 0;
}
