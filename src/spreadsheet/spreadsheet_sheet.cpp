#include "spreadsheet/spreadsheet_sheet.h"

#include <QStringList>
#include <algorithm>

namespace {

// The widest column a spreadsheet application accepts.
constexpr double kMaxWidth = 255;

// A width unit is one digit of the default font; letters average about that, bold ones a tenth more,
// and a cell keeps a little margin on each side.
double widthOf(const SpreadsheetCell& cell)
{
    qsizetype longest = 0;
    for (const QString& line : cell.text.split(u'\n')) longest = std::max(longest, line.size());
    return std::min(kMaxWidth, double(longest) * (cell.bold ? 1.1 : 1.0) + 1.0);
}

}  // namespace

QMap<int, double> SpreadsheetSheet::fittedWidths() const
{
    // Fitting is done once, when the sheet is written: by then every cell that counts is in place.
    QMap<int, double> widths;
    for (const auto& [at, cell] : cells_) {
        const int column = at.second;
        if (!autoFit_.contains(column)) continue;
        widths[column] = std::max(widths.value(column), widthOf(cell));
    }
    return widths;
}
