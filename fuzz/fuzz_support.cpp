#include "fuzz_support.h"

#include "core/workstation_locale.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace fuzz {

QString text(const uint8_t* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

QStringList lines(const QString& text, int atLeast)
{
    QStringList out = text.split(u'\n');
    while (out.size() < atLeast) out.append(QString());
    return out;
}

std::vector<double> numbers(const QStringList& texts)
{
    std::vector<double> out{0.0, -0.0, 0.5, -0.5, 1.5, 2.345, -2.345, 0.005, 9.995, 99999.9999, 123456789.125,
                            1e15, 1e16, 1e300, 1e306, -1e306, DBL_MAX, -DBL_MAX, DBL_MIN, 5e-324, 1e-5, 0.000051,
                            std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN()};
    for (const QString& t : texts) {
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (ok) out.push_back(d);
    }
    return out;
}

void startOnce()
{
    static const bool started = [] {
        setWorkstationLocale();
        return true;
    }();
    (void)started;
}

void broken(const char* what, const char* file, int line, const QString& detail)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n  %s\n", file, line, what, detail.toUtf8().constData());
    std::abort();
}

}  // namespace fuzz
