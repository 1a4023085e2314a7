#pragma once
#include "spreadsheet/spreadsheet_sheet.h"

#include <QList>
#include <QString>

// Writes sheets kept in memory as an .xlsx workbook.
class SpreadsheetXlsx {
public:
    // False when the file cannot be written; the file is then incomplete or absent.
    static bool write(const QList<SpreadsheetSheet>& sheets, const QString& path);
};
