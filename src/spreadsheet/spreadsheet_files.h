#pragma once
#include <QString>

// Where exported workbooks are written before the spreadsheet application opens them.
namespace spreadsheet_files {

// A private folder under the system's temporary location, made once per program run. It is left
// in place at the end: the spreadsheet application may still have its workbooks open. Empty when
// it cannot be made.
QString programFolder();

// Makes the folder if needed and claims a new empty file in it, "Книга1.xlsx", "Книга2.xlsx" and
// so on, the first name not taken. Its path, or empty when no file can be made there.
QString claimWorkbookFile(const QString& folder);

}  // namespace spreadsheet_files
