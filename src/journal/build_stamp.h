#pragma once
#include <QString>

// When a build of the program was made: the date as the number YYYYMMDD and the time of day in seconds.
struct BuildStamp {
    int date = 0;
    int time = 0;
};

// Reads the compiler's date text "Mmm dd yyyy" (English month, the day padded with a space) and time text
// "hh:mm:ss". A compiler that knows no date writes question marks; that build counts as made on 1 January 1900.
BuildStamp parseBuildStamp(const QString& dateText, const QString& timeText);

// Whether a was built before b: the date decides, the time only breaks a tie.
bool builtBefore(const BuildStamp& a, const BuildStamp& b);
