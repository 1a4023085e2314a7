#include "store/row_check.h"

#include "store/db_error.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <algorithm>
#include <cmath>

namespace store {
namespace {

// A column as the windows' reads give it, where that is not the column itself: the products list shows
// the boxes rounded to 5 decimals, and a value stored with more must not read as changed.
QString readAs(const QString& table, const QString& column)
{
    static const QHash<QString, QString> expressions{
        {QStringLiteral("izdel.massa"), QStringLiteral("round(massa::numeric, 5)")},
    };
    return expressions.value(table + u'.' + column.toLower(), column);
}

bool isNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float: return true;
    default: return false;
    }
}

bool isDay(const QVariant& v)
{
    return v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime;
}

// The same value, whichever way a dataset and the driver typed it: a window may hold a decimal as text or a
// date as a moment at midnight.
bool same(const QVariant& asRead, const QVariant& now)
{
    // A null text and an empty one look the same in every window.
    auto emptyText = [](const QVariant& v) { return v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty()); };
    if (asRead.isNull() || now.isNull()) return emptyText(asRead) && emptyText(now);
    if (isDay(asRead) || isDay(now)) return asRead.toDate() == now.toDate();
    if (isNumber(asRead) || isNumber(now)) {
        bool okRead = false;
        bool okNow = false;
        const double a = asRead.toDouble(&okRead);
        const double b = now.toDouble(&okNow);
        if (okRead && okNow) return a == b || std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
    }
    return asRead.toString() == now.toString();
}

// Who wrote the row last, where this person may read the history. Signed in by name, a role the server
// keeps out of the history (the warehouse) is told what changed without who; the read runs under a
// savepoint so that refusal does not end the verb's transaction.
std::optional<reads::HistoryVersion> lastChange(const Work& work, const QString& table, qint64 id)
{
    exec(work.db(), QStringLiteral("savepoint last_change"));
    try {
        std::optional<reads::HistoryVersion> last = reads::latestVersion(work.db(), table, id);
        exec(work.db(), QStringLiteral("release savepoint last_change"));
        return last;
    } catch (const DbError& e) {
        if (e.sqlState() != QLatin1String("42501")) throw;
        exec(work.db(), QStringLiteral("rollback to savepoint last_change"));
        return std::nullopt;
    }
}

}  // namespace

std::optional<Answer> holdAsRead(const Work& work, const QString& table, const RowAsRead& asRead)
{
    QStringList columns;
    for (const auto& [column, value] : asRead.fields) columns << readAs(table, column);
    // Under the row's lock a writer of the row that is still at work is waited for, and what is read is
    // what it committed.
    const FetchedRows now = fetch(work.db(),
                                  QStringLiteral("select %1 from accounts_dep.%2 where id=:id for update")
                                      .arg(columns.isEmpty() ? QStringLiteral("id") : columns.join(QStringLiteral(", ")), table),
                                  {{QStringLiteral("id"), asRead.id}});
    if (now.rows.empty()) {
        Answer gone{Outcome::Gone, {}};
        gone.change.last = lastChange(work, table, asRead.id);
        return gone;
    }
    const auto& row = now.rows.front();
    std::vector<reads::ColumnValues> differ;
    for (size_t i = 0; i < asRead.fields.size(); ++i) {
        const QVariant& stored = row.value(int(i));
        if (!same(asRead.fields[i].second, stored)) differ.push_back({asRead.fields[i].first, asRead.fields[i].second, stored});
    }
    if (differ.empty()) return std::nullopt;
    Answer changed{Outcome::Changed, {}};
    changed.change.fields = reads::describeColumns(work.db(), table, differ);
    changed.change.last = lastChange(work, table, asRead.id);
    return changed;
}

RowAsRead rowAsRead(const QStringList& columns, const QVector<QVariant>& values, const QString& keyColumn)
{
    RowAsRead r;
    for (int i = 0; i < columns.size() && i < values.size(); ++i) {
        if (columns.at(i).compare(keyColumn, Qt::CaseInsensitive) == 0)
            r.id = values.at(i).toLongLong();
        else
            r.fields.emplace_back(columns.at(i), values.at(i));
    }
    return r;
}

}  // namespace store
