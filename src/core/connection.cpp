#include "core/connection.h"

#include "core/db_error.h"

#include <QSqlError>
#include <QSqlQuery>

#ifndef PIECEWORK_DEFAULT_SERVER
#define PIECEWORK_DEFAULT_SERVER "localhost"
#endif

QString defaultDatabaseName()
{
    return QStringLiteral("plantdb");
}

QString defaultServerAddress()
{
    return QStringLiteral(PIECEWORK_DEFAULT_SERVER);
}

QString connectionString(const QString& database, const QString& server)
{
    return QStringLiteral("DRIVER={PostgreSQL UNICODE};DATABASE=") + database
        + QStringLiteral(";SERVER=") + server
        + QStringLiteral(";PORT=5432;UID=sys;PWD=vomtrak;SSLmode=allow;")
        + QStringLiteral("ReadOnly=0;Protocol=7.4;FakeOidIndex=0;ShowOidColumn=0;RowVersioning=0;"
                         "ShowSystemTables=0;Fetch=100;UnknownSizes=0;MaxVarcharSize=255;MaxLongVarcharSize=8190;")
        + QStringLiteral("Debug=0;CommLog=0;UseDeclareFetch=0;TextAsLongVarchar=1;UnknownsAsLongVarchar=0;"
                         "BoolsAsChar=1;Parse=0;ExtraSysTablePrefixes=;LFConversion=1;UpdatableCursors=1;")
        + QStringLiteral("TrueIsMinus1=0;BI=0;ByteaAsLongVarBinary=1;UseServerSidePrepare=1;"
                         "LowerCaseIdentifier=0;D6=-101;OptionalErrors=0;XaOpt=1");
}

QString connectionStringForArguments(const QStringList& arguments)
{
    const QString server = arguments.size() > 1 ? arguments.at(1) : QString();
    if (!server.isEmpty())
        return connectionString(arguments.at(0), server);
    return connectionString(defaultDatabaseName(), defaultServerAddress());
}

QSqlDatabase openConnection(const QString& connectionName, const QString& odbcString)
{
    QSqlDatabase db = QSqlDatabase::contains(connectionName) ? QSqlDatabase::database(connectionName, false)
                                                             : QSqlDatabase::addDatabase(QStringLiteral("QODBC"), connectionName);
    if (db.isOpen())
        db.close();
    // User and password travel inside the string; the driver never prompts.
    db.setDatabaseName(odbcString);
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=10"));
    if (!db.open())
        throw DbError(db.lastError().text(), DbError::Kind::ConnectionLost);
    QSqlQuery q(db);
    // Statements write dates as DD.MM.YYYY; the server must read them day first.
    if (!q.exec(QStringLiteral("SET DateStyle TO 'ISO, DMY'")))
        throw DbError(q.lastError().text());
    return db;
}
