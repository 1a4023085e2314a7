// Four workstations, each a process of its own with its own connection, add, change and delete entries of
// one worker's two days at once for many rounds: whenever one looks, and at the end, each day's time-sheet
// cell equals the journal's committed hours of that day.
#include "core/application.h"
#include "support/books_fixture.h"
#include "support/test_database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>
#include <memory>
#include <vector>

namespace {



constexpr int kWorkstations = 4;
constexpr int kRounds = 500;

// One statement, so one snapshot: each day's cell (0 when the worker has no row) against the day's hours.
const char* kInStep = R"(
select bool_and(coalesce(cell, 0) = hours) from (
  select (select case d.day when 11 then h.d11 else h.d12 end from accounts_dep.h_tabel h
          where h.w_id = 1 and h.smena = 1 and h.month = 3 and h.year = 2024) as cell,
         (select coalesce(sum(time), 0) from accounts_dep.smena s
          where s.w_id = 1 and s.smena = 1 and s.data = make_date(2024, 3, d.day)) as hours
  from (values (11), (12)) d(day)) x
)";

}  // namespace

class DayRaceTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(booksFixture());
    }
    void cleanupTestCase() { delete db; }

    void cellAlwaysEqualsTheJournal()
    {
        const QString writer = QCoreApplication::applicationDirPath() + "/reliability_day_writer";
        std::vector<std::unique_ptr<QProcess>> workstations;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < kWorkstations; ++i) {
            auto p = std::make_unique<QProcess>();
            p->start(writer, {db->name(), QString::number(1000 + i), QString::number(kRounds)});
            QVERIFY2(p->waitForStarted(), qPrintable(p->errorString()));
            workstations.push_back(std::move(p));
        }
        int looks = 0, outOfStep = 0;
        auto running = [&] {
            for (auto& p : workstations)
                if (p->state() != QProcess::NotRunning) return true;
            return false;
        };
        while (running() && clock.elapsed() < 120000) {
            ++looks;
            if (db->value(kInStep) != "t") ++outOfStep;
            for (auto& p : workstations) p->waitForFinished(20);
        }
        QStringList reports;
        for (auto& p : workstations) {
            QVERIFY(p->state() == QProcess::NotRunning || p->waitForFinished(10000));
            reports << QString::fromUtf8(p->readAllStandardOutput()).trimmed();
            QVERIFY2(p->exitCode() == 0, qPrintable(QString::fromUtf8(p->readAllStandardError())));
        }
        qInfo("%d workstations x %d rounds in %lld ms; %d looks during the race", kWorkstations, kRounds, clock.elapsed(), looks);
        for (const QString& r : reports) qInfo("%s", qPrintable(r));
        QCOMPARE(outOfStep, 0);
        QCOMPARE(db->value(kInStep), QString("t"));
        QVERIFY(db->value("select count(*) from accounts_dep.smena").toInt() > 0);
    }
};

QTEST_MAIN(DayRaceTest)
#include "tst_day_race.moc"
