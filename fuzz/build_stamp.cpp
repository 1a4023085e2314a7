// The build stamp: any date and time texts through parseBuildStamp; and stamps written the way the compiler
// writes __DATE__ and __TIME__ read back as the moment they were written from, in the order of those moments.
// Input: line 1 a date text, line 2 a time text; the first bytes also choose two moments.
#include "fuzz_support.h"
#include "journal/build_stamp.h"

#include <array>
#include <tuple>

namespace {

struct Moment {
    int year, month, day, hour, minute, second;
    bool operator<(const Moment& o) const
    {
        return std::tie(year, month, day, hour, minute, second)
            < std::tie(o.year, o.month, o.day, o.hour, o.minute, o.second);
    }
};

Moment momentFrom(const uint8_t* b)
{
    return {1 + (b[0] << 8 | b[1]) % 9999, 1 + b[2] % 12, 1 + b[3] % 31, b[4] % 24, b[5] % 60, b[6] % 60};
}

// "Mmm dd yyyy" with the day padded by a blank, and "hh:mm:ss".
BuildStamp written(const Moment& m)
{
    static const std::array<const char*, 12> names{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QString date = QStringLiteral("%1 %2 %3").arg(QLatin1String(names[size_t(m.month - 1)])).arg(m.day, 2).arg(m.year, 4, 10, QChar(u'0'));
    const QString time = QStringLiteral("%1:%2:%3").arg(m.hour, 2, 10, QChar(u'0')).arg(m.minute, 2, 10, QChar(u'0')).arg(m.second, 2, 10, QChar(u'0'));
    return parseBuildStamp(date, time);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList l = fuzz::lines(fuzz::text(data, size), 2);
    const BuildStamp any = parseBuildStamp(l.at(0), l.at(1));
    FUZZ_CHECK(any.date >= 100 && any.date <= 99991299 && any.time >= 0 && any.time <= 9 * 36000 + 9 * 3600 + 9 * 600 + 9 * 60 + 99,
               l.at(0) + u'|' + l.at(1));
    FUZZ_CHECK(!builtBefore(any, any), l.at(0) + u'|' + l.at(1));

    if (size < 14) return 0;
    const Moment a = momentFrom(data), b = momentFrom(data + 7);
    const BuildStamp sa = written(a), sb = written(b);
    FUZZ_CHECK(sa.date == a.year * 10000 + a.month * 100 + a.day && sa.time == a.hour * 3600 + a.minute * 60 + a.second,
               QString::number(sa.date) + u' ' + QString::number(sa.time));
    FUZZ_CHECK(builtBefore(sa, sb) == (a < b), QString::number(sa.date) + u' ' + QString::number(sb.date));
    return 0;
}
