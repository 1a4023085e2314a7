#include "core/command.h"

#include "store/db_error.h"
#include "store/odbc_fetch.h"
#include "store/sql_text.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

QSqlDatabase connectionFor(const QString& name)
{
    return QSqlDatabase::database(name.isEmpty() ? QString::fromLatin1(QSqlDatabase::defaultConnection) : name, false);
}

}  // namespace

int runStatement(const QSqlDatabase& db, const QString& text, const QHash<QString, QVariant>& params)
{
    const sqltext::Bound bound = sqltext::bind(text, params);
    return odbcExecute(db, bound.text, bound.values);
}

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
    return runStatement(connectionFor(connection_), text_, params_);
}

void executeStatement(const QSqlDatabase& db, const QString& text, const QHash<QString, QVariant>& params)
{
    runStatement(db, text, params);
}
