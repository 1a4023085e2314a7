#include "store/journal_store.h"

#include "store/db_error.h"
#include "store/time_sheet_store.h"

#include <QDateTime>
#include <QRegularExpression>
#include <utility>

namespace store {
namespace {

QString ddmmyyyy(const QDate& d)
{
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

[[noreturn]] void notAnInteger(const QString& text)
{
    throw DbError(QStringLiteral("'%1' is not a valid integer value").arg(text), DbError::Kind::Conversion);
}

// The worker, shift and date of a stored entry, its row locked until the transaction ends, so that no
// other workstation moves or deletes it meanwhile; nothing when it is gone.
std::optional<DayCell> lockEntry(const Work& work, int id)
{
    const std::optional<QVariant> found = firstValue(
        work.db(), QStringLiteral("select w_id || ',' || smena || ',' || to_char(data, 'YYYY-MM-DD') as cell "
                           "from accounts_dep.smena where id=%1 for update")
                .arg(id));
    if (!found || found->isNull()) return std::nullopt;
    const QStringList parts = found->toString().split(u',');
    return DayCell{parts.value(0).toInt(), parts.value(1).toInt(), QDate::fromString(parts.value(2), Qt::ISODate)};
}

// The cells' locks are held already (lockDayCells).
void bringInStep(Work& work, const std::vector<DayCell>& cells)
{
    std::vector<DayCell> done;
    for (const DayCell& c : cells) {
        if (std::find(done.begin(), done.end(), c) != done.end()) continue;
        syncDayCell(work, c);
        done.push_back(c);
    }
}

// A whole number from 0 to 2147483647 written in digits: what the journal's number columns hold.
bool isCount(const QString& text)
{
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9') return false;
    bool ok = false;
    text.toInt(&ok);
    return ok;
}

}  // namespace

void checkEntry(const EntryValues& v)
{
    const std::pair<const QString*, const char*> counts[] = {
        {&v.quantity, "Кол-во"}, {&v.rejects, "Брак"}, {&v.hours, "Время"}};
    for (const auto& [text, box] : counts)
        if (!isCount(*text))
            throw DbError(QStringLiteral("В поле «%1» должно быть целое число от 0 до 2147483647.").arg(QString::fromUtf8(box)),
                          DbError::Kind::Conversion);
    // An entry's hours are hours of one day: more than 24 is a slip of the keyboard.
    if (v.hours.toInt() > 24)
        throw DbError(QStringLiteral("В поле «Время» должно быть число часов от 0 до 24."), DbError::Kind::Conversion);
    // NaN and infinities come only from a stored price; no statement could carry them.
    static const QRegularExpression finite(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?(e[-+]?[0-9]+)?$"));
    if (!finite.match(v.price).hasMatch())
        throw DbError(QStringLiteral("Цена операции не является числом; выберите операцию заново."), DbError::Kind::Conversion);
}

QString wholeNumberText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) notAnInteger(text);
    for (QChar c : t)
        if (c < u'0' || c > u'9') notAnInteger(text);
    return t;
}

int wholeNumber(const QString& text)
{
    bool ok = false;
    const int n = wholeNumberText(text).toInt(&ok);
    if (!ok) notAnInteger(text);
    return n;
}

namespace entrysql {

QString duplicateCount(const EntryValues& v, const QString& changedId)
{
    QString s = QStringLiteral("select count(id) as cnt from accounts_dep.SMENA where w_id=%1 and o_id=%2 and i_id=%3")
                    .arg(v.worker)
                    .arg(v.operation)
                    .arg(v.product)
        + QStringLiteral(" and data=to_date('%1', 'DD.MM.YYYY') and smena=%2").arg(ddmmyyyy(v.date)).arg(v.shift);
    if (!changedId.isEmpty()) s += QStringLiteral(" and id<>") + changedId;
    return s + QStringLiteral(" and color=%1").arg(v.colour);
}

QString insert(const EntryValues& v)
{
    return QStringLiteral("insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, "
                          "vvod,ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) values(")
        + QStringLiteral("%1, %2, %3, ").arg(v.worker).arg(v.product).arg(v.operation) + v.price + u',' + v.quantity
        + QStringLiteral(", ") + v.rejects + QStringLiteral(", to_date('") + ddmmyyyy(v.date)
        + QStringLiteral("', 'DD.MM.YYYY HH24:MI:SS'), %1, %2, ").arg(v.shift).arg(v.colour) + v.hours + QStringLiteral(", '")
        + ddmmyyyy(v.entered) + QStringLiteral("', 'no', 0, 0, 0, 0, 0, 0)");
}

QString update(const EntryValues& v, const QString& id)
{
    return QStringLiteral("update accounts_dep.SMENA set w_id=%1, i_id=%2, o_id=%3, cena=").arg(v.worker).arg(v.product).arg(v.operation)
        + v.price + QStringLiteral(", kol_vo=") + v.quantity + QStringLiteral(", brak=") + v.rejects
        + QStringLiteral(", data=to_date('") + ddmmyyyy(v.date) + QStringLiteral("', 'DD.MM.YYYY'), smena=%1, color=%2, time=")
                                                                   .arg(v.shift)
                                                                   .arg(v.colour)
        + v.hours + QStringLiteral(", vvod='") + ddmmyyyy(v.entered)
        + QStringLiteral("', prize=0, id_doc=0, id_doc_item=0, f_gds_qty_use=0, id_gds_use=0, id_cons_use=0 where id=") + id;
}

QString remove(const QString& id)
{
    return QStringLiteral("delete from accounts_dep.smena where id=") + id;
}

QString setAcceptance()
{
    return QStringLiteral("update accounts_dep.smena set ok=:ok where id=:id");
}

}  // namespace entrysql

namespace {

// The save inside its work; a change's row is held already when the caller compared it as read.
Outcome saveIn(Work& work, const EntryValues& v, std::optional<int> changedId)
{
    std::vector<DayCell> cells{{v.worker, v.shift, v.date}};
    if (changedId)
        if (const std::optional<DayCell> before = lockEntry(work, *changedId)) cells.push_back(*before);
    // The worker's lock is the entry's too: a second workstation saving the same entry waits here and
    // then counts the first one's row.
    lockDayCells(work, cells);
    const QString self = changedId ? QString::number(*changedId) : QString();
    if (scalarInt(work.db(), entrysql::duplicateCount(v, self)) > 0) return Outcome::Duplicate;
    exec(work.db(), changedId ? entrysql::update(v, self) : entrysql::insert(v));
    bringInStep(work, cells);
    work.commit();
    return Outcome::Saved;
}

void deleteIn(Work& work, int id)
{
    const std::optional<DayCell> cell = lockEntry(work, id);
    exec(work.db(), entrysql::remove(QString::number(id)));
    // Another workstation deleted it first: its day is in step already.
    if (cell) {
        lockDayCells(work, {*cell});
        bringInStep(work, {*cell});
    }
    work.commit();
}

void acceptIn(Work& work, int id, bool accepted)
{
    // Held until the mark is written: a change or delete of the entry elsewhere waits for it.
    lockEntry(work, id);
    exec(work.db(), entrysql::setAcceptance(),
         {{QStringLiteral("ok"), accepted ? QStringLiteral("ok") : QStringLiteral("no")}, {QStringLiteral("id"), id}});
    work.commit();
}

const QString kEntryTable = QStringLiteral("smena");

}  // namespace

const QStringList& entryColumnsAsRead()
{
    static const QStringList columns{QStringLiteral("data"),  QStringLiteral("smena"),  QStringLiteral("w_id"),
                                     QStringLiteral("i_id"),  QStringLiteral("o_id"),   QStringLiteral("color"),
                                     QStringLiteral("time"),  QStringLiteral("kol_vo"), QStringLiteral("brak"),
                                     QStringLiteral("cena"),  QStringLiteral("ok")};
    return columns;
}

Outcome saveEntry(const Session& s, const EntryValues& v, std::optional<int> changedId)
{
    // Statement texts are checked before anything is sent.
    checkEntry(v);
    Work work(s, changedId ? Action::ChangeEntry : Action::AddEntry);
    return saveIn(work, v, changedId);
}

Answer saveEntry(const Session& s, const EntryValues& v, const RowAsRead& changed)
{
    checkEntry(v);
    Work work(s, Action::ChangeEntry);
    // The entry's row first, as every writer of an entry takes it, then the day locks.
    if (std::optional<Answer> refused = holdAsRead(work, kEntryTable, changed)) return *refused;
    return {saveIn(work, v, int(changed.id)), {}};
}

void deleteEntry(const Session& s, int id)
{
    Work work(s, Action::DeleteEntry);
    deleteIn(work, id);
}

Answer deleteEntry(const Session& s, const RowAsRead& entry)
{
    Work work(s, Action::DeleteEntry);
    if (std::optional<Answer> refused = holdAsRead(work, kEntryTable, entry)) return *refused;
    deleteIn(work, int(entry.id));
    return {};
}

void setAcceptance(const Session& s, int id, bool accepted)
{
    Work work(s, Action::AcceptEntry);
    acceptIn(work, id, accepted);
}

Answer setAcceptance(const Session& s, const RowAsRead& entry, bool accepted)
{
    Work work(s, Action::AcceptEntry);
    if (std::optional<Answer> refused = holdAsRead(work, kEntryTable, entry)) return *refused;
    acceptIn(work, int(entry.id), accepted);
    return {};
}

}  // namespace store

