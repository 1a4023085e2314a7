#pragma once
#include "support/test_database.h"

#include <QString>
#include <QStringList>

namespace fixture {

// Workers 1 ... 4; the display names sort in id order.
inline const char* kWorkers = R"(
insert into accounts_dep.person (id, fio) values
    (1, 'Андреев А.А.'), (2, 'Борисов Б.Б.'), (3, 'Васильев В.В.'), (4, 'Григорьев Г.Г.');
)";

// A journal entry of a worker in a shift on a date ('YYYY-MM-DD'), with hours (empty: none).
inline QString entry(int worker, int shift, const QString& date, const QString& hours, const QString& ok = "no")
{
    return QStringLiteral("insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, time, ok) "
                          "values (%1, 1, 1, 1, 0, '%3', %2, 1, %4, '%5');\n")
        .arg(worker)
        .arg(shift)
        .arg(date, hours.isEmpty() ? QStringLiteral("null") : hours, ok);
}

// The month's time-sheet rows as "shift worker: day=hours ..." with the days that are not 0, in
// shift and worker order.
inline QStringList monthRows(const TestDatabase& db, int month, int year)
{
    QStringList days;
    for (int d = 1; d <= 31; ++d) days << QStringLiteral("d%1").arg(d);
    return db.rows(QStringLiteral("select h.smena || ' ' || h.w_id || ':' || coalesce((select string_agg(' ' || d.n || '=' || d.v, '' "
                                  "order by d.n) from unnest(array[%1]) with ordinality d(v, n) where d.v <> 0), '') "
                                  "from accounts_dep.h_tabel h where month=%2 and year=%3 order by smena, w_id")
                       .arg(days.join(u','))
                       .arg(month)
                       .arg(year));
}

}  // namespace fixture
