#pragma once
#include "spreadsheet/spreadsheet_sheet.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <functional>

// The spreadsheet operations of the exports: a new workbook is filled cell by cell in memory,
// written as an .xlsx file and opened in the desktop's spreadsheet application. One object per
// export. Sheets, rows and columns count from 1; results are 1 on success and -1 on failure, and
// every failure has already been shown to the user.
class Spreadsheet {
public:
    // Opens a file in another application; false when none could open it.
    using Opener = std::function<bool(const QUrl&)>;

    // The desktop's default application for the file's type; false when the desktop has none.
    static bool openOnDesktop(const QUrl& url);

    // folder: where the workbook files go; empty means the program's own folder (spreadsheet_files.h).
    explicit Spreadsheet(Opener opener = openOnDesktop, QString folder = {});
    ~Spreadsheet();
    Spreadsheet(const Spreadsheet&) = delete;
    Spreadsheet& operator=(const Spreadsheet&) = delete;

    // Starts a new workbook with one sheet, replacing the previous one. Only new workbooks are
    // made: a file name fails.
    int OpenWorkbook(const QString& fileName);

    // Starts a new workbook with one sheet that ShowSpreadsheet writes to `path`, a file the user chose:
    // a file there is replaced then, and left as it was when the workbook is never shown.
    int NewWorkbookAt(const QString& path);

    // true writes the workbook to its file and opens it; false does nothing, as nothing is on
    // screen before that. Without a workbook it does nothing and answers 1.
    int ShowSpreadsheet(bool visible);

    // Puts the text into a cell; a number in the workstation's form becomes a numeric cell.
    // An empty text leaves the cell as it is and answers 1.
    int WriteCell(int sheet, int column, int row, const QString& text);

    // As WriteCell, after giving the cell the text format when asked, then fits the column to its
    // contents when asked, and makes the cell bold or not bold.
    int WriteCellStyled(int sheet, int column, int row, const QString& text, bool textFormat, bool autoFit, bool bold);

private:
    SpreadsheetCell* cellToWrite(int sheet, int column, int row, const QString& text);
    void dropUnwrittenFile();

    Opener opener_;
    QString folder_;
    QList<SpreadsheetSheet> sheets_;
    QString path_;  // the workbook's file, claimed when the workbook is made
    bool claimed_ = false;  // path_ was made empty for the workbook, and goes when nothing is written
    bool written_ = false;
    bool changed_ = false;
};
