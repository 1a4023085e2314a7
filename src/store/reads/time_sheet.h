#pragma once
#include "store/reads/read.h"

// Reads of the time sheet.
namespace store::reads {

// H_Tabel_1 ... H_Tabel_3: the time-sheet rows of shift 1, 2 or 3 for the month :mnth of the year :yea,
// each with the worker's name and the month's total summ, by name.
Read timeSheet(int shift);

// H_Tabel of the printed time sheet and the export: per worker's name the hours of each day sd1 ... sd31,
// summed over every shift, overtime included.
Read monthSummary();

}  // namespace store::reads
