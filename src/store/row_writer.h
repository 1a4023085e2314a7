#pragma once
#include "store/field_def.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>
#include <QVector>

// Writes the rows of one table back: inserts, updates by key (by every original value for a table without
// a key) and deletes, all values bound. Owned by a dataset; it knows the dataset's columns only as given.
class RowWriter {
public:
    void setTable(const QString& table, const QStringList& keyFields);
    bool isSet() const { return !table_.isEmpty(); }
    const QStringList& keyFields() const { return keyFields_; }

    // Inserts the changed, writable columns; answers the values of the key fields the database gave the row.
    QVariantList insert(const QSqlDatabase& db, const QStringList& columns, const QVector<FieldDef>& defs,
                        const QVector<QVariant>& values, const QVector<bool>& changed) const;
    // Updates the changed columns of the row that had `original`; false when nothing was changed.
    bool update(const QSqlDatabase& db, const QStringList& columns, const QVector<QVariant>& original,
                const QVector<QVariant>& values, const QVector<bool>& changed) const;
    void remove(const QSqlDatabase& db, const QStringList& columns, const QVector<QVariant>& row) const;

private:
    QString where(const QStringList& columns, const QVector<QVariant>& row, QVariantList* values) const;

    QString table_;
    QStringList keyFields_;
};
