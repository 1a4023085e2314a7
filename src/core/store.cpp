#include "core/store.h"

#include "core/command.h"
#include "core/data_module.h"
#include "core/db_error.h"
#include "core/odbc_fetch.h"
#include "core/sql_text.h"

#include <QSqlDatabase>

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
    if (!d.isOpen()) throw DbError(QStringLiteral("нет подключения к базе данных"), DbError::Kind::ConnectionLost);
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
    QSqlDatabase d = QSqlDatabase::database(connection_, false);
    if (!d.isOpen()) throw DbError(QStringLiteral("нет подключения к базе данных"), DbError::Kind::ConnectionLost);
    if (!d.transaction()) throw DbError(d.lastError().text());
}

Work::~Work()
{
    if (!done_) QSqlDatabase::database(connection_, false).rollback();
}

void Work::commit()
{
    QSqlDatabase d = QSqlDatabase::database(connection_, false);
    if (!d.commit()) throw DbError(d.lastError().text());
    done_ = true;
}

}  // namespace store
