#pragma once
#include "spreadsheet/spreadsheet_cell.h"

#include <QMap>
#include <QSet>
#include <QString>
#include <map>
#include <utility>

// One worksheet in memory: cells by row and column (both from 1) and the columns to fit to their contents.
class SpreadsheetSheet {
public:
    explicit SpreadsheetSheet(QString name) : name_(std::move(name)) {}

    const QString& name() const { return name_; }

    // The cell at row and column, made empty when it was not there yet.
    SpreadsheetCell& cell(int row, int column) { return cells_[{row, column}]; }
    const std::map<std::pair<int, int>, SpreadsheetCell>& cells() const { return cells_; }

    void autoFitColumn(int column) { autoFit_.insert(column); }

    // Widths, in characters, of the columns to fit, wide enough for the widest text each holds.
    QMap<int, double> fittedWidths() const;

private:
    QString name_;
    std::map<std::pair<int, int>, SpreadsheetCell> cells_;
    QSet<int> autoFit_;
};
