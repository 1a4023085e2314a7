#include "store/month_store.h"

#include "store/db_error.h"
#include "store/time_sheet_rebuild.h"
#include "store/time_sheet_store.h"

#include <QRegularExpression>


namespace store {
namespace {

std::function<void()>& closeHook()
{
    static std::function<void()> hook;
    return hook;
}

Params yearMonth(int year, int month)
{
    return {{QStringLiteral("yea"), year}, {QStringLiteral("mnth"), month}};
}

// Per worker from the journal, with `more` columns after the totals; parameters :data1 and :data2 (monthParams).
QString totalsFromJournal(const QString& more = QString())
{
    return QStringLiteral("select w_id, coalesce(sum(time), 0)::bigint as hours, coalesce(sum(kol_vo-brak), 0)::bigint as good, "
                          "coalesce(sum(round(((kol_vo-brak)*cena)::numeric, 2)), 0)::numeric(15,2) as earnings%1 "
                          "from accounts_dep.smena where data>=:data1 and data<:data2 and w_id is not null group by w_id")
        .arg(more);
}

std::vector<WorkerTotal> totals(const Db& db, const QString& sql, const Params& params)
{
    // The earnings as the database writes the number: exactly, with its two decimals.
    const FetchedRows rows = fetch(db, QStringLiteral("select w_id, hours, good, earnings::text as earnings from (%1) t order by 1").arg(sql),
                                   params);
    std::vector<WorkerTotal> out;
    for (const auto& r : rows.rows)
        out.push_back({r.value(0).toInt(), r.value(1).toLongLong(), r.value(2).toLongLong(), r.value(3).toString()});
    return out;
}

}  // namespace

std::optional<MonthClosure> monthClosure(const Db& db, int year, int month)
{
    const FetchedRows rows = fetch(db, QStringLiteral("select closed_at, db_user, actor, workstation, note from piecework.closed_month "
                       "where year=:yea and month=:mnth"), yearMonth(year, month));
    if (rows.rows.empty()) return std::nullopt;
    const auto& r = rows.rows.front();
    return MonthClosure{r.value(0).toDateTime(), r.value(1).toString(), r.value(2).toString(), r.value(3).toString(),
                        r.value(4).toString()};
}

std::vector<WorkerTotal> journalTotals(const Db& db, int year, int month)
{
    return totals(db, totalsFromJournal(), monthParams(month, year));
}

std::vector<WorkerTotal> closedTotals(const Db& db, int year, int month)
{
    return totals(db,
                  QStringLiteral("select w_id, hours, good_pieces as good, earnings from piecework.closed_total "
                                 "where year=:yea and month=:mnth"),
                  yearMonth(year, month));
}

QString closedMonthText(int year, int month)
{
    return QStringLiteral("Месяц %1.%2 закрыт: записи журнала и табеля за этот месяц изменять нельзя.")
        .arg(month, 2, 10, QChar(u'0'))
        .arg(year);
}

QString closedMonthMessage(const QString& driverText)
{
    static const QRegularExpression sentence(QStringLiteral("Месяц \\d{2}\\.\\d+ закрыт:[^\\n;]*?нельзя\\."));
    const QRegularExpressionMatch m = sentence.match(driverText);
    return m.hasMatch() ? m.captured(0) : driverText;
}

void refuseIfClosed(const Db& db, const QDate& day)
{
    if (day.isValid() && monthClosure(db, day.year(), day.month()))
        throw DbError(closedMonthText(day.year(), day.month()), DbError::Kind::MonthClosed, QStringLiteral("PW001"));
}

MonthChange closeMonth(const Session& s, int year, int month, const QString& note)
{
    const Params params = monthParams(month, year);
    Work work(s, Action::CloseMonth);
    const Db& db = work.db();
    // Every journal writer of the month holds this lock shared (the program's verbs, and the database's
    // trigger for everyone else): once it is ours, the journal of the month is what it will be when closed.
    lockMonthForRebuild(work, year, month);
    if (monthClosure(db, year, month)) return MonthChange::AlreadyThere;
    const int deleted = exec(db, timesheetsql::deleteMonth(), params);
    const int written = exec(db, timesheetsql::insertMonth(), params);
    exec(db, QStringLiteral("delete from piecework.closed_total where year=:yea and month=:mnth"), params);
    exec(db, QStringLiteral("insert into piecework.closed_total (w_id, hours, good_pieces, earnings, year, month) ")
                 + totalsFromJournal(QStringLiteral(", :yea, :mnth")),
         params);
    if (closeHook()) closeHook()();
    Params closed = params;
    closed.insert(QStringLiteral("actor"), s.actor.name());
    closed.insert(QStringLiteral("ws"), s.actor.workstation());
    closed.insert(QStringLiteral("note"), note);
    exec(db, QStringLiteral("insert into piecework.closed_month (year, month, actor, workstation, note) "
                            "values (:yea, :mnth, :actor, :ws, :note)"),
         closed);
    recordMonthEvent(work, QStringLiteral("close"), year, month,
                QStringLiteral("(select jsonb_build_object('note', :note::text, 'deleted', :deleted::integer, 'rows', :rows::integer, "
                               "'workers', count(*), 'hours', coalesce(sum(hours), 0), 'good_pieces', coalesce(sum(good_pieces), 0), "
                               "'earnings', coalesce(sum(earnings), 0)) from piecework.closed_total where year=:yea and month=:mnth)"),
                {{QStringLiteral("note"), note}, {QStringLiteral("deleted"), deleted}, {QStringLiteral("rows"), written}});
    work.commit();
    return MonthChange::Done;
}

MonthChange reopenMonth(const Session& s, int year, int month, const QString& reason)
{
    if (reason.trimmed().isEmpty()) throw DbError(reasonRequiredText());
    Work work(s, Action::CloseMonth);
    const Db& db = work.db();
    // One after the other with a close of the same month.
    lockMonthForRebuild(work, year, month);
    const std::optional<MonthClosure> was = monthClosure(db, year, month);
    if (!was) return MonthChange::AlreadyThere;
    exec(db, QStringLiteral("delete from piecework.closed_month where year=:yea and month=:mnth"), yearMonth(year, month));
    recordMonthEvent(work, QStringLiteral("reopen"), year, month,
                QStringLiteral("jsonb_build_object('reason', :reason::text, 'closed_at', :at::text, 'closed_by', :by::text, "
                               "'note', :note::text)"),
                {{QStringLiteral("reason"), reason},
                 {QStringLiteral("at"), was->at.toString(Qt::ISODate)},
                 {QStringLiteral("by"), was->actor.isEmpty() ? was->dbUser : was->actor},
                 {QStringLiteral("note"), was->note}});
    work.commit();
    return MonthChange::Done;
}

QString reasonRequiredText()
{
    return QStringLiteral("Укажите причину, по которой месяц открывается для изменений.");
}

void recordMonthEvent(Work& work, const QString& op, int year, int month, const QString& detailSql, const Params& detail)
{
    Params p = detail;
    p.insert(yearMonth(year, month));
    p.insert(QStringLiteral("op"), op);
    firstValue(work.db(),
               QStringLiteral("select 1 as done from (select piecework.month_event(:op::text, :yea::integer, :mnth::integer, %1)) e")
                   .arg(detailSql),
               p);
}

void setMonthCloseHook(std::function<void()> hook)
{
    closeHook() = std::move(hook);
}

}  // namespace store
