#include "store/reads/history.h"

#include "store/reads/read.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace store::reads {
namespace {

enum class Kind { Text, Number, Date, Moment };

struct Column {
    const char* name;
    const char* caption;
    Kind kind = Kind::Number;
    Refers refers = Refers::Nothing;
};

// Each table's columns in the order the program shows them, with its captions: the journal's columns as its
// grid names them, the books' as their lists and editors do. The row's id is the row itself, not a field.
const QHash<QString, QList<Column>>& tableColumns()
{
    static const QHash<QString, QList<Column>> columns{
        {QStringLiteral("smena"),
         {{"data", "Дата", Kind::Date},
          {"smena", "Смена"},
          {"w_id", "Фамилия И.О.", Kind::Number, Refers::Worker},
          {"i_id", "Марка изделия", Kind::Number, Refers::Product},
          {"o_id", "Операция", Kind::Number, Refers::Operation},
          {"color", "Цвет"},
          {"time", "Часы"},
          {"kol_vo", "Кол-во"},
          {"brak", "Брак"},
          {"cena", "Цена"},
          {"prize", "Премия (%)"},
          {"ok", "OK", Kind::Text},
          {"vvod", "Заведен", Kind::Moment},
          {"id_doc", "Документ"},
          {"id_doc_item", "Строка документа"},
          {"f_gds_qty_use", "Количество списания"},
          {"id_gds_use", "Товар списания"},
          {"id_cons_use", "Расход"}}},
        {QStringLiteral("person"), {{"fio", "ФИО", Kind::Text}, {"s_staffpos_hl", "Должность", Kind::Text}}},
        {QStringLiteral("izdel"), {{"marka", "Марка изделия", Kind::Text}, {"nom", "Группа", Kind::Text}, {"massa", "Коробки"}}},
        {QStringLiteral("vid_oper"), {{"vid", "Операция", Kind::Text}}},
        {QStringLiteral("oper"),
         {{"i_id", "Марка изделия", Kind::Number, Refers::Product},
          {"vid", "Операция", Kind::Number, Refers::Kind},
          {"naimen", "Вид"},
          {"cena_new", "Цена"}}},
        {QStringLiteral("norm"),
         {{"o_id", "Операция", Kind::Number, Refers::Operation}, {"norma", "Норматив"}, {"price", "Цена"}, {"prize", "Премия, %"}}},
        // A month's event: its counts.
        {QStringLiteral("h_tabel"),
         {{"month", "Месяц"},
          {"year", "Год"},
          {"deleted", "Удалено строк"},
          {"rows", "Строк табеля"},
          {"workers", "Рабочих"},
          {"hours", "Часы"},
          {"good_pieces", "Годных, шт."},
          {"earnings", "Заработок"},
          {"note", "Примечание", Kind::Text},
          {"reason", "Причина", Kind::Text},
          {"closed_at", "Был закрыт", Kind::Moment},
          {"closed_by", "Закрыл", Kind::Text}}},
    };
    return columns;
}

QVariant numberOf(double d)
{
    // Whole numbers as whole numbers: an id or a count must not read 10.0.
    if (std::isfinite(d) && std::floor(d) == d && std::fabs(d) < 9007199254740992.0) return QVariant(qint64(d));
    return QVariant(d);
}

QVariant valueOf(const QJsonValue& v, Kind kind)
{
    switch (v.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined: return QVariant();
    case QJsonValue::Bool: return QVariant(v.toBool() ? QStringLiteral("да") : QStringLiteral("нет"));
    case QJsonValue::Double: return numberOf(v.toDouble());
    case QJsonValue::String: {
        const QString s = v.toString();
        if (kind == Kind::Date) {
            const QDate d = QDate::fromString(s, Qt::ISODate);
            if (d.isValid()) return d;
        } else if (kind == Kind::Moment) {
            const QDateTime t = QDateTime::fromString(s, Qt::ISODate);
            if (t.isValid()) return t;
        }
        return s;
    }
    case QJsonValue::Array: return QString::fromUtf8(QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
    case QJsonValue::Object: return QString::fromUtf8(QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
    }
    return QVariant();
}

QJsonObject objectOf(const QVariant& text)
{
    if (text.isNull()) return {};
    return QJsonDocument::fromJson(text.toString().toUtf8()).object();
}

// The fields of one version: what changed in an update, everything an insert wrote or a delete took, in
// the table's own order, then any column the program does not know, by name.
std::vector<HistoryField> fieldsOf(const QString& table, const QString& op, const QJsonObject& before, const QJsonObject& after)
{
    const bool update = op == QLatin1String("update");
    QStringList keys = before.keys();
    for (const QString& k : after.keys())
        if (!before.contains(k)) keys << k;
    std::vector<HistoryField> out;
    auto add = [&](const QString& key, const char* caption, Kind kind, Refers refers) {
        const QJsonValue b = before.value(key);
        const QJsonValue a = after.value(key);
        if (update && b == a) return;
        // The id is the row itself; it is a field only when an update changed it.
        if (key == QLatin1String("id") && !update) return;
        out.push_back({key, caption ? QString::fromUtf8(caption) : key, refers, valueOf(b, kind), valueOf(a, kind), {}, {}});
    };
    const QList<Column> known = tableColumns().value(table);
    for (const Column& c : known) {
        const QString key = QString::fromLatin1(c.name);
        if (keys.removeAll(key) > 0) add(key, c.caption, c.kind, c.refers);
    }
    keys.sort();
    for (const QString& key : keys) add(key, nullptr, Kind::Text, Refers::Nothing);
    return out;
}

// The columns every history read takes, in this order.
const QString kVersionColumns = QStringLiteral(
    "h.id, h.at, h.at::text as at_key, h.tbl, h.row_id, h.op, h.db_user, h.actor, h.role, h.workstation, "
    "coalesce(host(h.client_addr), '') as address, h.application, h.old_row::text as old_row, h.new_row::text as new_row");

HistoryVersion versionOf(const QVector<QVariant>& r)
{
    HistoryVersion v;
    v.id = r.value(0).toLongLong();
    v.at = r.value(1).toDateTime();
    v.atKey = r.value(2).toString();
    v.table = r.value(3).toString();
    if (!r.value(4).isNull()) v.row = r.value(4).toLongLong();
    v.op = r.value(5).toString();
    v.dbUser = r.value(6).toString();
    v.actor = r.value(7).toString();
    v.role = r.value(8).toString();
    v.workstation = r.value(9).toString();
    v.address = r.value(10).toString();
    v.application = r.value(11).toString();
    v.fields = fieldsOf(v.table, v.op, objectOf(r.value(12)), objectOf(r.value(13)));
    return v;
}

// A name for every worker, product, kind and operation the ids refer to, where the books still have it:
// one statement for all of them.
class Names {
public:
    void want(Refers refers, const QVariant& id)
    {
        if (refers != Refers::Nothing && !id.isNull()) ids_[int(refers)].insert(id.toLongLong());
    }

    void read(const Db& db)
    {
        QStringList parts;
        Params params;
        auto part = [&](Refers refers, const char* param, const QString& select) {
            const QSet<qint64>& ids = ids_[int(refers)];
            if (ids.isEmpty()) return;
            QStringList list;
            for (qint64 id : ids) list << QString::number(id);
            params.insert(QString::fromLatin1(param), QStringLiteral("{%1}").arg(list.join(u',')));
            parts << select;
        };
        part(Refers::Worker, "w",
             QStringLiteral("select 1 as k, id::bigint as id, fio as name, null::text as nmn from accounts_dep.person "
                            "where id = any(:w::integer[])"));
        part(Refers::Product, "i",
             QStringLiteral("select 2, id::bigint, marka, null::text from accounts_dep.izdel where id = any(:i::numeric[])"));
        part(Refers::Kind, "v",
             QStringLiteral("select 3, id::bigint, vid, null::text from accounts_dep.vid_oper where id = any(:v::integer[])"));
        part(Refers::Operation, "o",
             QStringLiteral("select 4, oper.id::bigint, vid_oper.vid, ") + kProductKindColumn
                 + QStringLiteral(" from accounts_dep.oper left join accounts_dep.vid_oper on vid_oper.id = oper.vid "
                                  "where oper.id = any(:o::integer[])"));
        if (parts.isEmpty()) return;
        const FetchedRows rows = fetch(db, parts.join(QStringLiteral(" union all ")), params);
        for (const auto& r : rows.rows) {
            const Refers refers = Refers(r.value(0).toInt());
            QString name = r.value(2).toString();
            // An operation is its kind on finished products or on blanks, as the journal's two columns show it.
            if (refers == Refers::Operation && !r.value(3).toString().isEmpty())
                name = QStringLiteral("%1 (%2)").arg(name, r.value(3).toString());
            names_[int(refers)].insert(r.value(1).toLongLong(), name);
        }
    }

    QString nameOf(Refers refers, const QVariant& id) const
    {
        if (refers == Refers::Nothing || id.isNull()) return QString();
        return names_[int(refers)].value(id.toLongLong());
    }

    void fill(std::vector<HistoryVersion>& versions)
    {
        for (HistoryVersion& v : versions)
            for (HistoryField& f : v.fields) {
                f.beforeName = nameOf(f.refers, f.before);
                f.afterName = nameOf(f.refers, f.after);
            }
    }

private:
    static constexpr int kKinds = 5;
    QSet<qint64> ids_[kKinds];
    QHash<qint64, QString> names_[kKinds];
};

void nameReferences(const Db& db, std::vector<HistoryVersion>& versions)
{
    Names names;
    for (const HistoryVersion& v : versions)
        for (const HistoryField& f : v.fields) {
            names.want(f.refers, f.before);
            names.want(f.refers, f.after);
        }
    names.read(db);
    names.fill(versions);
}

}  // namespace

std::vector<HistoryVersion> entryHistory(const Db& db, qint64 entryId)
{
    // The index on (tbl, row_id, id) gives the entry's versions in order.
    const FetchedRows rows = fetch(db,
                                   QStringLiteral("select ") + kVersionColumns
                                       + QStringLiteral(" from piecework.history h where h.tbl = 'smena' and h.row_id = :id "
                                                        "order by h.id"),
                                   {{QStringLiteral("id"), entryId}});
    std::vector<HistoryVersion> out;
    out.reserve(rows.rows.size());
    for (const auto& r : rows.rows) out.push_back(versionOf(r));
    nameReferences(db, out);
    return out;
}

std::optional<HistoryVersion> latestVersion(const Db& db, const QString& table, qint64 rowId)
{
    // Backwards on the index of (tbl, row_id, id): one row.
    const FetchedRows rows = fetch(db,
                                   QStringLiteral("select ") + kVersionColumns
                                       + QStringLiteral(" from piecework.history h where h.tbl = :tbl and h.row_id = :id "
                                                        "order by h.id desc limit 1"),
                                   {{QStringLiteral("tbl"), table}, {QStringLiteral("id"), rowId}});
    if (rows.rows.empty()) return std::nullopt;
    std::vector<HistoryVersion> out{versionOf(rows.rows.front())};
    nameReferences(db, out);
    return out.front();
}

std::vector<HistoryField> describeColumns(const Db& db, const QString& table, const std::vector<ColumnValues>& values)
{
    std::vector<HistoryField> fields;
    auto add = [&](const ColumnValues& v, const QString& caption, Refers refers) {
        fields.push_back({v.column, caption, refers, v.before, v.after, {}, {}});
    };
    std::vector<bool> done(values.size(), false);
    for (const Column& c : tableColumns().value(table)) {
        for (size_t i = 0; i < values.size(); ++i)
            if (!done[i] && values[i].column.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0) {
                add(values[i], QString::fromUtf8(c.caption), c.refers);
                done[i] = true;
            }
    }
    for (size_t i = 0; i < values.size(); ++i)
        if (!done[i]) add(values[i], values[i].column, Refers::Nothing);
    std::vector<HistoryVersion> named(1);
    named.front().fields = std::move(fields);
    nameReferences(db, named);
    return std::move(named.front().fields);
}

std::vector<DeletedEntry> entriesDeletedFrom(const Db& db, const QDate& day, int shift)
{
    // A deletion counts while the entry is not back in the journal; of several (deleted, restored, deleted
    // again) the last. The conditions on tbl, op, the date and the shift are those of the index of
    // deletions (db/upgrade/002), written the same way so that the planner takes it.
    const FetchedRows rows = fetch(
        db,
        QStringLiteral("select h.id, h.row_id, h.at, case when h.actor = '' then h.db_user else h.actor end as by, "
                       "(h.old_row->>'w_id')::bigint as w_id, (h.old_row->>'i_id')::bigint as i_id, "
                       "(h.old_row->>'o_id')::bigint as o_id "
                       "from piecework.history h "
                       "where h.tbl = 'smena' and h.op = 'delete' and h.old_row->>'data' = :day and h.old_row->>'smena' = :shift "
                       "and not exists (select from accounts_dep.smena s where s.id = h.row_id) "
                       "and not exists (select from piecework.history later where later.tbl = 'smena' "
                       "and later.row_id = h.row_id and later.id > h.id and later.op = 'delete') "
                       "order by h.id desc"),
        {{QStringLiteral("day"), day.toString(Qt::ISODate)}, {QStringLiteral("shift"), QString::number(shift)}});
    Names names;
    for (const auto& r : rows.rows) {
        names.want(Refers::Worker, r.value(4));
        names.want(Refers::Product, r.value(5));
        names.want(Refers::Operation, r.value(6));
    }
    names.read(db);
    auto nameOr = [&](Refers refers, const QVariant& id) {
        const QString name = names.nameOf(refers, id);
        return name.isEmpty() ? id.toString() : name;
    };
    std::vector<DeletedEntry> out;
    for (const auto& r : rows.rows)
        out.push_back({r.value(0).toLongLong(), r.value(1).toLongLong(), r.value(2).toDateTime(), r.value(3).toString(),
                       nameOr(Refers::Worker, r.value(4)), nameOr(Refers::Product, r.value(5)),
                       nameOr(Refers::Operation, r.value(6))});
    return out;
}

ChangesPage changes(const Db& db, const ChangeFilter& filter, int pageSize, const HistoryVersion* after)
{
    // The period on the index of `at`, newest first; the other filters only thin out what it finds. Every
    // value is bound: a typed text is never part of the statement.
    QString sql = QStringLiteral("select ") + kVersionColumns
                  + QStringLiteral(" from piecework.history h where h.at >= :d1 and h.at < :d2");
    Params params{{QStringLiteral("d1"), filter.from}, {QStringLiteral("d2"), filter.to.addDays(1)},
                  {QStringLiteral("lim"), pageSize + 1}};
    if (!filter.table.isEmpty()) {
        sql += QStringLiteral(" and h.tbl = :tbl");
        params.insert(QStringLiteral("tbl"), filter.table);
    }
    if (!filter.actor.isEmpty()) {
        sql += QStringLiteral(" and starts_with(h.actor, :actor)");
        params.insert(QStringLiteral("actor"), filter.actor);
    }
    if (!filter.workstation.isEmpty()) {
        sql += QStringLiteral(" and starts_with(h.workstation, :ws)");
        params.insert(QStringLiteral("ws"), filter.workstation);
    }
    if (after) {
        // Where the previous page ended, to the microsecond; of changes at the same moment, the lower ids.
        sql += QStringLiteral(" and h.at <= :at::timestamptz and (h.at < :at::timestamptz or h.id < :id)");
        params.insert(QStringLiteral("at"), after->atKey);
        params.insert(QStringLiteral("id"), after->id);
    }
    sql += QStringLiteral(" order by h.at desc, h.id desc limit :lim");
    const FetchedRows rows = fetch(db, sql, params);
    ChangesPage page;
    for (const auto& r : rows.rows) {
        if (int(page.rows.size()) == pageSize) {
            page.more = true;
            break;
        }
        page.rows.push_back(versionOf(r));
    }
    nameReferences(db, page.rows);
    return page;
}

QStringList historyTables()
{
    return {QStringLiteral("smena"), QStringLiteral("person"), QStringLiteral("izdel"), QStringLiteral("vid_oper"),
            QStringLiteral("oper"), QStringLiteral("norm"), QStringLiteral("h_tabel")};
}

}  // namespace store::reads
