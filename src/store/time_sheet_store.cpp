#include "store/time_sheet_store.h"

#include "store/sql_text.h"

#include <algorithm>
#include <limits>

namespace store {
namespace {

// One bigint key per month for the month lock; the worker locks use the two-key form, a key space of its
// own, so the two never meet. The database's journal trigger takes the same key (piecework.month_lock in
// db/upgrade), so writers that take no locks of their own wait for a month's close too.
constexpr qint64 kMonthLockBase = 0x5057000000LL;

qint64 monthKey(int year, int month)
{
    return kMonthLockBase + year * 100 + month;
}

int workerMonthKey(const DayCell& c)
{
    return c.shift * 1000000 + c.day.year() * 100 + c.day.month();
}

QString rowOf(const DayCell& c)
{
    return QStringLiteral(" where w_id=%1 and smena=%2 and month=%3 and year=%4")
        .arg(c.worker)
        .arg(c.shift)
        .arg(c.day.month())
        .arg(c.day.year());
}

// A day's sum of hours as its cell holds it. The sum is read as the server computes it (bigint) and kept
// within the integer cell: the entries' own limit of 24 hours keeps real days far below the bounds, so only
// rows another writer left out of range reach them, and then the cell shows the most it can hold instead of
// a number wrapped round to a small, plausible one. The cell stays an integer column, as every workstation
// and the month's queries read it.
int cellHours(qint64 sum)
{
    return int(std::clamp<qint64>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::function<void(const DayCell&)>& dayCellReadHook()
{
    static std::function<void(const DayCell&)> hook;
    return hook;
}

}  // namespace

namespace timesheetsql {

QString hours(const DayCell& c)
{
    return QStringLiteral("select sum(time) as tim from accounts_dep.smena where w_id=%1 and smena=%2 and data=")
               .arg(c.worker)
               .arg(c.shift)
        + sqltext::date(c.day) + QStringLiteral(" group by w_id, smena, data");
}

QString countRows(const DayCell& c)
{
    return QStringLiteral("select count(w_id) as cnt from accounts_dep.h_tabel") + rowOf(c);
}

QString updateDay(const DayCell& c, int hours)
{
    return QStringLiteral("update accounts_dep.h_tabel set d%1=%2").arg(c.day.day()).arg(hours) + rowOf(c);
}

QString insertRow(const DayCell& c, int hours)
{
    return QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, d%1) values(%2, %3, %4, %5, %6)")
        .arg(c.day.day())
        .arg(c.shift)
        .arg(c.worker)
        .arg(c.day.month())
        .arg(c.day.year())
        .arg(hours);
}

QString deleteEmptyRow(const DayCell& c)
{
    QString s = QStringLiteral("delete from accounts_dep.h_tabel") + rowOf(c);
    for (int d = 1; d <= 31; ++d) s += QStringLiteral(" and d%1=0").arg(d);
    const QDate first(c.day.year(), c.day.month(), 1);
    return s
        + QStringLiteral(" and not exists (select 1 from accounts_dep.smena where w_id=%1 and smena=%2 and data>=")
              .arg(c.worker)
              .arg(c.shift)
        + sqltext::date(first) + QStringLiteral(" and data<") + sqltext::date(first.addMonths(1)) + u')';
}

}  // namespace timesheetsql

void lockDayCells(Work& work, std::vector<DayCell> cells)
{
    std::vector<qint64> months;
    std::vector<std::pair<int, int>> workers;
    for (const DayCell& c : cells) {
        months.push_back(monthKey(c.day.year(), c.day.month()));
        workers.emplace_back(c.worker, workerMonthKey(c));
    }
    std::sort(months.begin(), months.end());
    months.erase(std::unique(months.begin(), months.end()), months.end());
    std::sort(workers.begin(), workers.end());
    workers.erase(std::unique(workers.begin(), workers.end()), workers.end());
    for (qint64 m : months)
        scalar(work.db(), QStringLiteral("select count(*) as cnt from (select pg_advisory_xact_lock_shared(%1)) l").arg(m));
    for (const auto& [worker, key] : workers)
        scalar(work.db(), QStringLiteral("select count(*) as cnt from (select pg_advisory_xact_lock(%1, %2)) l").arg(worker).arg(key));
}

void lockMonthForRebuild(Work& work, int year, int month)
{
    scalar(work.db(), QStringLiteral("select count(*) as cnt from (select pg_advisory_xact_lock(%1)) l").arg(monthKey(year, month)));
}

void setDayCellReadHook(std::function<void(const DayCell&)> hook)
{
    dayCellReadHook() = std::move(hook);
}

void syncDayCell(Work& work, const DayCell& cell)
{
    const Db& db = work.db();
    // Each statement reads what other workstations committed before it, and the locks make sure no other
    // writer of this cell commits in between.
    // No row: the day has no entry left. Entries without hours count 0.
    const std::optional<QVariant> hours = firstValue(db, timesheetsql::hours(cell));
    const int h = hours && !hours->isNull() ? cellHours(hours->toLongLong()) : 0;
    const bool hasRow = scalarInt(db, timesheetsql::countRows(cell)) != 0;
    if (const auto& hook = dayCellReadHook()) hook(cell);
    if (hasRow) {
        exec(db, timesheetsql::updateDay(cell, h));
        // An entry left on the day keeps the row; the delete is sent only when it can find one, so adding
        // an entry never needs the right to delete time-sheet rows.
        if (!hours) exec(db, timesheetsql::deleteEmptyRow(cell));
    } else if (hours) {
        exec(db, timesheetsql::insertRow(cell, h));
    }
}

}  // namespace store
