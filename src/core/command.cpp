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

int runStatement(const QSqlDatabase& db, const QString& text, const QHash<QString, QVariant>& lowerCaseParams)
{
    QStringList names;
    const QString positional = sqltext::toPositional(text, &names);
    QVariantList values;
    for (const QString& n : names) values << lowerCaseParams.value(n.toLower());
    return odbcExecute(db, positional, values);
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
    QHash<QString, QVariant> lower;
    for (auto it = params.begin(); it != params.end(); ++it) lower.insert(it.key().toLower(), it.value());
    runStatement(db, text, lower);
}
