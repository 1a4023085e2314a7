#include "store/row_writer.h"

#include "store/db_error.h"
#include "store/odbc_fetch.h"

namespace {

int columnOf(const QStringList& columns, const QString& name)
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0) return i;
    throw DbError(QStringLiteral("Field '%1' not found").arg(name), DbError::Kind::ProgramFault);
}

}  // namespace

void RowWriter::setTable(const QString& table, const QStringList& keyFields)
{
    table_ = table;
    keyFields_ = keyFields;
}

QVariantList RowWriter::insert(const QSqlDatabase& db, const QStringList& columns, const QVector<FieldDef>& defs,
                               const QVector<QVariant>& values, const QVector<bool>& changed) const
{
    QStringList cols, marks;
    QVariantList bound;
    for (int i = 0; i < columns.size(); ++i) {
        if (!changed[i] || defs[i].readOnly || defs[i].type == FieldType::AutoInc) continue;
        cols << columns[i];
        marks << QStringLiteral("?");
        bound << values[i];
    }
    QString text = cols.isEmpty() ? QStringLiteral("insert into %1 default values").arg(table_)
                                  : QStringLiteral("insert into %1 (%2) values (%3)").arg(table_, cols.join(u','), marks.join(u','));
    if (keyFields_.isEmpty()) {
        odbcExecute(db, text, bound);
        return {};
    }
    text += QStringLiteral(" returning ") + keyFields_.join(u',');
    const FetchedRows key = odbcFetchAll(db, text, bound);
    QVariantList out;
    if (!key.rows.empty())
        for (const QVariant& v : key.rows.front()) out << v;
    return out;
}

bool RowWriter::update(const QSqlDatabase& db, const QStringList& columns, const QVector<QVariant>& original,
                       const QVector<QVariant>& values, const QVector<bool>& changed) const
{
    QStringList sets;
    QVariantList bound;
    for (int i = 0; i < columns.size(); ++i) {
        if (!changed[i]) continue;
        sets << columns[i] + QStringLiteral("=?");
        bound << values[i];
    }
    if (sets.isEmpty()) return false;
    const QString condition = where(columns, original, &bound);
    odbcExecute(db, QStringLiteral("update %1 set %2 where %3").arg(table_, sets.join(u','), condition), bound);
    return true;
}

void RowWriter::remove(const QSqlDatabase& db, const QStringList& columns, const QVector<QVariant>& row) const
{
    QVariantList bound;
    const QString condition = where(columns, row, &bound);
    odbcExecute(db, QStringLiteral("delete from %1 where %2").arg(table_, condition), bound);
}

QString RowWriter::where(const QStringList& columns, const QVector<QVariant>& row, QVariantList* values) const
{
    // By key; a table without one (the build stamp's) by every original value.
    QStringList parts;
    for (const QString& k : keyFields_.isEmpty() ? columns : keyFields_) {
        const int col = columnOf(columns, k);
        if (row[col].isNull()) {
            parts << k + QStringLiteral(" is null");
        } else {
            parts << k + QStringLiteral("=?");
            *values << row[col];
        }
    }
    return parts.join(QStringLiteral(" and "));
}
