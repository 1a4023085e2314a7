// What goes wrong is told apart: a lost connection, a refused statement, a value that does not convert and a
// fault of the program each come with their kind, and the SQLSTATE where the database answered.
#include "core/application.h"
#include "core/data_module.h"
#include "store/db_error.h"
#include "core/error_report.h"
#include "store/store.h"
#include "support/message_recorder.h"
#include "support/test_database.h"

#include <QtTest>

class ErrorsTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;

    static DbError caught(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const DbError& e) {
            return e;
        }
        return DbError("nothing thrown", DbError::Kind::ProgramFault, "none");
    }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase("insert into accounts_dep.vid_oper (vid) values ('Сварка');");
        db->connectProgram();
    }
    void cleanupTestCase() { delete db; }

    void kindsFromTheDatabase_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("state");
        QTest::newRow("unique rule") << "insert into accounts_dep.vid_oper (vid) values ('сварка')" << int(DbError::Kind::Refused) << "23505";
        QTest::newRow("value out of range") << "select 1/0" << int(DbError::Kind::Refused) << "22012";
        QTest::newRow("no such column") << "select nosuchcolumn from accounts_dep.vid_oper" << int(DbError::Kind::ProgramFault) << "42703";
        QTest::newRow("no such table") << "delete from accounts_dep.nosuchtable" << int(DbError::Kind::ProgramFault) << "42P01";
    }
    void kindsFromTheDatabase()
    {
        QFETCH(QString, sql);
        QFETCH(int, kind);
        QFETCH(QString, state);
        const DbError e = caught([&] { store::exec(store::programDb(), sql); });
        QCOMPARE(e.sqlState(), state);
        QCOMPARE(int(e.kind()), kind);
        QVERIFY(!e.text().isEmpty());
    }

    void conversionAndProgramFaults()
    {
        Dataset* kinds = DataModule6->Vid_oper;
        kinds->open();
        QCOMPARE(caught([&] { kinds->fieldByName("vid").asInteger(); }).kind(), DbError::Kind::Conversion);
        QCOMPARE(caught([&] { kinds->fieldByName("nosuchfield"); }).kind(), DbError::Kind::ProgramFault);
        kinds->close();
    }

    // The server ends the program's session (a restart, a dropped line): the next statement says the
    // connection is lost.
    void lostConnection()
    {
        const QString pid = store::scalar(store::programDb(), "select pg_backend_pid()").toString();
        db->exec("select pg_terminate_backend(" + pid + ")");
        const DbError e = caught([] { store::scalar(store::programDb(), "select 1"); });
        QVERIFY2(e.kind() == DbError::Kind::ConnectionLost, qPrintable(e.sqlState() + " " + e.text()));
        db->connectProgram();
        QCOMPARE(store::scalarInt(store::programDb(), "select 1"), 1);
    }

    // An error that says nothing still tells the user that the action did not finish.
    void unknownErrorIsNotAnEmptyBox()
    {
        MessageRecorder rec;
        guarded([] { throw 42; })();
        guarded([] { throw DbError(""); })();
        QCOMPARE(rec.texts(), QStringList({"Неизвестная ошибка: действие не выполнено.",
                                           "Неизвестная ошибка: действие не выполнено."}));
        QCOMPARE(rec.seen[0].caption, QString("Ошибка"));
    }
};

QTEST_MAIN(ErrorsTest)
#include "tst_errors.moc"
