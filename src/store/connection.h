#pragma once
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The ODBC connection string for a database name and server address; the same pairs in the same order
// for both forms, each argument inserted as typed.
QString connectionString(const QString& database, const QString& server);

// The database and server the program's command line names (arguments without the program name):
// both arguments when the second is given and not empty, otherwise the built-in ones.
struct DatabaseAddress {
    QString database;
    QString server;
};
DatabaseAddress addressForArguments(const QStringList& arguments);

// The connection string of addressForArguments.
QString connectionStringForArguments(const QStringList& arguments);

// The built-in database name and server address.
QString defaultDatabaseName();
QString defaultServerAddress();

// Opens a QODBC connection under the given name with the string and fixes the session settings the
// statements rely on (sessionSettings()). Throws DbError with the driver's text when it cannot connect.
QSqlDatabase openConnection(const QString& connectionName, const QString& odbcString);

// What the program sets on every session right after connecting, whatever the server's defaults:
// dates read day first, backslashes in quoted texts read as themselves, and a bounded wait for a row
// another workstation holds.
QStringList sessionSettings();

// The session's application_name: the program, as the server sees it.
inline constexpr char kApplicationName[] = "piecework";

// How long a statement waits for a lock another workstation holds before it gives up (SQLSTATE 55P03).
inline constexpr int kLockTimeoutSeconds = 5;

// How long the server lets a session of the program sit idle inside a transaction before it ends the
// session. The program's transactions run their statements back to back and never wait for the user, so
// only a workstation stopped in the middle (hung, asleep, cut off) reaches it.
inline constexpr int kIdleTransactionSeconds = 15;

// A connection the server dropped (a restart, a broken line) is marked when a statement finds it lost;
// the next statement on it connects again with the same string and settings. The statement that found it
// lost is not repeated.
void markConnectionLost(const QString& connectionName);

// Whether the named connection was found lost and not connected again since.
bool connectionMarkedLost(const QString& connectionName);

// The connection to run a statement on: connected again first when it was marked lost. Throws DbError
// (ConnectionLost) when there is no connection or connecting again fails; it stays marked then, so the
// next statement tries again.
QSqlDatabase liveConnection(const QString& connectionName);
