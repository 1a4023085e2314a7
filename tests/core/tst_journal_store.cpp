// The journal's writes on two workstations at once: whatever the order, the time-sheet cell ends equal
// to the journal's committed hours.
#include "core/application.h"
#include "store/connection.h"
#include "core/data_module.h"
#include "store/db_error.h"
#include "store/journal_store.h"
#include "store/time_sheet_store.h"
#include "support/second_workstation.h"
#include "support/books_fixture.h"
#include "support/test_database.h"

#include <QtTest>
#include <chrono>
#include <functional>
#include <thread>

namespace {



const QDate kDay(2024, 3, 11);

// The second workstation, on its own thread only: its day-cell writes pause there.
thread_local SecondWorkstation* pausing = nullptr;

void pauseBetweenReadAndWrite(const store::DayCell&)
{
    if (!pausing) return;
    pausing->reached();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
}

store::EntryValues entry(const QString& hours, int colour, const QDate& day = kDay)
{
    return fixtureEntry(QStringLiteral("1"), hours, colour, day);
}

}  // namespace

class JournalStoreTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;

    QString sheet(const QString& columns)
    {
        return db->rows("select " + columns + " from accounts_dep.h_tabel where w_id = 1 and smena = 1 and month = 3 and year = 2024")
            .join(';');
    }
    QString journalHours()
    {
        return db->value("select coalesce(sum(time), 0) from accounts_dep.smena where w_id = 1 and smena = 1 and data = '2024-03-11'");
    }
    // The first entry of the worker's day, committed by the fixture.
    int firstEntry() { return db->value("select min(id) from accounts_dep.smena where data = '2024-03-11'").toInt(); }

    // Runs `there` (verbs of the store) on a second workstation whose syncDayCell pauses half a second
    // between reading the journal and writing the cell, and runs `here` on this workstation from the moment
    // the other has read: without the locks, this workstation's write falls between the other's read and
    // write.
    void onTwoWorkstations(const std::function<void(const store::Session&)>& there, const std::function<void()>& here)
    {
        SecondWorkstation other(db->odbcString(), [&](const store::Session& b, SecondWorkstation& self) {
            pausing = &self;
            there(b);
            pausing = nullptr;
        });
        other.waitUntilReached();
        here();
        other.join();
        QCOMPARE(other.error(), QString());
    }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(booksFixture());
        db->connectProgram();
        store::setDayCellReadHook(pauseBetweenReadAndWrite);
    }
    void cleanupTestCase()
    {
        store::setDayCellReadHook({});
        delete db;
    }
    void init()
    {
        db->exec("truncate accounts_dep.smena, accounts_dep.h_tabel restart identity");
        store::saveEntry(fullAccess(), entry("3", 0), std::nullopt);
    }

    // One workstation saves a second entry of the worker's day while the other deletes the first: in both
    // orders, with and without another day of the month in the worker's row.
    void saveRacesDelete_data()
    {
        QTest::addColumn<bool>("saveFirst");
        QTest::addColumn<bool>("otherDay");
        QTest::newRow("save holds the lock, delete waits") << true << false;
        QTest::newRow("delete holds the lock, save waits") << false << false;
        QTest::newRow("save first, another day in the month") << true << true;
        QTest::newRow("delete first, another day in the month") << false << true;
    }
    void saveRacesDelete()
    {
        QFETCH(bool, saveFirst);
        QFETCH(bool, otherDay);
        if (otherDay) store::saveEntry(fullAccess(), entry("4", 0, kDay.addDays(-1)), std::nullopt);
        const int first = firstEntry();
        if (saveFirst) {
            onTwoWorkstations([](const store::Session& b) { store::saveEntry(b, entry("5", 7), std::nullopt); },
                              [&] { store::deleteEntry(fullAccess(), first); });
        } else {
            onTwoWorkstations([&](const store::Session& b) { store::deleteEntry(b, first); },
                              [] { store::saveEntry(fullAccess(), entry("5", 7), std::nullopt); });
        }
        QCOMPARE(journalHours(), QString("5"));
        QCOMPARE(sheet("d10, d11"), otherDay ? QString("4|5") : QString("0|5"));
    }

    // Two workstations add the same entry at the same moment: the second waits for the first one's worker
    // lock, then counts its row. One row stays, and the second is told Duplicate.
    void sameEntryOnTwoWorkstations()
    {
        std::optional<store::Outcome> there, here;
        onTwoWorkstations([&](const store::Session& b) { there = store::saveEntry(b, entry("5", 7), std::nullopt); },
                          [&] { here = store::saveEntry(fullAccess(), entry("5", 7), std::nullopt); });
        QVERIFY(there == store::Outcome::Saved);
        QVERIFY(here == store::Outcome::Duplicate);
        QCOMPARE(db->value("select count(*) from accounts_dep.smena where color = 7"), QString("1"));
        QCOMPARE(sheet("d11"), QString("8"));
    }

    // The last entry of a day goes: the day becomes 0 and the month's other days stay; the row goes with
    // the worker's last entry of the month.
    void deleteKeepsTheMonth()
    {
        store::saveEntry(fullAccess(), entry("4", 0, kDay.addDays(1)), std::nullopt);
        store::deleteEntry(fullAccess(), firstEntry());
        QCOMPARE(sheet("d11, d12"), QString("0|4"));
        store::deleteEntry(fullAccess(), db->value("select min(id) from accounts_dep.smena").toInt());
        QCOMPARE(sheet("count(*)"), QString("0"));
    }

    // A change that moves the entry to another day brings both days in step.
    void changeMovesTheHours()
    {
        store::saveEntry(fullAccess(), entry("6", 0, kDay.addDays(1)), firstEntry());
        QCOMPARE(sheet("d11, d12"), QString("0|6"));
        QCOMPARE(db->value("select count(*) from accounts_dep.smena"), QString("1"));
    }

    // A save the database refuses leaves neither the entry nor the cell; a deleted entry gone already
    // (another workstation deleted it) deletes nothing and changes no cell.
    void failuresLeaveNothingHalfDone()
    {
        const QString before = sheet("d11");
        QVERIFY_THROWS_EXCEPTION(DbError, store::saveEntry(fullAccess(), entry("x", 0), std::nullopt));
        db->exec("create or replace function pw_refuse() returns trigger language plpgsql as "
                 "$$ begin raise exception 'табель закрыт'; end $$;"
                 "create trigger h_tabel_refuses before update or insert on accounts_dep.h_tabel "
                 "for each row execute function pw_refuse()");
        try {
            store::saveEntry(fullAccess(), entry("2", 5), std::nullopt);
            QFAIL("the refused save went through");
        } catch (const DbError& e) {
            QVERIFY2(e.text().contains("табель закрыт"), qPrintable(e.text()));
            QCOMPARE(e.kind(), DbError::Kind::Refused);
            QCOMPARE(e.sqlState(), QString("P0001"));
        }
        db->exec("drop trigger h_tabel_refuses on accounts_dep.h_tabel");
        QCOMPARE(db->value("select count(*) from accounts_dep.smena"), QString("1"));
        QCOMPARE(sheet("d11"), before);
        store::deleteEntry(fullAccess(), 999);
        QCOMPARE(sheet("d11"), before);
    }

    // No entry holds more hours than a day has: above 24 the save is refused, naming the box, before
    // anything is sent.
    void hoursOfOneEntry_data()
    {
        QTest::addColumn<QString>("hours");
        QTest::addColumn<bool>("saved");
        QTest::newRow("a whole day") << "24" << true;
        QTest::newRow("none") << "0" << true;
        QTest::newRow("a day and an hour") << "25" << false;
        QTest::newRow("the most the box takes") << "2147483647" << false;
    }
    void hoursOfOneEntry()
    {
        QFETCH(QString, hours);
        QFETCH(bool, saved);
        const QString entries = db->rows("select id, time from accounts_dep.smena order by id").join(';');
        const QString cell = sheet("d11");
        QString said;
        try {
            QVERIFY(store::saveEntry(fullAccess(), entry(hours, 7), std::nullopt) == store::Outcome::Saved);
        } catch (const DbError& e) {
            said = e.text();
        }
        if (saved) {
            QCOMPARE(said, QString());
            QCOMPARE(sheet("d11"), QString::number(3 + hours.toInt()));
            return;
        }
        QCOMPARE(said, QString("В поле «Время» должно быть число часов от 0 до 24."));
        QCOMPARE(db->rows("select id, time from accounts_dep.smena order by id").join(';'), entries);
        QCOMPARE(sheet("d11"), cell);
    }

    // Another writer left hours no day holds in the worker's day: the cell takes the day's sum as far as
    // it can hold one, never a number wrapped round to a small one, whether an entry is saved or deleted.
    void cellOverHoursLeftOutOfRange_data()
    {
        QTest::addColumn<QString>("leftHours");
        QTest::addColumn<QString>("afterSave");
        QTest::addColumn<QString>("afterDelete");
        QTest::newRow("the most a column holds, twice") << "2147483647, 2147483647" << "2147483647" << "2147483647";
        QTest::newRow("full only with the new entry") << "2147483640" << "2147483647" << "2147483645";
        QTest::newRow("just fits") << "2147483000, 639" << "2147483647" << "2147483644";
        QTest::newRow("the least a column holds, twice") << "-2147483648, -2147483648" << "-2147483648" << "-2147483648";
    }
    void cellOverHoursLeftOutOfRange()
    {
        QFETCH(QString, leftHours);
        QFETCH(QString, afterSave);
        QFETCH(QString, afterDelete);
        for (const QString& h : leftHours.split(", "))
            db->exec("insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok) "
                     "values (1, 10, 20, 1, 0, '2024-03-11', 1, 3.5, 9, " + h + ", 'no')");
        store::saveEntry(fullAccess(), entry("5", 1), std::nullopt);
        QCOMPARE(sheet("d11"), afterSave);
        store::deleteEntry(fullAccess(), firstEntry());
        QCOMPARE(sheet("d11"), afterDelete);
    }
};

QTEST_MAIN(JournalStoreTest)
#include "tst_journal_store.moc"
