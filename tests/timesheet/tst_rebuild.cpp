// The month rebuild against the database: the rows it leaves, all or nothing on a failure, and what a
// journal write or a rebuild on a second workstation at the same moment leaves.
#include "core/application.h"
#include "store/db_error.h"
#include "store/journal_store.h"
#include "store/store.h"
#include "store/time_sheet_rebuild.h"
#include "store/time_sheet_store.h"
#include "support/second_workstation.h"
#include "time_sheet_fixture.h"

#include <QSemaphore>
#include <QtTest>
#include <chrono>
#include <thread>

using fixture::entry;

namespace {

// April 2024 (30 days) with entries around it, entries that have no row to go to, and the time sheet
// as an earlier rebuild and since-deleted entries left it.
QString journal()
{
    QString sql = "drop trigger if exists h_tabel_fails on accounts_dep.h_tabel;\n"
                  "truncate accounts_dep.smena, accounts_dep.h_tabel restart identity;\n";
    sql += entry(1, 1, "2024-04-05", "4") + entry(1, 1, "2024-04-05", "5", "ok") + entry(1, 1, "2024-04-06", "3", "ta");
    sql += entry(1, 2, "2024-04-05", "2");
    sql += entry(2, 1, "2024-04-01", "1") + entry(2, 1, "2024-04-30", "8");
    sql += entry(3, 1, "2024-04-08", "") + entry(3, 1, "2024-04-08", "6");
    sql += entry(3, 3, "2024-04-07", "");
    sql += entry(4, 4, "2024-04-10", "7");
    sql += entry(1, 1, "2024-03-31", "5") + entry(1, 1, "2024-05-01", "5");
    sql += "insert into accounts_dep.smena (w_id, data, smena, time) values (null, '2024-04-11', 1, 3), (1, '2024-04-11', null, 3);\n";
    sql += entry(1, 1, "2024-02-01", "1") + entry(1, 1, "2024-02-29", "10");
    sql += "insert into accounts_dep.h_tabel (w_id, smena, month, year, d5, d31) values (1, 1, 4, 2024, 1, 1), (2, 3, 4, 2024, 99, 0),"
           " (1, 1, 3, 2024, 0, 7), (1, 1, 6, 2024, 5, 0);\n";
    return sql;
}

const QStringList kStaleApril{"1 1: 5=1 31=1", "3 2: 5=99"};
const QStringList kApril{"1 1: 5=9 6=3", "1 2: 1=1 30=8", "1 3: 8=6", "2 1: 5=2", "3 3:", "4 4: 10=7"};
const QStringList kMarch{"1 1: 31=7"};

const QDate kDay(2024, 4, 5);

// A 7-hour entry of worker 1 in shift 1 on kDay, as the entry editor saves it.
store::EntryValues sevenHours()
{
    store::EntryValues v;
    v.worker = v.product = v.operation = v.shift = 1;
    v.price = v.quantity = "1";
    v.rejects = "0";
    v.hours = "7";
    // A colour of its own: the fixture's entries of that day are not its duplicates.
    v.colour = 7;
    v.date = kDay;
    v.entered = QDate::currentDate();
    return v;
}

// Waits until a connection waits for one of the time sheet's locks.
bool someoneWaitsForTheMonth(const TestDatabase& db)
{
    for (int i = 0; i < 400; ++i) {
        if (db.value("select count(*) from pg_locks where locktype = 'advisory' and not granted") != "0") return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

}  // namespace

class RebuildTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    const store::Session program = fullAccess();

    QStringList rows(int month, int year = 2024) const { return fixture::monthRows(*db, month, year); }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(fixture::kWorkers);
    }
    void cleanupTestCase() { delete db; }
    void init()
    {
        db->connectProgram();
        db->exec(journal());
    }

