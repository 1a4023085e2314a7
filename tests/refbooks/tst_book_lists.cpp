// What the workers, products and kinds books do alike, in a database whose LC_CTYPE is "C" as an
// enterprise database's may be: a book opened for managing shows all its rows whatever a pick left in
// its search, an empty list has nothing to change or delete, and a name typed in other letter case is
// refused even where the database's upper() leaves Cyrillic as it is.
#include "core/application.h"
#include "books_fixture.h"
#include "core/data_grid.h"
#include "core/data_module.h"
#include "refbooks/book_instances.h"
#include "refbooks/kind_editor.h"
#include "refbooks/kinds_list.h"
#include "refbooks/product_editor.h"
#include "refbooks/products_list.h"
#include "refbooks/workers_list.h"
#include "support/message_recorder.h"
#include "support/test_database.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

Q_DECLARE_METATYPE(ListWindow*)

namespace {
const char* kBooks = R"(
truncate accounts_dep.person, accounts_dep.izdel, accounts_dep.vid_oper restart identity;
delete from cmn_contractor.person;
insert into accounts_dep.person (fio) values ('Иванов И.И.'), ('Сидоров С.С.');
insert into accounts_dep.izdel (marka, nom, massa) values ('КР-20', 'Кронштейны оцинкованные', 2), ('ПЛ-12', 'Платик', 1);
insert into accounts_dep.vid_oper (vid) values ('РЕЗКА'), ('СВАРКА');
)";

// The book's table and the field its list shows.
struct BookTable {
    QString table;
    QString field;
};

BookTable tableOf(ListWindow* book)
{
    if (book == Form5) return {"accounts_dep.person", "fio"};
    if (book == Form3) return {"accounts_dep.izdel", "marka"};
    return {"accounts_dep.vid_oper", "vid"};
}
}  // namespace

class BookListsTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;

    QStringList stored(ListWindow* book)
    {
        const BookTable t = tableOf(book);
        return db->rows(QString("select %1 from %2 order by %1").arg(t.field, t.table));
    }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(QString(), "C");
        db->connectProgram();
        createBookWindows();
    }
    void cleanupTestCase() { delete db; }
    void init()
    {
        db->exec(kBooks);
        for (ListWindow* book : {static_cast<ListWindow*>(Form5), static_cast<ListWindow*>(Form3), static_cast<ListWindow*>(Form8)})
            book->Edit1->clear();
    }

    // The products and kinds books hide their search box when managing; a search a pick left in it
    // would hide rows the user could then never bring back.
    void searchLeftByAPickIsGoneWhenManaging_data()
    {
        QTest::addColumn<ListWindow*>("book");
        QTest::newRow("products") << static_cast<ListWindow*>(Form3);
        QTest::newRow("kinds") << static_cast<ListWindow*>(Form8);
    }
    void searchLeftByAPickIsGoneWhenManaging()
    {
        QFETCH(ListWindow*, book);
        whilePicking(book, [&] {
            typeText(book->Edit1, "ZZZ");
            QCOMPARE(book->dataset()->recordCount(), 0);
            QTest::keyClick(book->Edit1, Qt::Key_Escape);
        });
        QStringList shown;
        int rows = -1;
        whileManaging(book, book->dataset(), [&] {
            shown = shownTexts(book->dataset(), tableOf(book).field);
            rows = book->DBGrid1->model()->rowCount();
        });
        QCOMPARE(shown, stored(book));
        QCOMPARE(rows, 2);
    }

    void emptyListChangesAndDeletesNothing_data()
    {
        QTest::addColumn<ListWindow*>("book");
        QTest::addColumn<QString>("action");
        for (ListWindow* book : {static_cast<ListWindow*>(Form5), static_cast<ListWindow*>(Form3), static_cast<ListWindow*>(Form8)}) {
            const QByteArray name = book->objectName().toLatin1();
            // The products book changes by double click only: its "Изменить" is hidden.
            if (book != Form3) QTest::newRow(name + " Изменить") << book << "change";
            QTest::newRow(name + " double click") << book << "double click";
            QTest::newRow(name + " Удалить") << book << "delete";
        }
    }
    void emptyListChangesAndDeletesNothing()
    {
        QFETCH(ListWindow*, book);
        QFETCH(QString, action);
        db->exec("delete from " + tableOf(book).table);
        MessageRecorder rec;
        QPointer<QWidget> opened;
        whileManaging(book, book->dataset(), [&] {
            QVERIFY(book->dataset()->isEmpty());
            opened = windowOpenedBy([&] {
                if (action == "change") book->Button2->click();
                if (action == "double click") QTest::mouseDClick(book->DBGrid1->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
                if (action == "delete") book->Button3->click();
            });
            QVERIFY(book->isVisible());
        });
        QVERIFY2(!opened, qPrintable(opened ? opened->windowTitle() : QString()));
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(stored(book), QStringList());
    }

    void nameInOtherCaseIsRefused_data()
    {
        QTest::addColumn<ListWindow*>("book");
        QTest::addColumn<QString>("row");  // the row changed; empty for a new one
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        auto* products = static_cast<ListWindow*>(Form3);
        auto* kinds = static_cast<ListWindow*>(Form8);
        const QString mark = "Такая марка изделия уже заведена!";
        const QString kind = "Такая операция уже заведена!";
        QTest::newRow("new product") << products << "" << "пл-12" << mark;
        QTest::newRow("product renamed") << products << "КР-20" << "Пл-12" << mark;
        QTest::newRow("new kind") << kinds << "" << "сварка" << kind;
        QTest::newRow("kind renamed") << kinds << "РЕЗКА" << "сВАРКА" << kind;
    }
    void nameInOtherCaseIsRefused()
    {
        QFETCH(ListWindow*, book);
        QFETCH(QString, row);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        // The database upper-cases Latin letters only: its upper() of the typed name is not the stored one.
        QCOMPARE(db->value("select upper('пл-12 ab')"), QString("пл-12 AB"));
        MessageRecorder rec;
        const QStringList before = stored(book);
        BookEditor* editor = book == Form3 ? static_cast<BookEditor*>(Form7) : static_cast<BookEditor*>(Form9);
        whileManaging(book, book->dataset(), [&] {
            onNextModal([&](QDialog*) {
                auto* name = editor->findChild<QLineEdit*>("Edit1");
                name->clear();
                typeText(name, typed);
                if (book == Form3) Form7->Edit2->setText("1");
                editor->Button1->click();
                QVERIFY(editor->isVisible());
            });
            if (row.isEmpty()) {
                book->Button1->click();
            } else {
                QVERIFY(book->dataset()->locate(tableOf(book).field, row));
                doubleClickRow(book->DBGrid1, book->dataset()->recNo() - 1);
            }
        });
        QCOMPARE(rec.texts(), QStringList{message});
        QCOMPARE(stored(book), before);
    }
};

QTEST_MAIN(BookListsTest)
#include "tst_book_lists.moc"
