#include "timesheet/time_sheet_export.h"

#include "core/dataset.h"
#include "spreadsheet/spreadsheet.h"
#include "timesheet/time_sheet_print.h"

#include <QScopeGuard>

namespace {

constexpr int kSheet = 1;
constexpr int kTotalColumn = 33;

}  // namespace

void exportTimeSheet(Dataset& H_Tabel, int month, int year, const QString& title, Spreadsheet& book,
                     const std::function<void(int written, int records)>& counted)
{
    TForm15::openMonth(H_Tabel, month, year);
    // Also when no workbook can be made: the next export reads the month anew.
    const auto closeQuery = qScopeGuard([&H_Tabel] { H_Tabel.close(); });
    if (book.OpenWorkbook(QString()) == -1) return;
    book.ShowSpreadsheet(false);
    const int records = H_Tabel.recordCount();
    counted(0, records);

    // Titles keep their text as typed; numbers stay numbers.
    book.WriteCellStyled(kSheet, 1, 1, title, true, true, true);
    book.WriteCellStyled(kSheet, 1, 2, QStringLiteral("Фамилия И.О."), true, true, true);
    for (int day = 1; day <= 31; ++day) book.WriteCellStyled(kSheet, day + 1, 2, QString::number(day), false, true, true);
    book.WriteCellStyled(kSheet, kTotalColumn, 2, QStringLiteral("Итого"), true, true, true);

    H_Tabel.first();
    for (int written = 0, row = 3; !H_Tabel.eof(); ++row) {
        book.WriteCellStyled(kSheet, 1, row, H_Tabel.fieldByName(QStringLiteral("fio")).asString(), true, true, false);
        qint64 total = 0;
        for (int day = 1; day <= 31; ++day) {
            const qint64 hours = H_Tabel.fieldByName(QStringLiteral("sd%1").arg(day)).asLargeInt();
            total += hours;
            book.WriteCellStyled(kSheet, day + 1, row, QString::number(hours), false, true, false);
        }
        book.WriteCellStyled(kSheet, kTotalColumn, row, QString::number(total), false, true, false);
        H_Tabel.next();
        counted(++written, records);
    }
    book.ShowSpreadsheet(true);
}
