// The history of changes and closed months, held by the database for every writer: the program's verbs
// with their actor, and the old program's statements sent by a plain connection that passes none.
#include "store/connection.h"
#include "store/db_error.h"
#include "store/journal_store.h"
#include "store/month_store.h"
#include "store/schema_version.h"
#include "store/time_sheet_rebuild.h"
#include "store/time_sheet_store.h"
#include "support/second_workstation.h"
#include "support/test_database.h"

#include <QCoreApplication>
#include <QtTest>
#include <chrono>
#include <thread>

using store::Role;

namespace {

// Worker 1's March 2024 (closed in the tests) and April 2024 (open), shift 1.
const char* kFixture = R"(
insert into accounts_dep.person (id, fio) values (1, 'Алексеев А.А.'), (2, 'Борисов Б.Б.');
insert into accounts_dep.izdel (id, marka, nom, massa) values (10, 'ПЛ-10', 'ПЛ', 1);
insert into accounts_dep.vid_oper (id, vid) values (5, 'Сварка');
insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (20, 5, 0, 10, 3.5), (21, 5, 1, 10, 2.25);
insert into accounts_dep.smena (id, w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, ok)
  values (1, 1, 10, 20, 3.5, 10, 1, '2024-03-11', 1, 0, 8, 'no'),
         (2, 2, 10, 21, 2.25, 7, 0, '2024-03-12', 1, 0, 4, 'ok'),
         (3, 1, 10, 20, 3.5, 5, 0, '2024-04-02', 1, 0, 6, 'no');
select setval('accounts_dep.smena_id_seq', 100);
)";

const QString kConnection = QStringLiteral("month history");

store::Session as(Role role)
{
    return store::Session{store::Db{kConnection}, store::Actor{role, QString(), QStringLiteral("cex-2"), QStringLiteral("ivanova")}};
}

store::Db db()
{
    return store::Db{kConnection};
}

store::EntryValues entry(int worker, int operation, const QDate& day, const QString& hours)
{
    store::EntryValues v;
    v.worker = worker;
    v.product = 10;
    v.operation = operation;
    v.shift = 1;
    v.price = QStringLiteral("3.5");
    v.quantity = QStringLiteral("3");
    v.rejects = QStringLiteral("0");
    v.hours = hours;
    v.date = day;
    v.entered = day;
    return v;
}

DbError::Kind kindOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const DbError& e) {
        return e.kind();
    }
    return DbError::Kind(-1);
}

