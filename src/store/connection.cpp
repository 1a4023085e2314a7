#include "store/connection.h"

#include "store/db_error.h"
#include "store/net_watch.h"

#include <QMutex>
#include <QSet>
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

DatabaseAddress addressForArguments(const QStringList& arguments)
{
    const QString server = arguments.size() > 1 ? arguments.at(1) : QString();
    if (!server.isEmpty()) return {arguments.at(0), server};
    return {defaultDatabaseName(), defaultServerAddress()};
}

QString connectionStringForArguments(const QStringList& arguments)
{
    const DatabaseAddress a = addressForArguments(arguments);
    return connectionString(a.database, a.server);
}

namespace {

// Connections found lost; each workstation's connection is used by one thread, but tests race
// a second connection on another thread.
QMutex lostMutex;
QSet<QString> lostConnections;

}  // namespace

QStringList sessionSettings()
{
    return {
        // Statements write dates as DD.MM.YYYY; the server must read them day first.
        QStringLiteral("SET DateStyle TO 'ISO, DMY'"),
        // A shop's server may still read backslashes in quoted texts as escapes.
        QStringLiteral("SET standard_conforming_strings TO on"),
        // A row another workstation holds is reported busy rather than freezing the window.
        QStringLiteral("SET lock_timeout TO '%1s'").arg(kLockTimeoutSeconds),
        // A workstation stopped inside a transaction (a hung program, a machine put to sleep) would keep
        // its rows and months from everyone else; the server ends such a session instead.
        QStringLiteral("SET idle_in_transaction_session_timeout TO '%1s'").arg(kIdleTransactionSeconds),
        // Who is connected, as the server's activity views and the history's triggers read it; the actor
        // of each change is told per transaction (store::Work).
        QStringLiteral("SET application_name TO '%1'").arg(kApplicationName),
    };
}

QSqlDatabase openConnection(const QString& connectionName, const QString& odbcString)
{
    QSqlDatabase db = QSqlDatabase::contains(connectionName) ? QSqlDatabase::database(connectionName, false)
                                                             : QSqlDatabase::addDatabase(QStringLiteral("QODBC"), connectionName);
    if (db.isOpen())
        db.close();
    // User and password travel inside the string; the driver never prompts.
    db.setDatabaseName(odbcString);
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(kConnectSeconds));
    {
        netwatch::Connecting connecting(connectionName, odbcString);
        if (!db.open())
            throw DbError(db.lastError().text(), DbError::Kind::ConnectionLost);
        connecting.opened();
    }
    QSqlQuery q(db);
    for (const QString& setting : sessionSettings()) {
        netwatch::StatementWatch watch(connectionName);
        if (!q.exec(setting)) {
            const QString text = q.lastError().text();
            db.close();
            throw DbError(text, DbError::Kind::ConnectionLost);
        }
    }
    QMutexLocker lock(&lostMutex);
    lostConnections.remove(connectionName);
    return db;
}

void markConnectionLost(const QString& connectionName)
{
    QMutexLocker lock(&lostMutex);
    lostConnections.insert(connectionName);
}

bool connectionMarkedLost(const QString& connectionName)
{
    QMutexLocker lock(&lostMutex);
    return lostConnections.contains(connectionName);
}

QSqlDatabase liveConnection(const QString& connectionName)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    bool lost = false;
    {
        QMutexLocker lock(&lostMutex);
        lost = lostConnections.contains(connectionName);
    }
    if (lost && db.isValid() && !db.databaseName().isEmpty()) openConnection(connectionName, db.databaseName());
    if (!db.isOpen())
        throw DbError(QStringLiteral("нет подключения к базе данных"), DbError::Kind::ConnectionLost);
    return db;
}
