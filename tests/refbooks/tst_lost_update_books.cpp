// A book's row changed on another workstation while this one had it open: the editor's save, the list's
// delete and the norms grid write nothing, say what changed and by whom, and show the row as it is now.
#include "books_fixture.h"
#include "core/application.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "refbooks/book_editor.h"
#include "refbooks/book_instances.h"
#include "refbooks/kind_editor.h"
#include "refbooks/kinds_list.h"
#include "refbooks/list_window.h"
#include "refbooks/norms_window.h"
#include "refbooks/operation_dialog.h"
#include "refbooks/operations_list.h"
#include "refbooks/product_editor.h"
#include "refbooks/products_list.h"
#include "refbooks/worker_editor.h"
#include "refbooks/workers_list.h"
#include "store/db_error.h"
#include "store/store.h"
#include "support/books_fixture.h"
#include "support/message_recorder.h"
#include "support/second_workstation.h"
#include "support/test_database.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

struct Book {
    ListWindow* list;
    Dataset* rows;
    BookEditor* editor;
    QLineEdit* box;      // what the user types into, if anything
    QString table;
    QString column;      // the column the other workstation changes
    QString key;         // the list's key field
    QString newValue;    // what the other workstation puts into the column, as SQL
};

Book book(const QString& name)
{
    if (name == "worker") return {Form5, DataModule6->Workers, Form2, Form2->Edit1, "person", "fio", "id", "'Алексеев-Борисов А.А.'"};
    if (name == "product") return {Form3, DataModule6->Izdel, Form7, Form7->Edit1, "izdel", "marka", "id", "'ПЛ-12'"};
    if (name == "kind") return {Form8, DataModule6->Vid_oper, Form9, Form9->Edit1, "vid_oper", "vid", "id", "'Сварка ручная'"};
    return {Form4, DataModule6->Oper, Form10, nullptr, "oper", "naimen", "id", "1"};
}

// The books as the fixture makes them, whatever a test did to them.
QString freshBooks()
{
    return "truncate accounts_dep.person, accounts_dep.izdel, accounts_dep.vid_oper, accounts_dep.oper, accounts_dep.norm;\n"
           "delete from cmn_contractor.person;\n"
           + booksFixture();
}

}  // namespace

class BookLostUpdateTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;

    // Another workstation, signed in as a person at its own host, writes `sql` in a unit of work.
    void writeElsewhere(const QString& sql)
    {
        SecondWorkstation other(db->odbcString(), [sql](const store::Session& s, SecondWorkstation&) {
            const store::Session there{s.db, store::Actor{store::Role::Full, "ivanova", "cex-2", "ivanova"}};
            store::Work work(there, store::Action::ManageBooks);
            store::exec(work.db(), sql);
            work.commit();
        });
        other.join();
        QCOMPARE(other.error(), QString());
    }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(booksFixture());
        db->connectProgram();
        createBookWindows();
    }
    void cleanupTestCase() { delete db; }
    void init() { db->exec(freshBooks()); }

    void editorSavesOnlyTheRowAsRead_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("changed");
        QTest::newRow("worker") << "worker" << "Алексеев А.Б." << "ФИО: Алексеев А.А. → Алексеев-Борисов А.А.";
        QTest::newRow("product") << "product" << "ПЛ-11" << "Марка изделия: ПЛ-10 → ПЛ-12";
        QTest::newRow("kind") << "kind" << "Сварка дуговая" << "Операция: Сварка → Сварка ручная";
        QTest::newRow("operation") << "operation" << "" << "Вид: 0 → 1";
    }
    void editorSavesOnlyTheRowAsRead()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, changed);
        const Book b = book(name);
        const QString now = QString("select %1 from accounts_dep.%2").arg(b.column, b.table);
        MessageRecorder rec;
        whileManaging(b.list, b.rows, [&] {
            QVERIFY(!b.rows->isEmpty());
            onNextModal([&](QDialog*) {
                writeElsewhere(QString("update accounts_dep.%1 set %2 = %3").arg(b.table, b.column, b.newValue));
                if (b.box) b.box->setText(typed);
                b.editor->Button1->click();
                QVERIFY(!b.editor->isVisible());
            });
            b.list->Button2Click();
            // The list was read again: it shows the other workstation's value.
            QCOMPARE(b.rows->fieldByName(b.column).asString().trimmed(), db->value(now));
        });
        QCOMPARE(rec.seen.size(), 1);
        const QString text = rec.seen[0].text;
        QVERIFY2(text.startsWith("Эту запись изменили на другом рабочем месте, пока она была открыта здесь:\n" + changed
                                 + "\nИзменил: ivanova (Полный доступ), рабочее место ivanova@cex-2, "),
                 qPrintable(text));
        QVERIFY2(text.endsWith("\nИзменения не записаны. Список показывает запись такой, какая она сейчас."), qPrintable(text));
        QCOMPARE(db->value(now), QString(b.newValue).remove('\''));
    }

    void deleteOfARowChangedElsewhere_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<bool>("deleted");
        for (const char* name : {"worker", "product", "kind", "operation"}) {
            QTest::addRow("%s changed", name) << name << "update" << false;
            QTest::addRow("%s deleted", name) << name << "delete" << true;
        }
    }
    void deleteOfARowChangedElsewhere()
    {
        QFETCH(QString, name);
        QFETCH(QString, elsewhere);
        QFETCH(bool, deleted);
        const Book b = book(name);
        MessageRecorder rec;
        whileManaging(b.list, b.rows, [&] {
            QVERIFY(!b.rows->isEmpty());
            const QString id = b.rows->fieldByName(b.key).asString();
            writeElsewhere(elsewhere == "update" ? QString("update accounts_dep.%1 set %2 = %3 where id = %4").arg(b.table, b.column, b.newValue, id)
                                                 : QString("delete from accounts_dep.%1 where id = %2").arg(b.table, id));
            b.list->Button3Click();
        });
        QCOMPARE(rec.seen.size(), 2);
        QVERIFY(rec.seen[0].text.startsWith("Удалить"));
        const QString text = rec.seen[1].text;
        if (deleted) {
            QVERIFY2(text.startsWith("Эту запись удалили на другом рабочем месте, пока она была открыта здесь.\nУдалил: ivanova"),
                     qPrintable(text));
        } else {
            QVERIFY2(text.endsWith("\nЗапись не удалена. Список показывает её такой, какая она сейчас."), qPrintable(text));
            QCOMPARE(db->value(QString("select count(*) from accounts_dep.%1").arg(b.table)), QString("1"));
        }
    }

    // The norms grid stores a change of a norm the grid read as it is; a norm changed elsewhere since is
    // refused with the error box, and the grid shows it as it is now.
    void normsGrid()
    {
        Dataset* norm = Form22->norm;
        norm->close();
        norm->setFilter("o_id=20");
        norm->setFiltered(true);
        norm->open();
        QCOMPARE(norm->recordCount(), 1);
        norm->edit();
        norm->fieldByName("price").setValue(5.0);
        norm->post();
        QCOMPARE(db->value("select price from accounts_dep.norm where o_id = 20"), QString("5"));

        writeElsewhere("update accounts_dep.norm set price = 4 where o_id = 20");
        norm->edit();
        norm->fieldByName("price").setValue(6.0);
        try {
            norm->post();
            QFAIL("a norm changed elsewhere was stored");
        } catch (const DbError& e) {
            QVERIFY2(e.text().startsWith("Эту запись изменили на другом рабочем месте, пока она была открыта здесь:\nЦена: 5 → 4\n"),
                     qPrintable(e.text()));
        }
        QCOMPARE(db->value("select price from accounts_dep.norm where o_id = 20"), QString("4"));
        QTRY_COMPARE(norm->fieldByName("price").asDouble(), 4.0);
        norm->close();
    }
};

QTEST_MAIN(BookLostUpdateTest)
#include "tst_lost_update_books.moc"