// What an old workstation sends: the same statements, through a connection that tells nothing of who acts.
QString oldProgram(const TestDatabase& d, const QString& sql)
{
    try {
        d.exec(sql);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

}  // namespace

class MonthHistoryTest : public QObject {
    Q_OBJECT
    TestDatabase* d = nullptr;

    QString cells(int month) const
    {
        return d->rows(QStringLiteral("select w_id, d11, d12, d2 from accounts_dep.h_tabel where year=2024 and month=%1 order by w_id")
                           .arg(month))
            .join(u' ');
    }

private slots:
    void initTestCase()
    {
        d = new TestDatabase(kFixture);
        openConnection(kConnection, d->odbcString());
        store::rebuildMonth(as(Role::Full), 3, 2024);
        store::rebuildMonth(as(Role::Full), 4, 2024);
    }
    void cleanupTestCase() { delete d; }

    void schemaVersionOfOldAndNewDatabases()
    {
        QCOMPARE(store::schemaVersion(db()), store::kSchemaVersion);
        {
            TestDatabase older(QString(), QStringLiteral("C.UTF-8"), TestDatabase::Schema::BeforeUpgrades);
            const QString name = QStringLiteral("older schema");
            openConnection(name, older.odbcString());
            QCOMPARE(store::schemaVersion(store::Db{name}), 0);
        }
        // Dropping a test database closes every connection of the process.
        openConnection(kConnection, d->odbcString());
        QVERIFY(store::outdatedSchemaText(0, "shopdb", "10.0.0.5").contains("piecework-db shopdb 10.0.0.5"));
    }

    // Who is recorded: the program's verbs with role and workstation, the old program's statements with
    // nothing but the database user and the application; old and new rows in full.
    void everyWriterIsRecorded()
    {
        const qint64 before = d->value("select coalesce(max(id), 0) from piecework.history").toLongLong();
        QCOMPARE(store::saveEntry(as(Role::Foreman), entry(2, 20, QDate(2024, 4, 3), "5"), std::nullopt), store::Outcome::Saved);
        const QString added = d->value("select max(id) from accounts_dep.smena");
        const store::EntryValues v = entry(2, 20, QDate(2024, 4, 4), "5");
        QVERIFY(oldProgram(*d, store::entrysql::update(v, added)).isEmpty());
        QVERIFY(oldProgram(*d, store::entrysql::remove(added)).isEmpty());
        QVERIFY(oldProgram(*d, store::entrysql::insert(entry(2, 21, QDate(2024, 4, 5), "2"))).isEmpty());
        d->exec("update accounts_dep.person set fio = fio where id = 1");  // rewrites nothing: no version

        const QStringList rows = d->rows(QStringLiteral(
            "select tbl, op, row_id = %1, actor, role, workstation, application, db_user, "
            "old_row->>'data', new_row->>'data', client_addr is not null from piecework.history where id > %2 order by id")
                                             .arg(added)
                                             .arg(before));
        QCOMPARE(rows, QStringList({
                           "smena|insert|t|foreman|foreman|ivanova@cex-2|piecework|sys||2024-04-03|t",
                           "smena|update|t||||psql|sys|2024-04-03|2024-04-04|t",
                           "smena|delete|t||||psql|sys|2024-04-04||t",
                           "smena|insert|f||||psql|sys||2024-04-05|t",
                       }));
        // The books too, each with its own table name; the time sheet's cells are not recorded row by row.
        d->exec("insert into accounts_dep.vid_oper (vid) values ('Покраска'); delete from accounts_dep.norm where o_id = 21");
        QCOMPARE(d->rows(QStringLiteral("select distinct tbl || ':' || op from piecework.history where id > %1 and tbl <> 'smena' "
                                        "order by 1")
                             .arg(before)),
                 QStringList({"norm:delete", "vid_oper:insert"}));
    }

    // In a closed month every writer is refused, whatever it sends; the rest of the journal is not.
    void closedMonthRefusesEveryWriter()
    {
        QCOMPARE(store::closeMonth(as(Role::Full), 2024, 3, "зарплата выдана"), store::MonthChange::Done);
        QCOMPARE(store::closeMonth(as(Role::Full), 2024, 3, "again"), store::MonthChange::AlreadyThere);
        const QString journal = d->rows("select * from accounts_dep.smena order by id").join('\n');
        const QString sheet = cells(3);

        const QString closed = QStringLiteral("Месяц 03.2024 закрыт");
        const store::EntryValues inMarch = entry(1, 21, QDate(2024, 3, 15), "2");
        const store::EntryValues toMarch = entry(1, 20, QDate(2024, 3, 20), "6");
        const QStringList oldStatements{
            store::entrysql::insert(inMarch),
            store::entrysql::update(entry(1, 20, QDate(2024, 3, 11), "9"), "1"),
            store::entrysql::remove("2"),
            store::entrysql::update(toMarch, "3"),  // moving an April entry into March
            "update accounts_dep.smena set ok='ok' where id=1",
            "update accounts_dep.h_tabel set d11 = 1 where year = 2024 and month = 3",
            "delete from accounts_dep.h_tabel where year = 2024 and month = 3",
            "insert into accounts_dep.h_tabel (w_id, smena, month, year, d5) values (9, 1, 3, 2024, 8)",
            "update accounts_dep.h_tabel set year = 2030 where year = 2024 and month = 3",  // moving rows out of March
            "truncate accounts_dep.smena",
        };
        for (const QString& sql : oldStatements) {
            const QString refused = oldProgram(*d, sql);
            QVERIFY2(refused.contains(closed) || refused.contains("закрытые месяцы"), qPrintable(sql + " -> " + refused));
        }
        const std::function<void()> programWrites[] = {
            [&] { store::saveEntry(as(Role::Full), inMarch, std::nullopt); },
            [&] { store::saveEntry(as(Role::Full), toMarch, 3); },
            [&] { store::deleteEntry(as(Role::Full), 1); },
            [&] { store::setAcceptance(as(Role::Full), 1, true); },
            [&] { store::rebuildMonth(as(Role::Full), 3, 2024); },
            [&] { store::refuseIfClosed(db(), QDate(2024, 3, 31)); },
        };
        for (const auto& write : programWrites) QCOMPARE(kindOf(write), DbError::Kind::MonthClosed);
        try {
            store::deleteEntry(as(Role::Full), 1);
        } catch (const DbError& e) {
            QCOMPARE(store::closedMonthMessage(e.text()), store::closedMonthText(2024, 3));
        }
        QCOMPARE(d->rows("select * from accounts_dep.smena order by id").join('\n'), journal);
        QCOMPARE(cells(3), sheet);
        // April stays open.
        QCOMPARE(kindOf([] { store::refuseIfClosed(db(), QDate(2024, 4, 1)); }), DbError::Kind(-1));
        QVERIFY(oldProgram(*d, "update accounts_dep.smena set ok='ok' where id=3").isEmpty());

        const auto closure = store::monthClosure(db(), 2024, 3);
        QVERIFY(closure);
        QCOMPARE(closure->note, QString("зарплата выдана"));
        QCOMPARE(closure->workstation, QString("ivanova@cex-2"));
        QCOMPARE(store::closedTotals(db(), 2024, 3), store::journalTotals(db(), 2024, 3));
        QCOMPARE(store::closedTotals(db(), 2024, 3).size(), std::size_t(2));
        QCOMPARE(store::closedTotals(db(), 2024, 3).front().earnings, QString("31.50"));  // (10-1)*3.5

        QCOMPARE(kindOf([] { store::reopenMonth(as(Role::Full), 2024, 3, "  "); }), DbError::Kind::Refused);
        QCOMPARE(kindOf([] { store::closeMonth(as(Role::Bursar), 2024, 4, ""); }), DbError::Kind::NotAllowed);
        QCOMPARE(store::reopenMonth(as(Role::Full), 2024, 3, "ошибка в количестве"), store::MonthChange::Done);
        QCOMPARE(store::reopenMonth(as(Role::Full), 2024, 3, "again"), store::MonthChange::AlreadyThere);
    }

    // Reopened, changed and closed again: the history holds each step, in order, with its words.
    void reopenChangeCloseAgainTellsTheStory()
    {
        const qint64 before = d->value("select coalesce(max(id), 0) from piecework.history").toLongLong();
        QCOMPARE(store::closeMonth(as(Role::Full), 2024, 5, "май"), store::MonthChange::Done);
        QCOMPARE(store::reopenMonth(as(Role::Full), 2024, 5, "забыли запись"), store::MonthChange::Done);
        QCOMPARE(store::saveEntry(as(Role::Foreman), entry(2, 20, QDate(2024, 5, 6), "7"), std::nullopt), store::Outcome::Saved);
        store::rebuildMonth(as(Role::Full), 5, 2024);
        QCOMPARE(store::closeMonth(as(Role::Full), 2024, 5, "май, с исправлением"), store::MonthChange::Done);
        QCOMPARE(d->rows(QStringLiteral("select tbl, op, actor, coalesce(new_row->>'reason', new_row->>'note', new_row->>'data'), "
                                        "new_row->>'rows', new_row->>'earnings' from piecework.history where id > %1 order by id")
                             .arg(before)),
                 QStringList({
                     "h_tabel|close|full|май|0|0",
                     "h_tabel|reopen|full|забыли запись||",
                     "smena|insert|foreman|2024-05-06||",
                     "h_tabel|rebuild|full||1|",
                     "h_tabel|close|full|май, с исправлением|1|10.50",
                 }));
    }

    // A save racing a close: it either commits first and is in the close's totals and time sheet, or
    // waits for the close and is refused; never half. Both orders, the program's save and the old
    // program's insert.
    void closeRacingSave()
    {
        // The save first: it holds the month (paused between its read and write of the day cell) while
        // the close starts.
        {
            SecondWorkstation second(d->odbcString(), [](const store::Session& s, SecondWorkstation& self) {
                store::setDayCellReadHook([&](const store::DayCell&) {
                    self.reached();
                    std::this_thread::sleep_for(std::chrono::milliseconds(400));
                });
                store::saveEntry(s, entry(1, 20, QDate(2024, 6, 3), "5"), std::nullopt);
            });
            second.waitUntilReached();
            QCOMPARE(store::closeMonth(as(Role::Full), 2024, 6, ""), store::MonthChange::Done);
            second.join();
            store::setDayCellReadHook({});
            QCOMPARE(second.error(), QString());
        }
        QCOMPARE(d->value("select count(*) from accounts_dep.smena where data = '2024-06-03'"), QString("1"));
        QCOMPARE(d->value("select d3 from accounts_dep.h_tabel where year = 2024 and month = 6 and w_id = 1"), QString("5"));
        QCOMPARE(store::closedTotals(db(), 2024, 6), store::journalTotals(db(), 2024, 6));

        // The close first: it holds the month while the program's save and an old workstation's insert come.
        const QString journal = d->rows("select * from accounts_dep.smena order by id").join('\n');
        {
            SecondWorkstation second(d->odbcString(), [](const store::Session& s, SecondWorkstation& self) {
                store::setMonthCloseHook([&] {
                    self.reached();
                    std::this_thread::sleep_for(std::chrono::milliseconds(800));
                });
                store::closeMonth(s, 2024, 7, "");
            });
            second.waitUntilReached();
            QString oldRefusal;
            std::thread old([&] { oldRefusal = oldProgram(*d, store::entrysql::insert(entry(2, 20, QDate(2024, 7, 2), "3"))); });
            QCOMPARE(kindOf([] { store::saveEntry(as(Role::Full), entry(1, 20, QDate(2024, 7, 1), "5"), std::nullopt); }),
                     DbError::Kind::MonthClosed);
            old.join();
            QVERIFY2(oldRefusal.contains("Месяц 07.2024 закрыт"), qPrintable(oldRefusal));
            second.join();
            store::setMonthCloseHook({});
            QCOMPARE(second.error(), QString());
        }
        QCOMPARE(d->rows("select * from accounts_dep.smena order by id").join('\n'), journal);
        QCOMPARE(d->value("select count(*) from accounts_dep.h_tabel where year = 2024 and month = 7"), QString("0"));
    }

    // A deleted entry comes back as it was, with its id and its time-sheet day; only once.
    void restoreDeletedEntry()
    {
        const QString was = d->rows("select * from accounts_dep.smena where id = 3").join("");
        store::deleteEntry(as(Role::Full), 3);
        QCOMPARE(d->value("select coalesce(max(d2), 0) from accounts_dep.h_tabel where year = 2024 and month = 4 and w_id = 1"), QString("0"));
        const qint64 deletion = d->value("select max(id) from piecework.history where tbl = 'smena' and row_id = 3 and op = 'delete'")
                                    .toLongLong();
        QCOMPARE(kindOf([&] { store::restoreEntry(as(Role::Foreman), deletion); }), DbError::Kind::NotAllowed);
        QCOMPARE(store::restoreEntry(as(Role::Full), deletion), store::Outcome::Saved);
        QCOMPARE(d->rows("select * from accounts_dep.smena where id = 3").join(""), was);
        QCOMPARE(d->value("select d2 from accounts_dep.h_tabel where year = 2024 and month = 4 and w_id = 1"), QString("6"));
        QCOMPARE(store::restoreEntry(as(Role::Full), deletion), store::Outcome::Duplicate);
        QCOMPARE(d->value("select actor || ':' || op from piecework.history where tbl = 'smena' and row_id = 3 order by id desc limit 1"),
                 QString("full:insert"));
    }
};

QTEST_GUILESS_MAIN(MonthHistoryTest)
#include "tst_month_history.moc"
