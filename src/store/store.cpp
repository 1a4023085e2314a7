#include "store/store.h"

#include "store/connection.h"
#include "store/db_error.h"
#include "store/net_watch.h"
#include "store/odbc_fetch.h"
#include "store/sql_text.h"

#include <QMutex>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>

namespace store {
namespace {

QSqlDatabase database(const Db& db)
{
    return QSqlDatabase::database(db.connection, false);
}

// A transaction that could not begin or end: a lost connection says so (and is marked for connecting
// again) when asked once more; anything else keeps the driver's text. One ended on a silent line is lost
// already, and asking again would only wait for a new connection through the same line.
DbError transactionFailure(const QSqlDatabase& d, bool cut)
{
    const QString text = d.lastError().text();
    if (cut) return DbError(text, DbError::Kind::ConnectionLost);
    odbcFetchAll(d, QStringLiteral("select 1"), {});
    return DbError(text);
}

// Begins, commits or rolls back on the connection under the watch of a silent line: each sends a statement
// and waits for its answer.
template <typename F>
bool watched(const QSqlDatabase& d, bool* cut, F step)
{
    netwatch::StatementWatch watch(d.connectionName());
    const bool ok = step();
    if (cut) *cut = watch.cut();
    return ok;
}

void rollback(const QString& connection)
{
    QSqlDatabase d = QSqlDatabase::database(connection, false);
    watched(d, nullptr, [&] { return d.rollback(); });
}

// Connections with a unit of work open; tests run a second workstation on another thread.
QMutex openMutex;
QSet<QString> openWork;

}  // namespace

Db programDb()
{
    return Db{kProgramConnection};
}

int exec(const Db& db, const QString& sql, const Params& params)
{
    const sqltext::Bound b = sqltext::bind(sql, params);
    return odbcExecute(database(db), b.text, b.values);
}

std::optional<QVariant> firstValue(const Db& db, const QString& sql, const Params& params)
{
    const sqltext::Bound b = sqltext::bind(sql, params);
    const FetchedRows rows = odbcFetchAll(database(db), b.text, b.values);
    if (rows.rows.empty() || rows.rows.front().isEmpty()) return std::nullopt;
    return rows.rows.front().front();
}

FetchedRows fetch(const Db& db, const QString& sql, const Params& params)
{
    const sqltext::Bound b = sqltext::bind(sql, params);
    return odbcFetchAll(database(db), b.text, b.values);
}

QVariant scalar(const Db& db, const QString& sql, const Params& params)
{
    return firstValue(db, sql, params).value_or(QVariant());
}

qint64 scalarInt(const Db& db, const QString& sql, const Params& params)
{
    const QVariant v = scalar(db, sql, params);
    return v.isNull() ? 0 : v.toLongLong();
}

void requireRight(const Actor& actor, Action action)
{
    if (can(actor.role, action)) return;
    throw DbError(QStringLiteral("Недостаточно прав: %1 недоступно для роли «%2». Ничего не записано.")
                      .arg(actionName(action), roleName(actor.role)),
                  DbError::Kind::NotAllowed);
}

Work::Work(const Session& session, Action action) : session_(session)
{
    requireRight(session_.actor, action);
    {
        QMutexLocker lock(&openMutex);
        if (openWork.contains(session_.db.connection))
            throw DbError(QStringLiteral("Внутренняя ошибка программы: вложенная транзакция на соединении %1.")
                              .arg(session_.db.connection),
                          DbError::Kind::ProgramFault);
        openWork.insert(session_.db.connection);
    }
    try {
        // Connected again first when the connection was found lost: the transaction must begin on the
        // connection its statements run on.
        QSqlDatabase d = liveConnection(session_.db.connection);
        bool cut = false;
        if (!watched(d, &cut, [&] { return d.transaction(); })) throw transactionFailure(d, cut);
        // Local to the transaction: the next one, or another program's on a pooled session, starts empty.
        firstValue(session_.db,
                   QStringLiteral("select set_config('piecework.actor', coalesce(:actor, ''), true), "
                                  "set_config('piecework.role', coalesce(:role, ''), true), "
                                  "set_config('piecework.workstation', coalesce(:ws, ''), true)"),
                   {{QStringLiteral("actor"), session_.actor.name()},
                    {QStringLiteral("role"), roleWord(session_.actor.role)},
                    {QStringLiteral("ws"), session_.actor.workstation()}});
    } catch (...) {
        rollback(session_.db.connection);
        QMutexLocker lock(&openMutex);
        openWork.remove(session_.db.connection);
        throw;
    }
}

Work::~Work()
{
    if (!done_) rollback(session_.db.connection);
    QMutexLocker lock(&openMutex);
    openWork.remove(session_.db.connection);
}

void Work::commit()
{
    QSqlDatabase d = QSqlDatabase::database(session_.db.connection, false);
    bool cut = false;
    if (!watched(d, &cut, [&] { return d.commit(); })) throw transactionFailure(d, cut);
    done_ = true;
}

}  // namespace store
