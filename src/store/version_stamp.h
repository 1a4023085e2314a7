#pragma once

// When a build of the program was made: the date as the number YYYYMMDD and the time of day in seconds.
// The database keeps the newest one that has run against it.
namespace store {

struct BuildStamp {
    int date = 0;
    int time = 0;
};

// Whether a was built before b: the date decides, the time only breaks a tie.
inline bool builtBefore(const BuildStamp& a, const BuildStamp& b)
{
    return a.date < b.date || (a.date == b.date && a.time < b.time);
}

}  // namespace store
