// What the history costs and how fast it reads, measured in one run:
//   - a save of a journal entry (store::saveEntry, adds and changes in turn) with the history's triggers,
//     with the history trigger of the journal disabled on the same database, and on a database the previous
//     version made (no triggers of this version at all);
//   - the month rebuild (store::rebuildMonth) of 100,000 entries (1,200 time-sheet rows) with the time
//     sheet's closed-month trigger and with it disabled;
//   - with a history of 100,000 entries' changes (each entry added, then changed; one in ten deleted): one
//     entry's history read, and read into the window "История записи"; the first page of the period window
//     "Журнал изменений", with no filter and with a filter that finds few rows; the plans of both reads.
// Prints figures; asserts nothing.
//   history_bench [rounds]        (default 5)
#include "core/application.h"
#include "core/data_module.h"
#include "journal/changes_window.h"
#include "journal/entry_history_window.h"
#include "store/connection.h"
#include "store/journal_store.h"
#include "store/reads/history.h"
#include "store/time_sheet_rebuild.h"
#include "support/test_database.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTableWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// 300 workers, one product, one operation.
const char* kBooks = R"(
insert into accounts_dep.person (id, fio) select g, 'Работник ' || g from generate_series(1, 300) g;
insert into accounts_dep.izdel (id, marka, nom, massa) values (1, 'ПЛ-1', 'ПЛ', 1);
insert into accounts_dep.vid_oper (id, vid) values (1, 'Сварка');
insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (1, 1, 0, 1, 3.5);
)";

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// `saves` saves on one database: each a new entry of its own worker and day, or a change of the one before.
double secondsPerSave(const store::Session& s, int round, int saves)
{
    qint64 nanos = 0;
    QElapsedTimer t;
    std::optional<int> last;
    for (int i = 0; i < saves; ++i) {
        store::EntryValues v;
        v.worker = 1 + i % 300;
        v.product = 1;
        v.operation = 1;
        v.shift = 1 + i % 3;
        v.price = QStringLiteral("3.5");
        v.quantity = QString::number(1 + round);
        v.rejects = QStringLiteral("0");
        v.hours = QString::number(1 + i % 8);
        v.colour = round;
        v.date = QDate(2024, 1, 1).addDays(i / 300);
        v.entered = v.date;
        t.start();
        if (i % 2 == 1 && last) {
            v.quantity = QString::number(100 + round);
            store::saveEntry(s, v, *last);
            nanos += t.nsecsElapsed();
        } else {
            store::saveEntry(s, v, std::nullopt);
            nanos += t.nsecsElapsed();
            last = store::scalar(s.db, QStringLiteral("select max(id) from accounts_dep.smena")).toInt();
        }
    }
    return nanos / 1e9 / saves;
}

template <typename F>
double millis(F f, int times)
{
    std::vector<double> v;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer t;
        t.start();
        f(i);
        v.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(v);
}

