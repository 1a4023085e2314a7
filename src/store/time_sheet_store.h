#pragma once
#include "store/store.h"

#include <QDate>
#include <functional>
#include <vector>

// The monthly time sheet (accounts_dep.h_tabel) holds per worker, shift and day the hours of the journal.
// Everything that writes it takes the locks below, so that a journal write on one workstation and a
// rebuild or another journal write on another never leave a cell that differs from the journal:
//  - the month lock (one per year and month): shared by every day-cell write, exclusive for a rebuild;
//  - the worker lock (one per worker, shift, year and month): exclusive for every day-cell write.
// Month locks are taken before worker locks, each kind in ascending order, so two writers never wait on
// each other in a circle. All are transaction locks: they end with the transaction.
namespace store {

struct DayCell {
    int worker = 0;
    int shift = 1;
    QDate day;
    bool operator==(const DayCell&) const = default;
};

// Takes the locks of these cells (duplicates allowed) inside the caller's transaction; waits while a
// rebuild of one of their months, or another write of the same worker's month, is running.
void lockDayCells(Work& work, std::vector<DayCell> cells);

// Takes the month lock exclusively: no day cell of that month is written until the transaction ends.
void lockMonthForRebuild(Work& work, int year, int month);

// Brings one cell in step with the journal: the sum of the worker's hours in that shift on that day.
// The worker's row of the month is created when it is missing and the day has entries; when the day has
// none left, the cell becomes 0 and the row goes only when every day of it is 0 and the worker has no
// entry left in that shift and month (the other days stay in the time sheet). Call it with the cell's
// locks held (lockDayCells), after the journal change, inside the same transaction.
void syncDayCell(Work& work, const DayCell& cell);

// For tests: called inside syncDayCell between reading the journal and writing the cell, so that a race
// test can act there from another connection. Empty (the default) calls nothing.
void setDayCellReadHook(std::function<void(const DayCell&)> hook);

// The statement texts, shared with whatever else reads or writes the same rows.
namespace timesheetsql {
QString hours(const DayCell& c);        // column tim: the day's hours; no row when the day has no entry
QString countRows(const DayCell& c);    // column cnt: the worker's rows of that shift and month
QString updateDay(const DayCell& c, int hours);
QString insertRow(const DayCell& c, int hours);
QString deleteEmptyRow(const DayCell& c);
}  // namespace timesheetsql

}  // namespace store
