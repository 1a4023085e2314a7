#pragma once
#include "store/version_stamp.h"

#include <QString>

// The stamp and its order are the store's, which keeps the newest one in the database.
using store::BuildStamp;
using store::builtBefore;

// Reads the compiler's date text "Mmm dd yyyy" (English month, the day padded with a space) and time text
// "hh:mm:ss". A compiler that knows no date writes question marks; that build counts as made on 1 January 1900.
BuildStamp parseBuildStamp(const QString& dateText, const QString& timeText);
