// The server ends the program's session (a restart, a broken line) in the middle of each write, the line to
// the server goes silent, and a second workstation holds a row the program needs: the user is told in the
// program's words within a bounded time, nothing is half-written, what was typed stays in the window, and the
// next action connects again and works. The program reaches the server through a line the test can silence.
#include "core/application.h"
#include "store/connection.h"
#include "store/net_watch.h"
#include "core/data_grid.h"
#include "core/error_report.h"
#include "store/store.h"
#include "journal/entry_editor.h"
#include "journal/program_fixture.h"
#include "refbooks/books_fixture.h"
#include "refbooks/norms_window.h"
#include "refbooks/product_editor.h"
#include "timesheet/time_sheet_window.h"
#include "reliability_fixture.h"
#include "support/message_recorder.h"
#include "support/books_fixture.h"
#include "support/silent_proxy.h"

#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

using namespace reliability;

namespace {

const char* kBooks = R"(
insert into accounts_dep.person (id, fio) values (2, 'Борисов Б.Б.');
select setval('accounts_dep.person_id_seq', 100);
)";

// Worker 2 has one entry of 11.03.2024, shift 1, 5 hours, not yet accepted, and its time-sheet day.
const char* kJournal = R"(
truncate accounts_dep.smena, accounts_dep.h_tabel restart identity;
update accounts_dep.izdel set marka = 'ПЛ-10' where id = 10;
update accounts_dep.norm set price = 3.5 where o_id = 20;
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok, vvod)
    values (2, 10, 20, 4, 0, '2024-03-11', 1, 3.5, 0, 5, 'no', '2024-03-11');
insert into accounts_dep.h_tabel (w_id, smena, month, year, d11) values (2, 1, 3, 2024, 5);
)";

// The worker lock of a time-sheet month (worker, shift 1, March 2024), as the store takes it: the save and
// the delete wait on it after their journal statement, inside their transaction.
QString workerLock(int worker)
{
    return QString("select pg_advisory_xact_lock(%1, %2)").arg(worker).arg(1 * 1000000 + 2024 * 100 + 3);
}

enum Write { Save, Delete, Acceptance, BookStore, NormsStore, Rebuild };

// The longest the user may be kept waiting by a line that stopped answering.
constexpr int kSilentLineBoundSeconds = 15;

QString lastMessage(const MessageRecorder& rec)
{
    return rec.seen.isEmpty() ? QString() : rec.seen.last().text;
}

}  // namespace

class LostConnectionTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    SilentProxy* line = nullptr;

    QString journal() const
    {
        return db->rows("select w_id, kol_vo, time, ok from accounts_dep.smena order by id").join(';') + " / "
            + db->rows("select w_id, d11, d12 from accounts_dep.h_tabel order by w_id").join(';');
    }

    // A price typed into the norm's cell, and the cell left: the grid stores the row.
    void typePrice(const QString& price)
    {
        QLineEdit* editor = openNormCellEditor(1);
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, price);
        QTest::keyClick(editor, Qt::Key_Tab);
        QCoreApplication::processEvents();
    }
    QString shownPrice() const { return Form22->DBGrid1->model()->index(0, 1).data().toString(); }

    // The editors as a user leaves them just before pressing the button.
    void prepare(Write w)
    {
        switch (w) {
        case Save:
            Form11->presetForAdd({.shift = 1, .date = QDate(2024, 3, 11)});
            Form11->WorkerId = 1;
            Form11->ProductId = 10;
            Form11->OperId = 20;
            Form11->FinalPrice = 3.5;
            Form11->Edit1->setText("Алексеев А.А.");
            Form11->Edit2->setText("ПЛ-10; Сварка; Готовая продукция");
            Form11->enableColour(false);
            Form11->Edit3->setText("4");
            Form11->Edit6->setText("6");
            Form11->show();
            break;
        case BookStore:
            DataModule6->Izdel->close();
            DataModule6->Izdel->open();
            QVERIFY(DataModule6->Izdel->locate("id", 10));
            Form7->presetForChange({10, "ПЛ-10", "1"});
            Form7->Edit1->setText("ПЛ-11");
            Form7->Edit2->setText("1,5");
            Form7->show();
            break;
        case NormsStore: openNorms(20); break;
        case Rebuild:
            // Worker 1's entry of 12.03 has no time-sheet day yet, as an old workstation may have left it.
            db->exec("insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok, vvod)"
                     " values (1, 10, 20, 1, 0, '2024-03-12', 1, 3.5, 0, 7, 'no', '2024-03-12')");
            Form19->ComboBox1->setCurrentIndex(2);
            Form19->selectYear(2024);
            Form19->ComboBox1Change();
            Form19->show();
            break;
        case Delete:
        case Acceptance: break;
        }
    }

    void act(Write w, bool again)
    {
        switch (w) {
        case Save: Form11->Button1->click(); break;
        case Delete: Form1->Button3->click(); break;
        case Acceptance: doubleClickRow(Form1->DBGrid2, 0); break;
        case BookStore: Form7->Button1->click(); break;
        case Rebuild: Form19->Button1->click(); break;
        case NormsStore:
            if (again)
                Form22->Button1->click();  // "Сохранить" stores what the grid still holds
            else
                typePrice("4,25");
            break;
        }
    }

    // What the user still sees after the failure: nothing typed is lost.
    void keptWhatWasTyped(Write w)
    {
        switch (w) {
        case Save:
            QVERIFY(Form11->isVisible());
            QCOMPARE(Form11->Edit3->text(), QString("4"));
            QCOMPARE(Form11->Edit6->text(), QString("6"));
            break;
        case BookStore:
            QVERIFY(Form7->isVisible());
            QCOMPARE(Form7->Edit1->text(), QString("ПЛ-11"));
            QVERIFY(!DataModule6->Izdel->isPending());
            break;
        case NormsStore:
            QVERIFY(Form22->isVisible());
            QCOMPARE(shownPrice(), QString("4,25"));
            break;
        case Rebuild: QVERIFY(Form19->isVisible()); break;
        case Delete:
        case Acceptance: break;
        }
    }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(booksFixture() + kBooks);
        line = new SilentProxy;
        QVERIFY(startOn(*db, line->address()));
        createOtherWindows();
        Form23->hide();
        Form1->show();
        for (Dataset* ds : DataModule6->journalDatasets()) ds->setParam("ok", "ta");
    }
    void cleanupTestCase()
    {
        takeDownWindows();
        delete line;
        delete db;
    }
    void init()
    {
        db->exec(kJournal);
        Form1->ShiftNumber = 1;
        Form1->ShiftDataset = DataModule6->Smena1;
        Form1->DateT->setDate(QDate(2024, 3, 11));
        Form1->loadDate();
    }
    void cleanup()
    {
        for (QWidget* w : std::initializer_list<QWidget*>{Form7, Form11, Form19, Form22}) w->hide();
    }

    // The session is ended while the write waits inside its transaction for a lock another workstation
    // holds: the journal entry, its day, the mark, the product, the norm are as they were.
    void killedDuringAWrite_data()
    {
        QTest::addColumn<int>("write");
        QTest::addColumn<QString>("lock");
        QTest::addColumn<QString>("done");
        QTest::newRow("entry saved") << int(Save) << workerLock(1) << "2|4|5|no;1|4|6|no / 1|6|0;2|5|0";
        QTest::newRow("entry deleted") << int(Delete) << workerLock(2) << " / ";
        QTest::newRow("acceptance toggled") << int(Acceptance) << "select 1 from accounts_dep.smena where w_id = 2 for update"
                                            << "2|4|5|ok / 2|5|0";
        QTest::newRow("product stored") << int(BookStore) << "select 1 from accounts_dep.izdel where id = 10 for update"
                                        << "2|4|5|no / 2|5|0";
        QTest::newRow("norm stored") << int(NormsStore) << "select 1 from accounts_dep.norm where o_id = 20 for update"
                                     << "2|4|5|no / 2|5|0";
        // Another workstation is writing worker 1's first day of March: the rebuild, having deleted the
        // month's rows, waits to write that row.
        QTest::newRow("month rebuilt") << int(Rebuild)
                                       << "insert into accounts_dep.h_tabel (w_id, smena, month, year) values (1, 1, 3, 2024)"
                                       << "2|4|5|no;1|1|7|no / 1|0|7;2|5|0";
    }
    void killedDuringAWrite()
    {
        QFETCH(int, write);
        QFETCH(QString, lock);
        QFETCH(QString, done);
        const Write w = Write(write);
        prepare(w);
        const QString before = fingerprint(*db);
        const QString session = programBackend();
        MessageRecorder rec;
        {
            OtherWorkstation other(*db, lock, session);
            QVERIFY(other.holding());
            act(w, false);
            QVERIFY2(other.killed(), qPrintable(other.errors()));
        }
        // A delete asks first; then the one error.
        QCOMPARE(lastMessage(rec), kConnectionLostText);
        QCOMPARE(rec.seen.size(), w == Delete ? 2 : 1);
        QCOMPARE(fingerprint(*db), before);
        keptWhatWasTyped(w);

        rec.clear();
        act(w, true);
        QCOMPARE(rec.texts(), w == Delete ? QStringList{"Удалить позицию из списка?"} : QStringList());
        QVERIFY(programBackend() != session);
        QCOMPARE(journal(), done);
        if (w == BookStore) QCOMPARE(db->value("select marka from accounts_dep.izdel where id = 10"), QString("ПЛ-11"));
        if (w == NormsStore) QCOMPARE(db->value("select price from accounts_dep.norm where o_id = 20"), QString("4.25"));
    }

    // The line goes silent while the write waits for the server's answer: the action ends with the
    // lost-connection message instead of freezing the window, and once the line answers again the same
    // action connects anew and writes once.
    void silentLineDuringAWrite_data()
    {
        QTest::addColumn<int>("write");
        QTest::addColumn<QString>("done");
        QTest::newRow("entry saved") << int(Save) << "2|4|5|no;1|4|6|no / 1|6|0;2|5|0";
        QTest::newRow("entry deleted") << int(Delete) << " / ";
        QTest::newRow("norm stored") << int(NormsStore) << "2|4|5|no / 2|5|0";
    }
    void silentLineDuringAWrite()
    {
        QFETCH(int, write);
        QFETCH(QString, done);
        const Write w = Write(write);
        prepare(w);
        const QString before = fingerprint(*db);
        const QString session = programBackend();
        MessageRecorder rec;
        line->goSilent();
        QElapsedTimer frozen;
        frozen.start();
        act(w, false);
        const qint64 ms = frozen.elapsed();
        line->resume();
        qInfo("the window waited %lld ms for the silent line", ms);
        QVERIFY2(ms < kSilentLineBoundSeconds * 1000, qPrintable(QString::number(ms)));
        // The one error; a delete finds the line silent already when it looks at the month, before it asks.
        QCOMPARE(rec.texts(), QStringList{kConnectionLostText});
        QCOMPARE(fingerprint(*db), before);
        keptWhatWasTyped(w);

        rec.clear();
        act(w, true);
        QCOMPARE(rec.texts(), w == Delete ? QStringList{"Удалить позицию из списка?"} : QStringList());
        QVERIFY(programBackend() != session);
        QCOMPARE(journal(), done);
        if (w == NormsStore) QCOMPARE(db->value("select price from accounts_dep.norm where o_id = 20"), QString("4.25"));
    }

    // The line goes silent while the journal is idle: the version check gives up quietly, the next action
    // gives up connecting within the bound and says so, and once the line answers it connects again.
    void silentLineWhileIdle()
    {
        MessageRecorder rec;
        const QString session = programBackend();
        line->goSilent();
        QElapsedTimer frozen;
        frozen.start();
        guarded([] { Form1->Timer1Timer(); })();
        QVERIFY2(frozen.elapsed() < kSilentLineBoundSeconds * 1000, qPrintable(QString::number(frozen.elapsed())));
        QCOMPARE(rec.texts(), QStringList());
        // The checks after it leave connecting again to the user's next action.
        frozen.restart();
        guarded([] { Form1->Timer1Timer(); })();
        QVERIFY2(frozen.elapsed() < kConnectSeconds * 1000, qPrintable(QString::number(frozen.elapsed())));
        QCOMPARE(rec.texts(), QStringList());
        frozen.restart();
        Form1->Button8->click();
        QVERIFY2(frozen.elapsed() < kSilentLineBoundSeconds * 1000, qPrintable(QString::number(frozen.elapsed())));
        QCOMPARE(rec.texts(), QStringList{kConnectionLostText});
        rec.clear();
        line->resume();
        Form1->Button8->click();
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(DataModule6->Smena1->recordCount(), 1);
        QVERIFY(programBackend() != session);
    }

    // A statement the server takes long over, on a line that answers, is left to finish.
    void longStatementOnALiveLine()
    {
        const QString session = programBackend();
        const int seconds = kStatementSilenceSeconds + kProbeSeconds + 1;
        QCOMPARE(store::scalar(store::programDb(), QString("select 'done' from pg_sleep(%1)").arg(seconds)).toString(),
                 QString("done"));
        QCOMPARE(programBackend(), session);
    }

    // A server restart while the journal is idle: the next action says the connection was lost, the one
    // after works on a new session with the program's settings.
    void sessionEndedWhileIdle()
    {
        MessageRecorder rec;
        const QString session = programBackend();
        db->exec("select pg_terminate_backend(" + session + ")");
        // The version check's timer finds the session gone and tells nobody: no box every 30 seconds.
        guarded([] { Form1->Timer1Timer(); })();
        QCOMPARE(rec.texts(), QStringList());
        db->exec("select pg_terminate_backend(" + programBackend() + ")");
        Form1->Button8->click();
        QCOMPARE(rec.texts(), QStringList{kConnectionLostText});
        rec.clear();
        Form1->Button8->click();
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(DataModule6->Smena1->recordCount(), 1);
        QVERIFY(programBackend() != session);
        const store::Db p = store::programDb();
        QCOMPARE(store::scalar(p, "show DateStyle").toString(), QString("ISO, DMY"));
        QCOMPARE(store::scalar(p, "show standard_conforming_strings").toString(), QString("on"));
        QCOMPARE(store::scalar(p, "show lock_timeout").toString(), QString("%1s").arg(kLockTimeoutSeconds));
        QCOMPARE(store::scalar(p, "show idle_in_transaction_session_timeout").toString(),
                 QString("%1s").arg(kIdleTransactionSeconds));
    }

    // Another workstation keeps the row: after a bounded wait the user is told the row is busy, and
    // everything stays as it was, in the database and in the windows.
    void busyRow_data()
    {
        QTest::addColumn<int>("write");
        QTest::addColumn<QString>("lock");
        QTest::newRow("product stored") << int(BookStore) << "select 1 from accounts_dep.izdel where id = 10 for update";
        QTest::newRow("entry deleted") << int(Delete) << "select 1 from accounts_dep.smena where w_id = 2 for update";
        QTest::newRow("norm stored") << int(NormsStore) << "select 1 from accounts_dep.norm where o_id = 20 for update";
    }
    void busyRow()
    {
        QFETCH(int, write);
        QFETCH(QString, lock);
        const Write w = Write(write);
        prepare(w);
        const QString before = fingerprint(*db);
        MessageRecorder rec;
        OtherWorkstation other(*db, lock, QString(), 30);
        QVERIFY(other.holding());
        QElapsedTimer waited;
        waited.start();
        act(w, false);
        qInfo("waited %lld ms for the busy row", waited.elapsed());
        QCOMPARE(lastMessage(rec), kRowBusyText);
        other.release();
        QCOMPARE(fingerprint(*db), before);
        if (w == BookStore) {
            QVERIFY(Form7->isVisible());
            QCOMPARE(Form7->Edit1->text(), QString("ПЛ-11"));
            QVERIFY(!DataModule6->Izdel->isPending());
            QCOMPARE(DataModule6->Izdel->fieldByName("marka").asString(), QString("ПЛ-10"));
        }
        if (w == NormsStore) {
            // Given up, as a refused norm is: the grid shows the stored price, and moving on stores nothing.
            QCOMPARE(shownPrice(), QString("3,50"));
            Form22->DBGrid1->setCurrentIndex(Form22->DBGrid1->model()->index(0, 0));
            QCoreApplication::processEvents();
            QCOMPARE(rec.seen.size(), 1);
            QCOMPARE(fingerprint(*db), before);
        }
    }
};

QTEST_MAIN(LostConnectionTest)
#include "tst_lost_connection.moc"
