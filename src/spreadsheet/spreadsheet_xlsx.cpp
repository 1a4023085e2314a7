#include "spreadsheet/spreadsheet_xlsx.h"

#include <QFile>
#include <array>
#include <cstdint>
#include <xlsxwriter.h>

namespace {

// The spreadsheet's built-in number format "@": the cell shows its text as typed.
constexpr uint8_t kTextFormat = 49;

// The four combinations of text format and bold, made when first needed so that the
// workbook carries only the styles its cells use.
class Formats {
public:
    explicit Formats(lxw_workbook* workbook) : workbook_(workbook) {}

    lxw_format* of(const SpreadsheetCell& cell)
    {
        if (!cell.textFormat && !cell.bold) return nullptr;
        lxw_format*& f = made_[(cell.textFormat ? 2 : 0) + (cell.bold ? 1 : 0)];
        if (!f) {
            f = workbook_add_format(workbook_);
            if (cell.textFormat) format_set_num_format_index(f, kTextFormat);
            if (cell.bold) format_set_bold(f);
        }
        return f;
    }

private:
    lxw_workbook* workbook_;
    std::array<lxw_format*, 4> made_{};
};

bool writeSheet(lxw_worksheet* worksheet, const SpreadsheetSheet& sheet, Formats& formats)
{
    for (const auto& [at, cell] : sheet.cells()) {
        const auto row = lxw_row_t(at.first - 1);
        const auto column = lxw_col_t(at.second - 1);
        const lxw_error e = cell.number
            ? worksheet_write_number(worksheet, row, column, *cell.number, formats.of(cell))
            : worksheet_write_string(worksheet, row, column, cell.text.toUtf8().constData(), formats.of(cell));
        if (e != LXW_NO_ERROR) return false;
    }
    const QMap<int, double> widths = sheet.fittedWidths();
    for (auto it = widths.cbegin(); it != widths.cend(); ++it) {
        const auto column = lxw_col_t(it.key() - 1);
        if (worksheet_set_column(worksheet, column, column, it.value(), nullptr) != LXW_NO_ERROR) return false;
    }
    return true;
}

}  // namespace

bool SpreadsheetXlsx::write(const QList<SpreadsheetSheet>& sheets, const QString& path)
{
    lxw_workbook* workbook = workbook_new(QFile::encodeName(path).constData());
    if (!workbook) return false;
    Formats formats(workbook);
    bool ok = true;
    for (const SpreadsheetSheet& sheet : sheets) {
        lxw_worksheet* worksheet = workbook_add_worksheet(workbook, sheet.name().toUtf8().constData());
        ok = worksheet && writeSheet(worksheet, sheet, formats);
        if (!ok) break;
    }
    // Closing also frees the workbook, so it is done whether or not the sheets went in.
    return workbook_close(workbook) == LXW_NO_ERROR && ok;
}
