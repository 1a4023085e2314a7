#include "store/row_writer.h"

#include "store/db_error.h"
#include "store/odbc_fetch.h"

namespace store {
namespace {

QString where(const RowWrite& w, QVariantList* values)
{
    // By key; a table without one (the build stamp's) by every original value.
    QStringList parts;
    for (const QString& k : w.keyFields.isEmpty() ? w.columns : w.keyFields) {
        const int col = columnOf(w.columns, k);
        if (w.original[col].isNull()) {
            parts << k + QStringLiteral(" is null");
        } else {
            parts << k + QStringLiteral("=?");
            *values << w.original[col];
        }
    }
    return parts.join(QStringLiteral(" and "));
}

}  // namespace

int columnOf(const QStringList& columns, const QString& name)
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0) return i;
    throw DbError(QStringLiteral("Field '%1' not found").arg(name), DbError::Kind::ProgramFault);
}


RowStatement insertStatement(const RowWrite& w)
{
    QStringList cols, marks;
    RowStatement s;
    for (int i = 0; i < w.columns.size(); ++i) {
        if (!w.changed[i] || w.defs[i].readOnly || w.defs[i].type == FieldType::AutoInc) continue;
        cols << w.columns[i];
        marks << QStringLiteral("?");
        s.bound << w.values[i];
    }
    s.text = cols.isEmpty() ? QStringLiteral("insert into %1 default values").arg(w.table)
                            : QStringLiteral("insert into %1 (%2) values (%3)").arg(w.table, cols.join(u','), marks.join(u','));
    if (!w.keyFields.isEmpty()) s.text += QStringLiteral(" returning ") + w.keyFields.join(u',');
    return s;
}

std::optional<RowStatement> updateStatement(const RowWrite& w)
{
    QStringList sets;
    RowStatement s;
    for (int i = 0; i < w.columns.size(); ++i) {
        if (!w.changed[i]) continue;
        sets << w.columns[i] + QStringLiteral("=?");
        s.bound << w.values[i];
    }
    if (sets.isEmpty()) return std::nullopt;
    const QString condition = where(w, &s.bound);
    s.text = QStringLiteral("update %1 set %2 where %3").arg(w.table, sets.join(u','), condition);
    return s;
}

RowStatement deleteStatement(const RowWrite& w)
{
    RowStatement s;
    const QString condition = where(w, &s.bound);
    s.text = QStringLiteral("delete from %1 where %2").arg(w.table, condition);
    return s;
}

QVariantList insertRow(const QSqlDatabase& db, const RowWrite& w)
{
    const RowStatement s = insertStatement(w);
    if (w.keyFields.isEmpty()) {
        odbcExecute(db, s.text, s.bound);
        return {};
    }
    const FetchedRows key = odbcFetchAll(db, s.text, s.bound);
    QVariantList out;
    if (!key.rows.empty())
        for (const QVariant& v : key.rows.front()) out << v;
    return out;
}

bool updateRow(const QSqlDatabase& db, const RowWrite& w)
{
    const std::optional<RowStatement> s = updateStatement(w);
    if (!s) return false;
    odbcExecute(db, s->text, s->bound);
    return true;
}

void deleteRow(const QSqlDatabase& db, const RowWrite& w)
{
    const RowStatement s = deleteStatement(w);
    odbcExecute(db, s.text, s.bound);
}

}  // namespace store
