#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class Dataset;
class Spreadsheet;

// The month's pay for payroll: one row per worker of the pay statements' lines, summed exactly as the
// statements sum them (earnings and bonus in whole kopecks), and their totals.
struct PayrollRow {
    int code = 0;
    QString name;
    std::array<qint64, 4> hoursByShift{};  // shifts 1, 2, 3 and overtime
    qint64 daysWorked = 0;
    qint64 goodPieces = 0;
    qint64 earnings = 0;  // kopecks
    qint64 bonus = 0;     // kopecks

    qint64 payable() const { return earnings + bonus; }
};

// The rows of an open dataset of store::reads::payStatementLines(), one per worker in its order.
std::vector<PayrollRow> payrollRows(const Dataset& lines);

// The sums of every column; code 0 and no name.
PayrollRow payrollTotals(const std::vector<PayrollRow>& rows);

// How the workbook and the CSV file title their columns, in order.
QStringList payrollTitles();

// How the workbook and the CSV file call the totals row, in the name column.
inline const QString kPayrollTotalsName = QStringLiteral("Итого");

// The workbook: the titles in bold, one row per worker, the totals row; numbers as numbers. Written to
// the file the book was started for and shown (Spreadsheet::ShowSpreadsheet); 1, or -1 when it failed
// and the user has been told.
int writePayrollWorkbook(const std::vector<PayrollRow>& rows, Spreadsheet& book);

// The same rows for a CSV file (spreadsheet/csv_file.h): titles, workers, totals, amounts with a comma.
QList<QStringList> payrollCsvRows(const std::vector<PayrollRow>& rows);
