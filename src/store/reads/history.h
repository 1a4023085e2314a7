#pragma once
#include "store/store.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

// Reads of the history of changes (piecework.history): one journal entry's versions, the entries deleted
// from a day's journal, and the changes over a period, newest first, a page at a time.
namespace store::reads {

// What a reference held at the time, resolved against the books as they are now.
enum class Refers { Nothing, Worker, Product, Kind, Operation };

// One field of a version: the column, its caption as the program shows it, and the value before and after
// (null where there is none: before an insert, after a delete). Dates are QDate, moments QDateTime, numbers
// qint64 or double, the rest text. A worker, product, kind or operation also has its name in the books
// where they still have it (empty where they do not).
struct HistoryField {
    QString column;
    QString caption;
    Refers refers = Refers::Nothing;
    QVariant before;
    QVariant after;
    QString beforeName;
    QString afterName;
};

// One row of the history: a version of a row of the journal or a book, or a month's event of the time sheet.
struct HistoryVersion {
    qint64 id = 0;               // the history row
    QDateTime at;                // the server's clock
    QString atKey;               // `at` to the microsecond, as the server writes it: where the next page starts
    QString table;               // smena, person, izdel, vid_oper, oper, norm; h_tabel for a month's event
    std::optional<qint64> row;   // the row's id; none for a month's event or a truncate
    QString op;                  // insert, update, delete, truncate; rebuild, close, reopen
    QString dbUser;
    QString actor;               // empty for a writer that says nothing of who acts (the old program)
    QString role;
    QString workstation;
    QString address;             // the client's address; empty for a local socket
    QString application;
    // The fields that changed; every field of an insert or a delete; the counts of a month's event.
    std::vector<HistoryField> fields;
};

// The latest version of row `rowId` of `table` (smena, person, ...): who wrote it last, and when; none
// where the history keeps none (a writer before the history began).
std::optional<HistoryVersion> latestVersion(const Db& db, const QString& table, qint64 rowId);

// One column of a row read twice: its value then and now.
struct ColumnValues {
    QString column;
    QVariant before;
    QVariant after;
};

// Those columns of a row of `table` as the history shows a change of them: in the table's order, with the
// program's captions, and workers, products, kinds and operations named as the books have them now.
std::vector<HistoryField> describeColumns(const Db& db, const QString& table, const std::vector<ColumnValues>& values);

// Every version of journal entry `entryId`, oldest first.
std::vector<HistoryVersion> entryHistory(const Db& db, qint64 entryId);

// An entry deleted from the journal and not back in it: its last deletion.
struct DeletedEntry {
    qint64 historyId = 0;  // the deletion's history row, for store::restoreEntry
    qint64 entryId = 0;
    QDateTime at;
    QString by;            // the actor, or the database user when the writer said nothing
    QString worker;        // names as the books have them now; the number where they do not
    QString product;
    QString operation;
};

// The entries of journal date `day` and shift `shift` that were deleted and are not in the journal now,
// latest deletion first.
std::vector<DeletedEntry> entriesDeletedFrom(const Db& db, const QDate& day, int shift);

// Which changes a period shows. Texts are matched by their beginning: "ivanova" finds "ivanova@cex-2".
struct ChangeFilter {
    QDate from;               // the first day, included
    QDate to;                 // the last day, included
    QString table;            // one table's name (smena, person, ..., h_tabel); empty: every table
    QString actor;            // empty: anyone
    QString workstation;      // empty: anywhere
};

struct ChangesPage {
    std::vector<HistoryVersion> rows;
    bool more = false;  // older changes follow
};

// The changes of the filter's period, newest first: the first page (no `after`), or the page after the
// last row of the previous one.
ChangesPage changes(const Db& db, const ChangeFilter& filter, int pageSize, const HistoryVersion* after = nullptr);

// The tables the history keeps, in the order a choice lists them.
QStringList historyTables();

}  // namespace store::reads
