#pragma once
#include <QString>

// Hands a written workbook to the desktop's spreadsheet application.
namespace desktop_opener {

// The type of the workbooks the program writes.
inline const QString kWorkbookType = QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");

// Opens the file in the application the desktop has for its type. false, with nothing started, when
// the desktop has no such application or no way to ask for one: the caller then tells the user where
// the file is.
bool open(const QString& path, const QString& type = kWorkbookType);

}  // namespace desktop_opener
