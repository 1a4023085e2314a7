// The unit of work on the database layer alone (this binary links no Widgets): it refuses what the
// actor's role may not do before anything is sent, refuses to nest, and tells the database who acts for
// exactly the length of its transaction.
#include "store/connection.h"
#include "store/db_error.h"
#include "store/journal_store.h"
#include "store/store.h"
#include "support/test_database.h"

#include <QCoreApplication>
#include <QtTest>

using store::Action;
using store::Role;

namespace {

const char* kEntry = R"(
insert into accounts_dep.person (id, fio) values (1, 'Алексеев А.А.');
insert into accounts_dep.izdel (id, marka, nom, massa) values (10, 'ПЛ-10', 'ПЛ', 1);
insert into accounts_dep.vid_oper (id, vid) values (5, 'Сварка');
insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (20, 5, 0, 10, 3.5);
insert into accounts_dep.smena (id, w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, ok)
  values (1, 1, 10, 20, 3.5, 4, 0, '2024-03-11', 1, 0, 8, 'no');
)";

const QString kConnection = QStringLiteral("unit of work");

store::Session as(Role role)
{
    return store::Session{store::Db{kConnection}, store::Actor{role, QString(), QStringLiteral("cex-2"), QStringLiteral("ivanova")}};
}

QString setting(const QString& name)
{
    return store::scalar(store::Db{kConnection}, QStringLiteral("select current_setting(:n, true)"), {{QStringLiteral("n"), name}})
        .toString();
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

}  // namespace

class UnitOfWorkTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;

private slots:
    void initTestCase()
    {
        db = new TestDatabase(kEntry);
        openConnection(kConnection, db->odbcString());
    }
    void cleanupTestCase() { delete db; }

    void databaseIsToldWhoActsForTheTransactionOnly()
    {
        QCOMPARE(setting("application_name"), QString("piecework"));
        {
            store::Work work(as(Role::Depot), Action::AcceptEntry);
            QCOMPARE(setting("piecework.actor"), QString("depot"));
            QCOMPARE(setting("piecework.role"), QString("depot"));
            QCOMPARE(setting("piecework.workstation"), QString("ivanova@cex-2"));
            work.commit();
        }
        // A writer that passes nothing (the old program) is seen as nobody.
        QCOMPARE(setting("piecework.actor"), QString(""));
        {
            store::Session person = as(Role::Full);
            person.actor.person = QStringLiteral("Петрова");
            store::Work work(person, Action::ManageBooks);
            QCOMPARE(setting("piecework.actor"), QString("Петрова"));
            QCOMPARE(setting("piecework.role"), QString("full"));
        }
        QCOMPARE(setting("piecework.actor"), QString(""));
    }

    // What the role may not do is refused before a statement is sent: the entry stays as it was and the
    // connection holds no transaction afterwards.
    void refusedBeforeAnythingIsSent_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<int>("verb");
        QTest::newRow("nobody deletes") << int(Role::None) << 0;
        QTest::newRow("accounts office accepts") << int(Role::Bursar) << 1;
        QTest::newRow("foreman deletes") << int(Role::Foreman) << 0;
        QTest::newRow("foreman accepts") << int(Role::Foreman) << 1;
        QTest::newRow("warehouse changes") << int(Role::Depot) << 2;
    }
    void refusedBeforeAnythingIsSent()
    {
        QFETCH(int, role);
        QFETCH(int, verb);
        const store::Session s = as(Role(role));
        store::EntryValues v;
        v.worker = 1, v.product = 10, v.operation = 20, v.shift = 1, v.colour = 0;
        v.price = QStringLiteral("3.5"), v.quantity = QStringLiteral("9"), v.rejects = QStringLiteral("0"),
        v.hours = QStringLiteral("1"), v.date = QDate(2024, 3, 11), v.entered = QDate(2024, 3, 11);
        const std::function<void()> calls[] = {
            [&] { store::deleteEntry(s, 1); },
            [&] { store::setAcceptance(s, 1, true); },
            [&] { store::saveEntry(s, v, 1); },
        };
        QCOMPARE(kindOf(calls[verb]), DbError::Kind::NotAllowed);
        QCOMPARE(db->value("select kol_vo || ok from accounts_dep.smena where id = 1"), QString("4no"));
        store::Work next(as(Role::Full), Action::DeleteEntry);
        QCOMPARE(setting("piecework.role"), QString("full"));
    }

    void nestedWorkIsRefusedAndTheOuterGoesOn()
    {
        store::Work outer(as(Role::Full), Action::ManageBooks);
        store::exec(outer.db(), QStringLiteral("insert into accounts_dep.vid_oper (id, vid) values (6, 'Покраска')"));
        QCOMPARE(kindOf([] { store::Work inner(as(Role::Full), Action::ManageBooks); }), DbError::Kind::ProgramFault);
        outer.commit();
        QCOMPARE(db->value("select vid from accounts_dep.vid_oper where id = 6"), QString("Покраска"));
    }

    void leftWithoutCommitWritesNothing()
    {
        {
            store::Work work(as(Role::Full), Action::ManageBooks);
            store::exec(work.db(), QStringLiteral("insert into accounts_dep.vid_oper (id, vid) values (7, 'Сборка')"));
        }
        QCOMPARE(db->value("select count(*) from accounts_dep.vid_oper where id = 7"), QString("0"));
    }
};

QTEST_GUILESS_MAIN(UnitOfWorkTest)
#include "tst_unit_of_work.moc"