    // One row per shift and worker with entries in the month, whatever their mark; each day the sum of
    // the hours (entries without hours count 0), 0 elsewhere. Other months stay as they are.
    void rowsOfTheMonth_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("30-day month, all shifts") << 4 << kApril;
        QTest::newRow("February of a leap year") << 2 << QStringList{"1 1: 1=1 29=10"};
        QTest::newRow("month without entries") << 6 << QStringList{};
    }
    void rowsOfTheMonth()
    {
        QFETCH(int, month);
        QFETCH(QStringList, expected);
        QList<int> told;
        store::rebuildMonth(program, month, 2024, [&told](int day) { told << day; });
        QCOMPARE(rows(month), expected);
        QCOMPARE(rows(3), kMarch);
        QCOMPARE(told.size(), QDate(2024, month, 1).daysInMonth());
        for (int i = 0; i < told.size(); ++i) QCOMPARE(told[i], i + 1);
    }

    void twiceLeavesTheSameRows()
    {
        store::rebuildMonth(program, 4, 2024);
        const QStringList ids = db->rows("select id from accounts_dep.h_tabel where month=4 order by id");
        store::rebuildMonth(program, 4, 2024);
        QCOMPARE(rows(4), kApril);
        QVERIFY(db->rows("select id from accounts_dep.h_tabel where month=4 order by id") != ids);
    }

    // A failure after the month's rows were deleted leaves them exactly as they were.
    void failureLeavesTheMonth_data()
    {
        QTest::addColumn<bool>("cutConnection");
        QTest::newRow("statement refused") << false;
        QTest::newRow("connection cut before the commit") << true;
    }
    void failureLeavesTheMonth()
    {
        QFETCH(bool, cutConnection);
        if (!cutConnection)
            db->exec("create or replace function accounts_dep.fails() returns trigger language plpgsql as $$ "
                     "begin raise exception 'табель закрыт'; end $$;\n"
                     "create trigger h_tabel_fails before insert on accounts_dep.h_tabel "
                     "for each row execute function accounts_dep.fails();");
        const QString backend = store::scalar(program.db, "select pg_backend_pid()").toString();
        QString error;
        try {
            store::rebuildMonth(program, 4, 2024, [&](int day) {
                if (cutConnection && day == 10) db->exec("select pg_terminate_backend(" + backend + ")");
            });
        } catch (const DbError& e) {
            error = e.text();
        }
        QVERIFY2(!error.isEmpty(), "the rebuild reported success");
        if (!cutConnection) QVERIFY2(error.contains("табель закрыт"), qPrintable(error));
        QCOMPARE(rows(4), kStaleApril);
    }

    // Another workstation saves or deletes an entry of the month while the rebuild runs: whichever
    // holds the month first, the cell ends with the journal's hours.
    void journalWriteOnAnotherWorkstation_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::addColumn<bool>("rebuildFirst");
        QTest::addColumn<QString>("cell");
        QTest::newRow("save, then the rebuild") << false << false << "1 1: 5=16 6=3";
        QTest::newRow("rebuild, then the save") << false << true << "1 1: 5=16 6=3";
        QTest::newRow("delete, then the rebuild") << true << false << "1 1: 5=5 6=3";
        QTest::newRow("rebuild, then the delete") << true << true << "1 1: 5=5 6=3";
    }
    void journalWriteOnAnotherWorkstation()
    {
        QFETCH(bool, deleting);
        QFETCH(bool, rebuildFirst);
        QFETCH(QString, cell);
        QSemaphore mayCommit;
        const int fourHours =
            db->value("select min(id) from accounts_dep.smena where w_id=1 and smena=1 and data='2024-04-05' and time=4").toInt();
        auto journalWrite = [&](const store::Session& b, SecondWorkstation& other) {
            if (rebuildFirst) {
                // The journal's own verbs, which wait for the rebuild that holds the month.
                other.reached();
                if (deleting) store::deleteEntry(b, fourHours);
                else store::saveEntry(b, sevenHours(), std::nullopt);
                return;
            }
            // The verbs' steps, held open between taking the month and the commit.
            store::Work work(b, store::Action::AddEntry);
            if (deleting) store::exec(b.db, store::entrysql::remove(QString::number(fourHours)));
            else store::exec(b.db, store::entrysql::insert(sevenHours()));
            store::lockDayCells(work, {{1, 1, kDay}});
            store::syncDayCell(work, {1, 1, kDay});
            // This write holds the month: the rebuild is about to wait for it.
            other.reached();
            mayCommit.acquire();
            work.commit();
        };
        std::unique_ptr<SecondWorkstation> other;
        std::thread release;
        bool waited = false;
        if (rebuildFirst) {
            store::rebuildMonth(program, 4, 2024, [&](int day) {
                if (day != 1) return;
                other = std::make_unique<SecondWorkstation>(db->odbcString(), journalWrite);
                other->waitUntilReached();
                waited = someoneWaitsForTheMonth(*db);
            });
        } else {
            other = std::make_unique<SecondWorkstation>(db->odbcString(), journalWrite);
            other->waitUntilReached();
            release = std::thread([&] {
                waited = someoneWaitsForTheMonth(*db);
                mayCommit.release();
            });
            store::rebuildMonth(program, 4, 2024);
        }
        other->join();
        if (release.joinable()) release.join();
        QVERIFY2(waited, "neither side waited for the other");
        QCOMPARE(other->error(), QString());
        QCOMPARE(rows(4).value(0), cell);
        QCOMPARE(rows(4).mid(1), kApril.mid(1));
    }

    // Two workstations rebuild the month at the same moment: one waits for the other, both succeed.
    void twoRebuildsAtOnce()
    {
        std::unique_ptr<SecondWorkstation> other;
        bool waited = false;
        store::rebuildMonth(program, 4, 2024, [&](int day) {
            if (day != 1) return;
            other = std::make_unique<SecondWorkstation>(db->odbcString(), [](const store::Session& b, SecondWorkstation& me) {
                me.reached();
                store::rebuildMonth(b, 4, 2024);
            });
            other->waitUntilReached();
            waited = someoneWaitsForTheMonth(*db);
        });
        other->join();
        QVERIFY(waited);
        QCOMPARE(other->error(), QString());
        QCOMPARE(rows(4), kApril);
    }
};

QTEST_MAIN(RebuildTest)
#include "tst_rebuild.moc"
