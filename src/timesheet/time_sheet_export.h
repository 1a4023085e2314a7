#pragma once
#include <QString>
#include <functional>

class Dataset;
class Spreadsheet;

// The month, summed over all shifts, into a new workbook shown to the user unsaved: row 1 the title
// ("<month> <year>"), row 2 the column titles, then one row per record of H_Tabel (the worker, all 31
// days whatever the month's length, and the total). `counted` is told the records written so far and
// the number of records, first with 0 once the workbook is made, then after every record. A cell that
// cannot be written has been reported by the spreadsheet and the export goes on; H_Tabel is closed
// again however it ends.
void exportTimeSheet(Dataset& H_Tabel, int month, int year, const QString& title, Spreadsheet& book,
                     const std::function<void(int written, int records)>& counted);