QString explain(const TestDatabase& db, const QString& sql)
{
    return db.rows(QStringLiteral("explain (analyze, costs off, timing off) ") + sql).join(u'\n');
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setWorkstationLocale();
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    constexpr int kSaves = 200;

    TestDatabase db(kBooks);
    TestDatabase older(kBooks, QStringLiteral("C.UTF-8"), TestDatabase::Schema::BeforeUpgrades);
    openConnection(QStringLiteral("bench"), db.odbcString());
    openConnection(QStringLiteral("bench older"), older.odbcString());
    const store::Actor actor{store::Role::Full, QString(), QStringLiteral("cex-2"), QStringLiteral("ivanova")};
    const store::Session current{store::Db{QStringLiteral("bench")}, actor};
    const store::Session previous{store::Db{QStringLiteral("bench older")}, actor};

    // Saves, the three ways in turn, so that whatever else the machine does falls on all of them.
    std::vector<double> on, historyOff, noTriggers;
    for (int r = 0; r < rounds; ++r) {
        on.push_back(secondsPerSave(current, 2 * r, kSaves));
        db.exec("alter table accounts_dep.smena disable trigger piecework_history");
        historyOff.push_back(secondsPerSave(current, 2 * r + 1, kSaves));
        db.exec("alter table accounts_dep.smena enable trigger piecework_history");
        noTriggers.push_back(secondsPerSave(previous, r, kSaves));
    }
    std::printf("save (%d saves a round, %d rounds, medians of ms per save)\n", kSaves, rounds);
    std::printf("  with the history:                     %.3f ms\n", median(on) * 1e3);
    std::printf("  history trigger disabled:             %.3f ms   ratio %.2f (at most 1.3)\n", median(historyOff) * 1e3,
                median(on) / median(historyOff));
    std::printf("  database of the previous version:     %.3f ms   ratio %.2f (at most 1.3)\n", median(noTriggers) * 1e3,
                median(on) / median(noTriggers));

    // The month rebuild.
    db.exec("truncate accounts_dep.smena, accounts_dep.h_tabel; truncate piecework.history;"
            "insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, time, ok) "
            "select 1 + g % 300, 1, 1, 1, 0, date '2024-04-01' + (g / 1200) % 30, 1 + (g / 300) % 4, 3.5, 1 + g % 8, 'no' "
            "from generate_series(1, 100000) g; analyze;");
    const QString closedGuards = QStringLiteral("%1 trigger piecework_closed_insert, %1 trigger piecework_closed_update, "
                                                "%1 trigger piecework_closed_delete");
    std::vector<double> rebuildOn, rebuildOff;
    auto rebuildMs = [&] {
        QElapsedTimer t;
        t.start();
        store::rebuildMonth(current, 4, 2024);
        return t.nsecsElapsed() / 1e6;
    };
    // In turns, each first every other round: a machine shared with others slows one run or another.
    for (int r = 0; r < 2 * rounds; ++r) {
        if (r % 2 == 0) rebuildOn.push_back(rebuildMs());
        db.exec(QStringLiteral("alter table accounts_dep.h_tabel ") + closedGuards.arg("disable"));
        rebuildOff.push_back(rebuildMs());
        db.exec(QStringLiteral("alter table accounts_dep.h_tabel ") + closedGuards.arg("enable"));
        if (r % 2 == 1) rebuildOn.push_back(rebuildMs());
    }
    std::printf("month rebuild (%s time-sheet rows, %d rounds, medians)\n",
                qPrintable(db.value("select count(*) from accounts_dep.h_tabel where year = 2024 and month = 4")), 2 * rounds);
    std::printf("  with the triggers:                    %.1f ms\n", median(rebuildOn));
    std::printf("  closed-month triggers disabled:       %.1f ms   ratio %.2f (at most 1.1)\n", median(rebuildOff),
                median(rebuildOn) / median(rebuildOff));
    // The triggers' own time, as the server counts it: free of what else the machine does meanwhile.
    {
        QString pair = QStringLiteral("begin;\nexplain (analyze, costs off) ") + store::timesheetsql::deleteMonth()
                       + QStringLiteral(";\nexplain (analyze, costs off) ") + store::timesheetsql::insertMonth()
                       + QStringLiteral(";\nrollback;\n");
        pair.replace(QStringLiteral(":mnth"), QStringLiteral("4"));
        pair.replace(QStringLiteral(":yea"), QStringLiteral("2024"));
        pair.replace(QStringLiteral(":data1"), QStringLiteral("date '2024-04-01'"));
        pair.replace(QStringLiteral(":data2"), QStringLiteral("date '2024-05-01'"));
        // One session, three times: the last run's figures, once the trigger's function is compiled.
        const QStringList lines = db.rows(pair + pair + pair);
        double triggers = 0;
        double total = 0;
        static const QRegularExpression trigger(QStringLiteral("Trigger piecework_closed_\\w+: time=([\\d.]+)"));
        static const QRegularExpression execution(QStringLiteral("Execution Time: ([\\d.]+) ms"));
        for (qsizetype i = lines.size() * 2 / 3; i < lines.size(); ++i) {
            if (const auto m = trigger.match(lines[i]); m.hasMatch()) triggers += m.captured(1).toDouble();
            if (const auto m = execution.match(lines[i]); m.hasMatch()) total += m.captured(1).toDouble();
        }
        std::printf("  the closed-month triggers' own time:  %.2f ms of %.1f ms in the server (%.1f%%)\n", triggers, total,
                    total > 0 ? 100 * triggers / total : 0);
    }

    // A history of 100,000 entries' changes: added, changed, one in ten deleted; the entries spread over
    // the days of a year and the history over the last 60 days.
    db.exec("truncate accounts_dep.smena, accounts_dep.h_tabel; truncate piecework.history;"
            "insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, time, ok) "
            "select 1 + g % 300, 1, 1, 1 + g % 20, 0, date '2024-01-01' + (g / 300) % 365, 1 + g % 3, 3.5, 1 + g % 8, 'no' "
            "from generate_series(1, 100000) g;"
            "update accounts_dep.smena set kol_vo = kol_vo + 1, time = time % 8 + 1;"
            "delete from accounts_dep.smena where id % 10 = 0;"
            "update piecework.history set at = at - (id % 60) * interval '1 day';"
            "analyze;");
    std::printf("history: %s rows (%s entries)\n", qPrintable(db.value("select count(*) from piecework.history")),
                qPrintable(db.value("select count(distinct row_id) from piecework.history")));

    db.connectProgram();
    const int firstId = db.value("select min(id) from accounts_dep.smena").toInt();
    const double readEntry = millis(
        [&](int i) { store::reads::entryHistory(store::programDb(), firstId + 37 * i); }, 50);
    TForm25 entryWindow(*DataModule6);
    const double entryToWindow = millis(
        [&](int i) {
            const int id = firstId + 37 * i;
            entryWindow.presetFor({id, QStringLiteral("Работник"), QDate(2024, 1, 1).addDays(i), 1, nullptr});
        },
        50);
    std::printf("the entry's history (3 versions), medians of 50\n");
    std::printf("  read:                                 %.2f ms (under 50)\n", readEntry);
    std::printf("  into the window, with the day's deletions: %.2f ms (under 50)\n", entryToWindow);
    std::printf("  the day's deletions alone:            %.2f ms\n",
                millis([&](int i) { store::reads::entriesDeletedFrom(store::programDb(), QDate(2024, 1, 1).addDays(i), 1); }, 20));

    TForm26 changesWindow(*DataModule6);
    const QDate today = QDate::currentDate();
    changesWindow.DateFrom->setDate(today.addDays(-90));
    changesWindow.DateTo->setDate(today);
    const double firstPage = millis([&](int) { changesWindow.ShowButtonClick(); }, 10);
    const int shown = changesWindow.ChangesGrid->rowCount();
    changesWindow.WorkstationEdit->setText(QStringLiteral("nobody"));
    const double selective = millis([&](int) { changesWindow.ShowButtonClick(); }, 5);
    changesWindow.WorkstationEdit->clear();
    changesWindow.ShowButtonClick();
    const double nextPage = millis(
        [&](int) {
            if (changesWindow.MoreButton->isEnabled()) changesWindow.MoreButton->click();
        },
        10);
    std::printf("the period window, 90 days (medians)\n");
    std::printf("  first page (%d rows) into the window: %.1f ms (under 1000)\n", shown, firstPage);
    std::printf("  a filter nothing matches (whole period scanned): %.1f ms\n", selective);
    std::printf("  a next page:                          %.1f ms\n", nextPage);

    std::printf("\nplan of the entry's history:\n%s\n",
                qPrintable(explain(db, QStringLiteral("select * from piecework.history h where h.tbl = 'smena' and h.row_id = %1 "
                                                      "order by h.id")
                                           .arg(firstId))));
    std::printf("\nplan of the day's deletions:\n%s\n",
                qPrintable(explain(db, QStringLiteral("select h.id from piecework.history h where h.tbl = 'smena' and h.op = 'delete' "
                                                      "and h.old_row->>'data' = '2024-02-01' and h.old_row->>'smena' = '1' "
                                                      "and not exists (select from accounts_dep.smena s where s.id = h.row_id) "
                                                      "and not exists (select from piecework.history later where later.tbl = 'smena' "
                                                      "and later.row_id = h.row_id and later.id > h.id and later.op = 'delete')"))));
    std::printf("\nplan of the first page:\n%s\n",
                qPrintable(explain(db, QStringLiteral("select * from piecework.history h where h.at >= date '%1' and h.at < date '%2' "
                                                      "order by h.at desc, h.id desc limit 201")
                                           .arg(today.addDays(-90).toString(Qt::ISODate), today.addDays(1).toString(Qt::ISODate)))));
    return 0;
}
