#include "core/command.h"

#include "core/db_error.h"
#include "core/sql_text.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

QSqlDatabase connectionFor(const QString& name)
{
    return QSqlDatabase::database(name.isEmpty() ? QString::fromLatin1(QSqlDatabase::defaultConnection) : name, false);
}

[[noreturn]] void fail(const QSqlError& e)
{
    throw DbError(e.databaseText().isEmpty() ? e.text() : e.databaseText());
}

int run(const QSqlDatabase& db, const QString& text, const QHash<QString, QVariant>& params)
{
    if (!db.isOpen()) throw DbError(QStringLiteral("нет подключения к базе данных"));
    QStringList names;
    const QString positional = sqltext::toPositional(text, &names);
    QSqlQuery q(db);
    bool ok;
    if (names.isEmpty()) {
        ok = q.exec(positional);
    } else {
        if (!q.prepare(positional)) fail(q.lastError());
        for (const QString& n : names) q.addBindValue(params.value(n.toLower()));
        ok = q.exec();
    }
    if (!ok) fail(q.lastError());
    return q.numRowsAffected();
}

}  // namespace

Command::Command(const QString& name, QObject* parent) : QObject(parent)
{
    setObjectName(name);
}

void Command::setParam(const QString& name, const QVariant& value)
{
    params_.insert(name.toLower(), value);
}

int Command::execute()
{
    return run(connectionFor(connection_), text_, params_);
}

void executeStatement(const QSqlDatabase& db, const QString& text, const QHash<QString, QVariant>& params)
{
    QHash<QString, QVariant> lower;
    for (auto it = params.begin(); it != params.end(); ++it) lower.insert(it.key().toLower(), it.value());
    run(db, text, lower);
}

Transaction::Transaction(const QString& connectionName) : db_(connectionFor(connectionName))
{
    if (!db_.transaction()) fail(db_.lastError());
}

Transaction::~Transaction()
{
    if (!done_) db_.rollback();
}

void Transaction::commit()
{
    if (!db_.commit()) fail(db_.lastError());
    done_ = true;
}
