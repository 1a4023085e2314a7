// A workstation that stops in the middle of a write, holding rows and months the others need: frozen inside
// its transaction (a hung program, a machine put to sleep), or its session killed. The others are told busy
// after the lock timeout and never wait longer, the server ends the frozen session, nothing it began is
// left behind, and the stopped workstation's next action connects again.
#include "store/connection.h"
#include "store/db_error.h"
#include "store/journal_store.h"
#include "store/store.h"
#include "store/time_sheet_rebuild.h"
#include "store/time_sheet_store.h"
#include "support/books_fixture.h"
#include "support/second_workstation.h"
#include "support/test_database.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QSemaphore>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

const char* kWorkers = R"(
insert into accounts_dep.person (id, fio) values (2, 'Борисов Б.Б.');
select setval('accounts_dep.person_id_seq', 100);
)";

// March 2024: worker 2 has 4 hours on the 12th with its day, and a day in shift 2 no entry stands behind
// (the month's rebuild removes it).
const char* kMarch = R"(
truncate accounts_dep.smena, accounts_dep.h_tabel restart identity;
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok, vvod)
    values (2, 10, 20, 1, 0, '2024-03-12', 1, 3.5, 0, 4, 'no', '2024-03-12');
insert into accounts_dep.h_tabel (w_id, smena, month, year, d12) values (2, 1, 3, 2024, 4);
insert into accounts_dep.h_tabel (w_id, smena, month, year, d1) values (2, 2, 3, 2024, 9);
)";

const QDate kDay(2024, 3, 11);

// What an action ended with: "" when it went through, else the error's kind.
template <typename F>
QString outcome(F action)
{
    try {
        action();
        return QString();
    } catch (const DbError& e) {
        switch (e.kind()) {
        case DbError::Kind::Busy: return "busy";
        case DbError::Kind::ConnectionLost: return "lost";
        default: return e.text();
        }
    }
}

}  // namespace

class StoppedWorkstationTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    store::Session program;

    QStringList month() const
    {
        return db->rows("select w_id, smena, d1, d11, d12 from accounts_dep.h_tabel where month = 3 and year = 2024 "
                        "order by w_id, smena");
    }
    QStringList entries() const { return db->rows("select w_id, time from accounts_dep.smena order by id"); }

private slots:
    void initTestCase()
    {
        db = new TestDatabase(booksFixture() + kWorkers);
        db->connectProgram();
        program = fullAccess();
    }
    void cleanupTestCase() { delete db; }
    void init() { db->exec(kMarch); }

    // The other workstation stops inside its save, after taking the month, worker 1's days and writing its
    // entry. This one is told busy after the lock timeout, for the same worker's save and for the month's
    // rebuild; the server ends the frozen session after the program's bound, and the save then goes through.
    void frozenInsideATransaction()
    {
        QSemaphore stopped;
        QSemaphore wakeUp;
        std::atomic<bool> once = false;
        store::setDayCellReadHook([&](const store::DayCell&) {
            if (once.exchange(true)) return;
            stopped.release();
            wakeUp.acquire();
        });
        const auto noHook = qScopeGuard([] { store::setDayCellReadHook({}); });
        SecondWorkstation other(db->odbcString(), [](const store::Session& b, SecondWorkstation&) {
            store::saveEntry(b, fixtureEntry("1", "7", 0, kDay), std::nullopt);
        });
        // Whatever fails here, the other workstation is let go before it is waited for.
        const auto letGo = qScopeGuard([&] { wakeUp.release(); });
        QVERIFY(stopped.tryAcquire(1, 10000));
        QElapsedTimer idle;
        idle.start();

        for (const auto& [what, action] : std::initializer_list<std::pair<const char*, std::function<void()>>>{
                 {"save", [&] { store::saveEntry(program, fixtureEntry("1", "5", 0, kDay), std::nullopt); }},
                 {"rebuild", [&] { store::rebuildMonth(program, 3, 2024); }}}) {
            QElapsedTimer waited;
            waited.start();
            QCOMPARE(outcome(action), QString("busy"));
            qInfo("%s told busy after %lld ms", what, waited.elapsed());
            QVERIFY(waited.elapsed() < (kLockTimeoutSeconds + 2) * 1000);
        }

        // Past the bound, the frozen session is gone and with it its entry: the same entry is no duplicate.
        QTest::qWait(qMax<qint64>(0, (kIdleTransactionSeconds + 1) * 1000 - idle.elapsed()));
        QCOMPARE(outcome([&] { store::saveEntry(program, fixtureEntry("1", "5", 0, kDay), std::nullopt); }), QString());
        wakeUp.release();
        other.join();
        QVERIFY2(!other.error().isEmpty(), "the frozen workstation's save went through");
        QCOMPARE(entries(), QStringList({"2|4", "1|5"}));
        QCOMPARE(month(), QStringList({"1|1|0|5|0", "2|1|0|0|4", "2|2|9|0|0"}));
    }

    // The other workstation's session is killed while its rebuild holds the month, between deleting the
    // month's rows and committing: this workstation's save, waiting for the month, goes on; the month is as it
    // was; the other's next rebuild connects again and brings the month in step.
    void killedHoldingTheMonth()
    {
        QSemaphore stopped;
        QSemaphore wakeUp;
        std::atomic<qint64> killed = 0;
        std::atomic<qint64> reconnected = 0;
        std::atomic<bool> toldLost = false;
        SecondWorkstation other(db->odbcString(), [&](const store::Session& b, SecondWorkstation&) {
            killed = store::scalarInt(b.db, "select pg_backend_pid()");
            toldLost = outcome([&] {
                           store::rebuildMonth(b, 3, 2024, [&](int day) {
                               if (day != 1) return;
                               stopped.release();
                               wakeUp.acquire();
                           });
                       })
                == "lost";
            reconnected = store::scalarInt(b.db, "select pg_backend_pid()");
            store::rebuildMonth(b, 3, 2024);
        });
        const auto letGo = qScopeGuard([&] { wakeUp.release(); });
        QVERIFY(stopped.tryAcquire(1, 10000));

        // Killed a moment after this workstation began to wait for the month.
        std::thread kill([&] {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            db->exec(QString("select pg_terminate_backend(%1)").arg(killed.load()));
        });
        QElapsedTimer waited;
        waited.start();
        const QString saved = outcome([&] { store::saveEntry(program, fixtureEntry("1", "5", 0, kDay), std::nullopt); });
        kill.join();
        qInfo("the save waited %lld ms for the killed workstation's month", waited.elapsed());
        QCOMPARE(saved, QString());
        QCOMPARE(month(), QStringList({"1|1|0|5|0", "2|1|0|0|4", "2|2|9|0|0"}));

        wakeUp.release();
        other.join();
        QCOMPARE(other.error(), QString());
        QVERIFY(toldLost);
        QVERIFY(reconnected != killed);
        QCOMPARE(month(), QStringList({"1|1|0|5|0", "2|1|0|0|4"}));
    }
};

QTEST_MAIN(StoppedWorkstationTest)
#include "tst_stopped_workstation.moc"