namespace store {

Outcome restoreEntry(const Session& s, qint64 historyId)
{
    Work work(s, Action::RestoreEntry);
    const Params h{{QStringLiteral("h"), historyId}};
    const FetchedRows found = fetch(
        work.db(),
        QStringLiteral("select row_id, old_row->>'w_id', old_row->>'smena', old_row->>'data', old_row->>'i_id', "
                       "old_row->>'o_id', old_row->>'color' from piecework.history where id=:h and tbl='smena' and op='delete'"),
        h);
    if (found.rows.empty())
        throw DbError(QStringLiteral("В истории нет удаления записи журнала с номером %1.").arg(historyId));
    const auto& r = found.rows.front();
    const QDate day = QDate::fromString(r.value(3).toString(), Qt::ISODate);
    std::vector<DayCell> cells;
    if (!r.value(1).isNull() && !r.value(2).isNull() && day.isValid())
        cells.push_back({r.value(1).toInt(), r.value(2).toInt(), day});
    lockDayCells(work, cells);
    if (scalarInt(work.db(), QStringLiteral("select count(*) as cnt from accounts_dep.smena where id=:id"),
                  {{QStringLiteral("id"), r.value(0)}}) > 0)
        return Outcome::Duplicate;
    if (!cells.empty()) {
        EntryValues v;
        v.worker = r.value(1).toInt();
        v.shift = r.value(2).toInt();
        v.date = day;
        v.product = r.value(4).toInt();
        v.operation = r.value(5).toInt();
        v.colour = r.value(6).toInt();
        if (scalarInt(work.db(), entrysql::duplicateCount(v, QString())) > 0) return Outcome::Duplicate;
    }
    exec(work.db(), QStringLiteral("insert into accounts_dep.smena select * from jsonb_populate_record(null::accounts_dep.smena, "
                                   "(select old_row from piecework.history where id=:h))"),
         h);
    bringInStep(work, cells);
    work.commit();
    return Outcome::Saved;
}

}  // namespace store
