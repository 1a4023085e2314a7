#pragma once
#include <QDateTime>
#include <QString>

// Where exported workbooks are written before the spreadsheet application opens them.
namespace spreadsheet_files {

// How long the program keeps its own workbooks: the ones older than this go at the next start.
constexpr int kKeptDays = 7;

// The user's own folder for the program's workbooks, "piecework" under the user's cache folder, or
// under the documents folder when the cache folder cannot be made; made when missing. Every export of
// every run writes there, so that the files are found and cleared in one place. Empty when neither
// folder can be made.
QString programFolder();

// Makes the folder if needed and claims a new empty file in it, "Книга1.xlsx", "Книга2.xlsx" and
// so on, the first name not taken. Its path, or empty when no file can be made there.
QString claimWorkbookFile(const QString& folder);

// Removes from the folder the program's own workbooks (the names claimWorkbookFile gives) last written
// before `before`; every other file stays. The number removed.
int removeWorkbooksBefore(const QString& folder, const QDateTime& before);

// At start: the program's workbooks older than kKeptDays go from its folder. Touches nothing when the
// folder does not exist yet.
void removeOldWorkbooks();

}  // namespace spreadsheet_files
