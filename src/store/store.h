#pragma once
#include "store/actor.h"
#include "store/odbc_fetch.h"
#include "store/role.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <optional>

// The store: every write that workstations share goes through its verbs (journal_store.h,
// time_sheet_store.h, books_store.h), which own the statement texts, the transaction, the locks and the
// duplicate checks, refuse what the actor's role may not do, and answer an outcome. Windows call verbs;
// they never build SQL or open a transaction.
//
// A verb takes a Session (which connection, who acts) and opens its own unit of work; a step that only
// makes sense inside someone's transaction (a lock, a day cell) takes the Work it runs in. So a verb never
// calls another verb: the types say which is which, and Work refuses to nest.
namespace store {

using Params = QHash<QString, QVariant>;

// The connection name under which the program's own connection is registered with QtSql.
inline const QString kProgramConnection = QStringLiteral("ADO_DB");

// The connection a statement runs on: the program's own, or a second workstation in a test.
struct Db {
    QString connection;
};

// The program's own connection.
Db programDb();

// A connection and who acts on it.
struct Session {
    Db db;
    Actor actor;
};

// Outcomes of a verb that the window turns into its message; errors are thrown as DbError.
enum class Outcome {
    Saved,      // written and committed
    Duplicate,  // the duplicate check found a row like it: nothing written
    Changed,    // another workstation changed the row since it was read: nothing written
    Gone,       // another workstation deleted the row since it was read: nothing written
};

// Runs a statement that returns no rows; answers the number of rows it changed.
int exec(const Db& db, const QString& sql, const Params& params = {});

// The first column of the first row of a query; nothing when it returns no row.
std::optional<QVariant> firstValue(const Db& db, const QString& sql, const Params& params = {});

// The same, with a null QVariant for no row.
QVariant scalar(const Db& db, const QString& sql, const Params& params = {});

// Every row of a query, as the driver reads it.
FetchedRows fetch(const Db& db, const QString& sql, const Params& params = {});

// A whole number read with scalar(): 0 for no row or a null.
qint64 scalarInt(const Db& db, const QString& sql, const Params& params = {});

// One unit of work: the actor's right to the action is checked before anything is sent (DbError
// NotAllowed), the transaction begins, and the database is told who acts for its length (the settings
// piecework.actor, piecework.role and piecework.workstation, which a trigger reads with current_setting).
// All statements between its start and commit() take effect together or not at all; leaving the scope
// without commit() rolls back. A second unit of work on a connection that has one open is a fault of the
// program (DbError ProgramFault), not a nested transaction.
class Work {
public:
    Work(const Session& session, Action action);
    ~Work();
    void commit();

    const Db& db() const { return session_.db; }
    const Actor& actor() const { return session_.actor; }

    Work(const Work&) = delete;
    Work& operator=(const Work&) = delete;

private:
    Session session_;
    bool done_ = false;
};

// Refuses, with the program's message, an action the role may not take (DbError NotAllowed).
void requireRight(const Actor& actor, Action action);

}  // namespace store
