#pragma once
#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <vector>

// Reads a whole result straight from the ODBC driver under a QODBC connection: rows arrive in blocks
// into bound buffers, so opening a large snapshot costs about what the driver itself costs.
struct FetchedRows {
    QStringList names;
    QVector<QMetaType> types;
    std::vector<QVector<QVariant>> rows;
};

// `statement` uses ? placeholders, bound in order to `params`. Throws DbError with the driver's text.
FetchedRows odbcFetchAll(const QSqlDatabase& db, const QString& statement, const QVariantList& params);

// Runs a statement that returns no rows, the same way; answers the number of rows it changed. A refused
// statement throws DbError with the driver's text and the SQLSTATE.
int odbcExecute(const QSqlDatabase& db, const QString& statement, const QVariantList& params);
