#pragma once
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The ODBC connection string for a database name and server address; the same pairs in the same order
// for both forms, each argument inserted as typed.
QString connectionString(const QString& database, const QString& server);

// The string the program uses for its command line (arguments without the program name):
// both arguments when the second is given and not empty, otherwise the built-in one.
QString connectionStringForArguments(const QStringList& arguments);

// The built-in database name and server address.
QString defaultDatabaseName();
QString defaultServerAddress();

// Opens a QODBC connection under the given name with the string; afterwards dates are read day first.
// Throws DbError with the driver's text when it cannot connect.
QSqlDatabase openConnection(const QString& connectionName, const QString& odbcString);
