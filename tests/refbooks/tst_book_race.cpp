// The books' verbs against the database: two workstations saving the same product, kind or operation at
// the same moment end with one row and one Duplicate; a role that may not manage the books writes nothing.
#include "core/application.h"
#include "store/books_store.h"
#include "store/db_error.h"
#include "support/books_fixture.h"
#include "support/second_workstation.h"
#include "support/test_database.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <memory>
#include <optional>

namespace {

using Save = std::function<store::Outcome(const store::Session&)>;

struct Race {
    Save save;
    QString rowsLikeIt;  // counts the rows the save would make
};

Race race(const QString& book)
{
    if (book == "product")
        return {[](const store::Session& s) { return store::addProduct(s, {"ШК-2", "ШК", 2}); },
                "select count(*) from accounts_dep.izdel where upper(marka) = 'ШК-2'"};
    if (book == "kind")
        return {[](const store::Session& s) { return store::addKind(s, "Покраска"); },
                "select count(*) from accounts_dep.vid_oper where upper(vid) = upper('Покраска')"};
    return {[](const store::Session& s) { return store::addOperation(s, 5, 1, 10); },
            "select count(*) from accounts_dep.oper where vid = 5 and naimen = 1 and i_id = 10"};
}

}  // namespace

Q_DECLARE_METATYPE(std::function<void(const store::Session&)>)

class BookRaceTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;

    // Another session of this test's database waits on an advisory lock.
    bool someoneWaitsOnALock() const
    {
        return db->value("select count(*) from pg_locks where locktype = 'advisory' and not granted"
                         " and database = (select oid from pg_database where datname = current_database())")
               != "0";
    }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(booksFixture());
        db->connectProgram();
    }
    void cleanupTestCase()
    {
        store::setBookCheckHook({});
        delete db;
    }

    void sameRowAtOnce_data()
    {
        QTest::addColumn<QString>("book");
        QTest::newRow("product") << "product";
        QTest::newRow("kind") << "kind";
        QTest::newRow("operation") << "operation";
    }
    void sameRowAtOnce()
    {
        QFETCH(QString, book);
        const Race r = race(book);
        std::unique_ptr<SecondWorkstation> other;
        std::optional<store::Outcome> otherOutcome;
        std::atomic<bool> otherCounted = false;
        // The program's save has counted and not yet written: the other workstation saves the same row now,
        // and the program goes on once the other has counted too or waits for the book's lock.
        store::setBookCheckHook([&](const store::Db& d) {
            if (d.connection != store::kProgramConnection) {
                otherCounted = true;
                return;
            }
            if (other) return;
            other = std::make_unique<SecondWorkstation>(db->odbcString(), [&](const store::Session& s, SecondWorkstation&) {
                otherOutcome = r.save(s);
            });
            QElapsedTimer clock;
            clock.start();
            while (!otherCounted && !someoneWaitsOnALock() && clock.elapsed() < 10000) QThread::msleep(20);
        });
        std::optional<store::Outcome> outcome;
        try {
            outcome = r.save(fullAccess());
        } catch (...) {
            store::setBookCheckHook({});
            throw;
        }
        store::setBookCheckHook({});
        QVERIFY(other);
        other->join();
        QCOMPARE(other->error(), QString());
        QCOMPARE(outcome, std::optional(store::Outcome::Saved));
        QCOMPARE(otherOutcome, std::optional(store::Outcome::Duplicate));
        QCOMPARE(db->value(r.rowsLikeIt), QString("1"));
    }

    void notAllowedWritesNothing_data()
    {
        using Verb = std::function<void(const store::Session&)>;
        QTest::addColumn<Verb>("verb");
        const store::RowWrite norm{"", {}, {"id", "o_id", "norma", "prize", "price"},
                                   {{"id", FieldType::AutoInc, true}, {"o_id", FieldType::Integer},
                                    {"norma", FieldType::Integer}, {"prize", FieldType::Integer}, {"price", FieldType::Double}},
                                   {1, 20, 100, 0, 3.5}, {QVariant(), 20, 200, 0, 4.5}, {false, true, true, false, true}};
        QTest::newRow("add worker") << Verb([](const store::Session& s) { store::addWorker(s, "Борисов Б.Б.", ""); });
        QTest::newRow("change worker") << Verb([](const store::Session& s) { store::changeWorker(s, 1, "Борисов Б.Б.", ""); });
        QTest::newRow("delete worker") << Verb([](const store::Session& s) { store::deleteWorker(s, 1); });
        QTest::newRow("add product") << Verb([](const store::Session& s) { store::addProduct(s, {"ШК-2", "ШК", 2}); });
        QTest::newRow("change product") << Verb([](const store::Session& s) { store::changeProduct(s, 10, {"ШК-2", "ШК", 2}); });
        QTest::newRow("delete product") << Verb([](const store::Session& s) { store::deleteProduct(s, 10); });
        QTest::newRow("add kind") << Verb([](const store::Session& s) { store::addKind(s, "Покраска"); });
        QTest::newRow("change kind") << Verb([](const store::Session& s) { store::changeKind(s, 5, "Покраска"); });
        QTest::newRow("delete kind") << Verb([](const store::Session& s) { store::deleteKind(s, 5); });
        QTest::newRow("add operation") << Verb([](const store::Session& s) { store::addOperation(s, 5, 1, 10); });
        QTest::newRow("change operation") << Verb([](const store::Session& s) { store::changeOperation(s, 20, 5, 1, 10); });
        QTest::newRow("delete operation") << Verb([](const store::Session& s) { store::deleteOperation(s, 20); });
        QTest::newRow("add norm") << Verb([norm](const store::Session& s) { store::storeNorm(s, norm, true); });
        QTest::newRow("change norm") << Verb([norm](const store::Session& s) { store::storeNorm(s, norm, false); });
        QTest::newRow("delete norm") << Verb([norm](const store::Session& s) { store::deleteNorm(s, norm); });
    }
    void notAllowedWritesNothing()
    {
        QFETCH(std::function<void(const store::Session&)>, verb);
        const QString books = "select (select string_agg(id || fio, ',') from accounts_dep.person)"
                              " || (select string_agg(id || marka || nom || massa, ',') from accounts_dep.izdel)"
                              " || (select string_agg(id || vid, ',') from accounts_dep.vid_oper)"
                              " || (select string_agg(id || '/' || vid || '/' || naimen || '/' || i_id, ',') from accounts_dep.oper)"
                              " || (select string_agg(id || '/' || o_id || '/' || norma || '/' || price, ',') from accounts_dep.norm)";
        const QString before = db->value(books);
        const store::Session foreman{store::programDb(), store::Actor::here(store::Role::Foreman)};
        try {
            verb(foreman);
            QFAIL("the foreman wrote a book");
        } catch (const DbError& e) {
            QCOMPARE(e.kind(), DbError::Kind::NotAllowed);
        }
        QCOMPARE(db->value(books), before);
    }
};

QTEST_MAIN(BookRaceTest)
#include "tst_book_race.moc"
