#include "core/store.h"

#include "core/command.h"
#include "core/connection.h"
#include "core/data_module.h"
#include "core/db_error.h"
#include "core/odbc_fetch.h"
#include "core/sql_text.h"

#include <QSqlDatabase>
#include <QSqlError>

namespace store {
namespace {

QSqlDatabase database(const Db& db)
{
    return QSqlDatabase::database(db.connection, false);
}

QHash<QString, QVariant> lowerCase(const Params& params)
{
    QHash<QString, QVariant> out;
    for (auto it = params.begin(); it != params.end(); ++it) out.insert(it.key().toLower(), it.value());
    return out;
}

// A transaction that could not begin or end: a lost connection says so (and is marked for connecting
// again) when asked once more; anything else keeps the driver's text.
DbError transactionFailure(const QSqlDatabase& d)
{
    const QString text = d.lastError().text();
    odbcFetchAll(d, QStringLiteral("select 1"), {});
    return DbError(text);
}

}  // namespace

Db programDb()
{
    return Db{TDataModule6::kConnection};
}

int exec(const Db& db, const QString& sql, const Params& params)
{
    return runStatement(database(db), sql, lowerCase(params));
}

std::optional<QVariant> firstValue(const Db& db, const QString& sql, const Params& params)
{
    const QSqlDatabase d = database(db);
    QStringList names;
    const QString positional = sqltext::toPositional(sql, &names);
    const QHash<QString, QVariant> lower = lowerCase(params);
    QVariantList values;
    for (const QString& n : names) values << lower.value(n.toLower());
    const FetchedRows rows = odbcFetchAll(d, positional, values);
    if (rows.rows.empty() || rows.rows.front().isEmpty()) return std::nullopt;
    return rows.rows.front().front();
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

Work::Work(const Db& db) : connection_(db.connection)
{
    // Connected again first when the connection was found lost: the transaction must begin on the
    // connection its statements run on.
    QSqlDatabase d = liveConnection(connection_);
    if (!d.transaction()) throw transactionFailure(d);
}

Work::~Work()
{
    if (!done_) QSqlDatabase::database(connection_, false).rollback();
}

void Work::commit()
{
    QSqlDatabase d = QSqlDatabase::database(connection_, false);
    if (!d.commit()) throw transactionFailure(d);
    done_ = true;
}

}  // namespace store
