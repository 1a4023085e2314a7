#include "journal/build_stamp.h"

#include <array>

namespace {

// A digit's value; the blank before a one-digit day (and anything else that is not a digit) counts as 0.
int digitAt(const QString& text, int pos)
{
    if (pos >= text.size()) return 0;
    const QChar c = text.at(pos);
    return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : 0;
}

int monthOf(const QString& dateText)
{
    static const std::array<const char*, 12> names{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < int(names.size()); ++i)
        if (dateText.startsWith(QLatin1String(names[i]))) return i + 1;
    return 0;
}

}  // namespace

BuildStamp parseBuildStamp(const QString& dateText, const QString& timeText)
{
    int month = monthOf(dateText);
    int day = digitAt(dateText, 4) * 10 + digitAt(dateText, 5);
    int year = 0;
    for (int i = 7; i < 11; ++i) year = year * 10 + digitAt(dateText, i);
    if (month == 0) {
        month = 1;
        day = 1;
        year = 1900;
    }
    const int time = digitAt(timeText, 0) * 36000 + digitAt(timeText, 1) * 3600 + digitAt(timeText, 3) * 600
        + digitAt(timeText, 4) * 60 + digitAt(timeText, 6) * 10 + digitAt(timeText, 7);
    return {year * 10000 + month * 100 + day, time};
}
