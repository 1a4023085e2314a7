#include "store/time_sheet_rebuild.h"

#include "store/month_store.h"
#include "store/time_sheet_store.h"

#include <QStringList>

namespace store {

namespace timesheetsql {

QString deleteMonth()
{
    return QStringLiteral("delete from accounts_dep.h_tabel where month=:mnth and year=:yea");
}

QString insertMonth()
{
    // The journal is summed per worker, shift and date first (a few entries each), then the dates of
    // a worker's shift are spread over the day columns. Entries without a worker or a shift have no
    // row to go to. A day's sum is kept within the integer cell, as syncDayCell keeps it: hours another
    // writer left out of range fill the cell instead of failing the whole month.
    QStringList columns;
    QStringList days;
    for (int d = 1; d <= 31; ++d) {
        columns << QStringLiteral("d%1").arg(d);
        days << QStringLiteral("sum(case when day=%1 then tim else 0 end)").arg(d);
    }
    return QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, ") + columns.join(QStringLiteral(", "))
        + QStringLiteral(")\nselect smena, w_id, :mnth, :yea, ") + days.join(QStringLiteral(", "))
        + QStringLiteral("\nfrom (select smena, w_id, extract(day from data)::integer as day, "
                         "least(greatest(coalesce(sum(time), 0), -2147483648), 2147483647) as tim"
                         "\nfrom accounts_dep.smena where data>=:data1 and data<:data2 and smena is not null and w_id is not null"
                         "\ngroup by smena, w_id, data) days\ngroup by smena, w_id");
}

}  // namespace timesheetsql

Params monthParams(int month, int year)
{
    const QDate first(year, month, 1);
    return {{QStringLiteral("mnth"), month},
            {QStringLiteral("yea"), year},
            {QStringLiteral("data1"), first},
            {QStringLiteral("data2"), first.addMonths(1)}};
}

void rebuildMonth(const Session& s, int month, int year, const std::function<void(int day)>& progress)
{
    const Params params = monthParams(month, year);
    Work work(s, Action::TimeSheet);
    const Db& db = work.db();
    // A statement of its own, before anything reads the journal: each later statement then sees every
    // entry committed by a writer that held the month before us.
    lockMonthForRebuild(work, year, month);
    // Said in the program's words even when the closed month has no rows the database would refuse.
    refuseIfClosed(db, QDate(year, month, 1));
    const int deleted = exec(db, timesheetsql::deleteMonth(), params);
    const int written = exec(db, timesheetsql::insertMonth(), params);
    recordMonthEvent(work, QStringLiteral("rebuild"), year, month,
                     QStringLiteral("jsonb_build_object('deleted', :deleted::integer, 'rows', :rows::integer)"),
                     {{QStringLiteral("deleted"), deleted}, {QStringLiteral("rows"), written}});
    // Every day is written by the one statement above; the days are told once it has run.
    if (progress)
        for (int day = 1, days = QDate(year, month, 1).daysInMonth(); day <= days; ++day) progress(day);
    work.commit();
}

}  // namespace store
