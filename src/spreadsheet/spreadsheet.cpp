#include "spreadsheet/spreadsheet.h"

#include "core/messages.h"
#include "spreadsheet/desktop_opener.h"
#include "spreadsheet/spreadsheet_files.h"
#include "spreadsheet/spreadsheet_xlsx.h"

#include <QDir>
#include <QFile>

namespace {

const QString kCannotOpenApplication = QStringLiteral("Невозможно открыть Microsoft Excel.");
const QString kCannotOpenFile = QStringLiteral("Ошибка открытия файла Microsoft Excel.");
const QString kWrongSheetCaption = QStringLiteral("Ошибочный номер листа Microsoft Excel");
const QString kCellCaption = QStringLiteral("Ошибка Microsoft Excel");

// The limits of an .xlsx worksheet and of the text of one cell.
constexpr int kMaxRow = 1048576;
constexpr int kMaxColumn = 16384;
constexpr int kMaxText = 32767;

// A message with the file or folder it is about on a line of its own.
QString about(const QString& text, const QString& path)
{
    return path.isEmpty() ? text : text + u'\n' + QDir::toNativeSeparators(path);
}

QString writeError(int sheet, int column, int row)
{
    return QStringLiteral("Ошибка при записи: лист %1, столбец %2, строка %3").arg(sheet).arg(column).arg(row);
}

}  // namespace

bool Spreadsheet::openOnDesktop(const QUrl& url)
{
    return desktop_opener::open(url.toLocalFile());
}

Spreadsheet::Spreadsheet(Opener opener, QString folder) : opener_(std::move(opener)), folder_(std::move(folder)) {}

Spreadsheet::~Spreadsheet()
{
    dropUnwrittenFile();
}

int Spreadsheet::OpenWorkbook(const QString& fileName)
{
    dropUnwrittenFile();
    sheets_.clear();
    path_.clear();
    claimed_ = false;
    written_ = changed_ = false;
    if (!fileName.isEmpty()) {
        msg::error(about(kCannotOpenFile, fileName));
        return -1;
    }
    const QString folder = folder_.isEmpty() ? spreadsheet_files::programFolder() : folder_;
    if (!folder.isEmpty()) path_ = spreadsheet_files::claimWorkbookFile(folder);
    if (path_.isEmpty()) {
        msg::error(about(kCannotOpenFile, folder));
        return -1;
    }
    claimed_ = true;
    sheets_.append(SpreadsheetSheet(QStringLiteral("Лист1")));
    return 1;
}

int Spreadsheet::NewWorkbookAt(const QString& path)
{
    dropUnwrittenFile();
    sheets_.clear();
    path_ = path;
    claimed_ = false;
    written_ = changed_ = false;
    sheets_.append(SpreadsheetSheet(QStringLiteral("Лист1")));
    return 1;
}

int Spreadsheet::ShowSpreadsheet(bool visible)
{
    if (path_.isEmpty() || !visible) return 1;
    if (changed_ || !written_) {
        if (!SpreadsheetXlsx::write(sheets_, path_)) {
            msg::error(about(kCannotOpenFile, path_));
            return -1;
        }
        written_ = true;
        changed_ = false;
    }
    if (!opener_(QUrl::fromLocalFile(path_))) {
        msg::error(about(kCannotOpenApplication + QStringLiteral("\nКнига сохранена в файле:"), path_));
        return -1;
    }
    return 1;
}

int Spreadsheet::WriteCell(int sheet, int column, int row, const QString& text)
{
    if (text.isEmpty()) return 1;
    SpreadsheetCell* cell = cellToWrite(sheet, column, row, text);
    if (!cell) return -1;
    cell->put(text);
    changed_ = true;
    return 1;
}

int Spreadsheet::WriteCellStyled(int sheet, int column, int row, const QString& text, bool textFormat, bool autoFit,
                                 bool bold)
{
    if (text.isEmpty()) return 1;
    SpreadsheetCell* cell = cellToWrite(sheet, column, row, text);
    if (!cell) return -1;
    // The format comes first so that the text format keeps a number-like text as typed.
    if (textFormat) cell->textFormat = true;
    cell->put(text);
    if (autoFit) sheets_[sheet - 1].autoFitColumn(column);
    cell->bold = bold;
    changed_ = true;
    return 1;
}

SpreadsheetCell* Spreadsheet::cellToWrite(int sheet, int column, int row, const QString& text)
{
    if (sheet < 1 || sheet > sheets_.size()) {
        msg::error(writeError(sheet, column, row), kWrongSheetCaption);
        return nullptr;
    }
    if (row < 1 || row > kMaxRow || column < 1 || column > kMaxColumn || text.size() > kMaxText) {
        msg::error(writeError(sheet, column, row), kCellCaption);
        return nullptr;
    }
    return &sheets_[sheet - 1].cell(row, column);
}

void Spreadsheet::dropUnwrittenFile()
{
    // A workbook that was never shown leaves no empty file behind.
    if (claimed_ && !path_.isEmpty() && !written_) QFile::remove(path_);
}
