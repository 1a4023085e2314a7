#pragma once
#include "store/store.h"

#include <QDate>
#include <functional>

namespace store {

// Writes a month of the time sheet (accounts_dep.h_tabel) anew from the journal, all shifts at once:
// one row per shift and worker with entries in the month, each day the sum of the hours of those
// entries on that day (entries without hours count 0), 0 on days without any.
// All or nothing: one transaction, so a failure leaves the month's rows as they were. It holds the
// month lock exclusively (time_sheet_store.h) before it reads the journal, so a journal write of that
// month on another workstation either commits before the rebuild reads or waits for it and then
// brings its cell in step; two rebuilds of one month run one after the other.
// `progress` is told the days 1 ... N of the month once they are written (before the commit); one
// statement writes them all, so a caller that shows progress shows it as busy until then.
void rebuildMonth(const Session& s, int month, int year, const std::function<void(int day)>& progress = {});

namespace timesheetsql {
// The month's rows of every shift; parameters :mnth and :yea.
QString deleteMonth();
// The month's rows written from the journal in one pass; parameters :mnth and :yea, and :data1 and
// :data2, the month's first day and the next month's first day.
QString insertMonth();
}  // namespace timesheetsql

// The parameters of the two statements for a month.
Params monthParams(int month, int year);

}  // namespace store
