#include "spreadsheet/spreadsheet_cell.h"

#include "core/number_format.h"

#include <QLocale>
#include <cmath>

void SpreadsheetCell::put(const QString& value)
{
    text = value;
    number.reset();
    if (textFormat) return;
    bool ok = false;
    const double v = QLocale().toDouble(value, &ok);
    // Only a number written in its own shortest form is taken as one: a mark such as "007",
    // "1E5" or "12.5" would otherwise come out changed, and a sum in "inf" would spoil the file.
    if (ok && std::isfinite(v) && numfmt::general(v) == value) number = v;
}
