#pragma once
#include "store/store.h"

#include <QDate>
#include <QDateTime>
#include <functional>
#include <optional>
#include <vector>

// Closed months. A closed month's journal entries and time-sheet rows cannot change: the database refuses
// every write of them, from any workstation (SQLSTATE PW001, DbError MonthClosed). Closing rebuilds the
// month from the journal and keeps, per worker, what the journal held then; closing and reopening are
// events of the history, as is every rebuild.
namespace store {

struct MonthClosure {
    QDateTime at;          // the server's clock
    QString dbUser;        // the database user that closed it
    QString actor;         // who the program said acts, and where
    QString workstation;
    QString note;
};

// The month's closure; nothing while it is open.
std::optional<MonthClosure> monthClosure(const Db& db, int year, int month);

// One worker's month: hours, good pieces (pieces less rejects) and earnings, the sum of each entry's
// round((kol_vo-brak)*cena, 2), as a decimal text with a point.
struct WorkerTotal {
    int worker = 0;
    qint64 hours = 0;
    qint64 goodPieces = 0;
    QString earnings;

    bool operator==(const WorkerTotal&) const = default;
};

// What the journal holds now, and what it held at the month's last close (empty for a month never closed).
std::vector<WorkerTotal> journalTotals(const Db& db, int year, int month);
std::vector<WorkerTotal> closedTotals(const Db& db, int year, int month);

enum class MonthChange {
    Done,           // closed, or reopened
    AlreadyThere,   // another workstation closed (reopened) it first: nothing written
};

// Under the exclusive month lock, in one transaction: the month's time sheet rebuilt from the journal,
// the totals kept, the month marked closed with the note, the close recorded. A journal write racing it
// either commits before the close reads the journal (and is counted) or waits and is refused after it.
MonthChange closeMonth(const Session& s, int year, int month, const QString& note);

// Opens a closed month for changes again; the reason (required) goes into the history.
MonthChange reopenMonth(const Session& s, int year, int month, const QString& reason);

// What a reopen without a reason is refused with; the window that asks for the reason says the same.
QString reasonRequiredText();

// The program's words for a write into a closed month; the database says the same.
QString closedMonthText(int year, int month);

// The database's refusal as the user reads it: its sentence about the closed month, out of the driver's
// text around it ("ERROR: ...", the query); the text as it is when it holds no such sentence.
QString closedMonthMessage(const QString& driverText);

// Refuses (DbError MonthClosed) when the day's month is closed: windows ask before the user types.
void refuseIfClosed(const Db& db, const QDate& day);

// A step of a month's rebuild, close or reopen (`op`): the one history event of it, inside the caller's
// transaction. `detailSql` is an expression of type jsonb over the parameters in `detail`.
void recordMonthEvent(Work& work, const QString& op, int year, int month, const QString& detailSql, const Params& detail);

// Tests: runs inside closeMonth once the month is rebuilt and counted, before it is marked closed.
void setMonthCloseHook(std::function<void()> hook);

}  // namespace store
