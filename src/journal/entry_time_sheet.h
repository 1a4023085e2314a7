#pragma once
#include <QDate>
#include <QString>

// The worker's day cell of the monthly time sheet after an entry was saved: the total of the worker's hours
// in that shift on that day. Runs inside the save's transaction on the program connection: it first takes a
// lock on the worker's row of that shift and month, so that two workstations saving at once are written one
// after the other and the later one sums the earlier one's hours too.
namespace entrysheet {

void rewriteCell(int worker, int shift, const QDate& day);

// The lock of the worker's row of that shift and month, held to the end of the transaction; every
// workstation takes it before reading the day's hours.
QString lockStatement(int worker, int shift, const QDate& day);

}  // namespace entrysheet
