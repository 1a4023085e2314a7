#pragma once
#include "store/field_def.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <optional>

namespace store {

// One row's write as a dataset holds it: the table and its key, the dataset's columns as given, the row
// as read (for an update or a delete), the row as typed (for an insert or an update) and which columns
// were typed into.
struct RowWrite {
    QString table;
    QStringList keyFields;
    QStringList columns;
    QVector<FieldDef> defs;
    QVector<QVariant> original;
    QVector<QVariant> values;
    QVector<bool> changed;
};

// The index of a column in a row as read, whatever its letter case; a missing one is a fault of the program.
int columnOf(const QStringList& columns, const QString& name);

// A statement with its values bound in the order of its question marks.
struct RowStatement {
    QString text;
    QVariantList bound;
};

// Inserts the changed, writable columns; with a key, "returning" the key fields the database gave the row.
RowStatement insertStatement(const RowWrite& w);
// Updates the changed columns of the row that was `original`, by key (by every original value for a table
// without a key); nothing when no column was changed.
std::optional<RowStatement> updateStatement(const RowWrite& w);
RowStatement deleteStatement(const RowWrite& w);

// Runs them on a connection. insertRow answers the values of the key fields the database gave the row;
// updateRow false when nothing was changed.
QVariantList insertRow(const QSqlDatabase& db, const RowWrite& w);
bool updateRow(const QSqlDatabase& db, const RowWrite& w);
void deleteRow(const QSqlDatabase& db, const RowWrite& w);

}  // namespace store
