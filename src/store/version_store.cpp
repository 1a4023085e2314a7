#include "store/version_store.h"

#include "store/books_store.h"
#include "store/reads/journal.h"
#include "store/db_error.h"
#include "store/field_def.h"
#include "store/odbc_fetch.h"
#include "store/row_writer.h"

#include <QSqlDatabase>

namespace store {
namespace {

int stampPart(const QVector<QVariant>* row, int column)
{
    if (!row || row->at(column).isNull()) return 0;
    return int(row->at(column).toLongLong());
}

}  // namespace

BuildStamp stampVersion(const Session& s, const BuildStamp& running)
{
    Work work(s, Action::StampVersion);
    const QSqlDatabase db = QSqlDatabase::database(work.db().connection, false);
    const FetchedRows ver = odbcFetchAll(db, reads::versionStamp().text(), {});
    const int d = columnOf(ver.names, QStringLiteral("d"));
    const int t = columnOf(ver.names, QStringLiteral("t"));
    const QVector<QVariant>* first = ver.rows.empty() ? nullptr : &ver.rows.front();
    const BuildStamp stored{stampPart(first, d), stampPart(first, t)};
    if (!builtBefore(stored, running)) return stored;

    // Only d and t are written, in the table's column order, as whole numbers.
    QVector<FieldDef> defs;
    for (const QString& n : ver.names) defs.append(FieldDef{n, FieldType::Integer});
    QVector<QVariant> values = first ? *first : QVector<QVariant>(ver.names.size());
    QVector<bool> changed(ver.names.size(), false);
    for (const auto& [column, value] : {std::pair{d, running.date}, std::pair{t, running.time}}) {
        values[column] = qint64(value);
        changed[column] = true;
    }
    const RowWrite row{kVersionTable, {}, ver.names, defs, first ? *first : QVector<QVariant>(), values, changed};
    if (first)
        updateRow(db, row);
    else
        insertRow(db, row);
    work.commit();
    return running;
}

}  // namespace store
