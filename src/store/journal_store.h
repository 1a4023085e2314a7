#pragma once
#include "store/row_check.h"
#include "store/store.h"

#include <QDate>
#include <QString>
#include <optional>

// The journal's writes: an entry saved or deleted together with the worker's time-sheet days, and the
// acceptance mark.
namespace store {

// One journal entry as the editor writes it.
struct EntryValues {
    int worker = 0;
    int product = 0;
    int operation = 0;
    int shift = 1;
    QString price;     // with a point
    QString quantity;  // digits, as typed
    QString rejects;
    QString hours;
    int colour = 0;
    QDate date;
    QDate entered;     // the workstation's today
};

// Refuses, before anything is sent, an entry the journal cannot hold: a quantity, rejects or hours that is
// not a whole number from 0 to 2147483647, hours above 24, or a price that is not a finite number. The
// message names the box to correct.
void checkEntry(const EntryValues& v);

// Adds the entry (no `changedId`) or rewrites entry `changedId`, and brings the worker's time-sheet day of
// that shift in step, in one transaction: on any error neither is written. A change that moves the entry
// to another worker, shift or date brings the day it left in step as well. The duplicate check runs
// inside the transaction under the worker's lock, so of two workstations saving the same entry at once
// one saves and the other is told Duplicate.
Outcome saveEntry(const Session& s, const EntryValues& v, std::optional<int> changedId);

// The same for a change of the entry as the journal showed it: when another workstation changed or
// deleted the entry since, nothing is written and the answer is Changed or Gone, with how it stands now.
Answer saveEntry(const Session& s, const EntryValues& v, const RowAsRead& changed);

// Deletes the entry and brings its worker's time-sheet day in step, in one transaction. The day of the
// entry as stored is used, whatever the journal shows.
void deleteEntry(const Session& s, int id);
// The same for the entry as the journal showed it: an entry another workstation changed since is not
// deleted (Changed); one it deleted answers Gone.
Answer deleteEntry(const Session& s, const RowAsRead& entry);

// Marks the entry accepted ("ok") or not ("no"), holding the entry's row meanwhile.
void setAcceptance(const Session& s, int id, bool accepted);
// The same for the entry as the journal showed it: when another workstation changed it since (its mark
// too: a double click must not undo another's acceptance), or deleted it, nothing is written.
Answer setAcceptance(const Session& s, const RowAsRead& entry, bool accepted);

// The columns of an entry a change, a delete or an acceptance compares with the entry as stored: what the
// journal shows of it and the editor writes.
const QStringList& entryColumnsAsRead();

// Puts a deleted entry back, with its id and every field as they were before the deletion that the
// history's row `historyId` records, and brings its worker's time-sheet day in step, in one transaction.
// Duplicate, writing nothing, when the entry is there again or an equal entry was entered since.
Outcome restoreEntry(const Session& s, qint64 historyId);

namespace entrysql {

// Counts the entries that equal this one in worker, operation, product, date, shift and colour; `changedId`
// (the entry being changed) is left out of the count, empty for a new entry.
QString duplicateCount(const EntryValues& v, const QString& changedId);
QString insert(const EntryValues& v);
// Keeps the entry's acceptance mark; rewrites the date of entry and clears the bonus and document links.
QString update(const EntryValues& v, const QString& id);
QString remove(const QString& id);
QString setAcceptance();  // parameters :ok and :id

}  // namespace entrysql

// Digits typed into a number box, checked before they become statement text; anything else, or a value
// beyond a 32-bit integer, is the standard conversion error.
QString wholeNumberText(const QString& text);
int wholeNumber(const QString& text);

}  // namespace store
