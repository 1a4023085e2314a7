#pragma once
#include <QString>
#include <optional>

// One cell of a workbook kept in memory: what was put into it and how it is formatted.
struct SpreadsheetCell {
    QString text;
    std::optional<double> number;  // set when the text was taken as a number
    bool textFormat = false;       // the "@" format: the text stays as typed
    bool bold = false;

    // Puts a value as a spreadsheet application takes typed text: a number becomes a numeric cell,
    // unless the cell has the text format.
    void put(const QString& value);
};
