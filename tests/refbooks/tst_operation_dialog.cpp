// The operation price dialog opened from the operations book: products and kinds picked from their
// books, the duplicate check on kind, group and product, and a new operation in the book at once.
#include "core/application.h"
#include "refbooks/book_opening.h"
#include "books_fixture.h"
#include "core/data_grid.h"
#include "store/books_store.h"
#include "core/data_module.h"
#include "refbooks/book_instances.h"
#include "refbooks/kinds_list.h"
#include "support/message_recorder.h"
#include "refbooks/norms_window.h"
#include "refbooks/operation_dialog.h"
#include "refbooks/operations_list.h"
#include "refbooks/products_list.h"
#include "support/test_database.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
const char* kOperations = R"(
truncate accounts_dep.oper, accounts_dep.norm, accounts_dep.izdel, accounts_dep.vid_oper restart identity;
insert into accounts_dep.izdel (marka, nom, massa) values ('ПЛ-10', 'ПЛ', 1), ('КР-20', 'КР', 1);
insert into accounts_dep.vid_oper (vid) values ('Сварка'), ('Резка');
insert into accounts_dep.oper (vid, naimen, i_id, cena_new)
select v.id, x.naimen, i.id, 5
from (values ('ПЛ-10', 'Сварка', 0), ('ПЛ-10', 'Сварка', 1), ('КР-20', 'Резка', 0)) x(marka, vid, naimen)
join accounts_dep.izdel i on i.marka = x.marka join accounts_dep.vid_oper v on v.vid = x.vid;
)";
const QString kSame = "Операция с такими параметрами уже заведена!";
const QString kEmpty = "Все поля должны быть заполнены!";

// The widget Tab goes to next.
QWidget* nextTabStop(QWidget* w)
{
    do w = w->nextInFocusChain();
    while (!(w->focusPolicy() & Qt::TabFocus));
    return w;
}
}  // namespace

class OperationDialogTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    Dataset* oper() { return DataModule6->Oper; }
    int productId(const QString& marka) { return db->value("select id from accounts_dep.izdel where marka = '" + marka + "'").toInt(); }
    int kindId(const QString& vid) { return db->value("select id from accounts_dep.vid_oper where vid = '" + vid + "'").toInt(); }
    int operId(const QString& triple)
    {
        const QStringList t = triple.split('|');
        return db->value(QString("select id from accounts_dep.oper where i_id = %1 and vid = %2 and naimen = %3")
                             .arg(productId(t[0]))
                             .arg(kindId(t[1]))
                             .arg(t[2]))
            .toInt();
    }
    QStringList stored() { return db->rows("select id, i_id, vid, naimen, cena_new from accounts_dep.oper order by id"); }

    // The dialog's "..." for a book: the search typed, then a double click on the first row shown.
    static void pickIn(QPushButton* button, ListWindow* book, const QString& typed)
    {
        onNextModal([&](QDialog*) {
            typeText(book->Edit1, typed);
            doubleClickRow(book->DBGrid1, 0);
            QVERIFY(!book->isVisible());
        });
        button->click();
    }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase;
        db->connectProgram();
        createBookWindows();
        Form4 = new TForm4(*DataModule6);
        Form22 = new TForm22(*DataModule6);
    }
    void cleanupTestCase() { delete db; }
    void init() { db->exec(kOperations); }

    void save_data()
    {
        QTest::addColumn<QString>("changed");  // mark|kind|group of the operation changed; empty to add one
        QTest::addColumn<QString>("product");  // typed in the products book's search; empty: no pick
        QTest::addColumn<QString>("kind");     // the same for the kinds book
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("result");  // mark|kind|group of the stored operation
        QTest::newRow("add an existing one") << "" << "ПЛ-10" << "Сварка" << 0 << kSame << "";
        QTest::newRow("add the other group") << "" << "КР-20" << "Резка" << 1 << "" << "КР-20|Резка|1";
        QTest::newRow("add without a product") << "" << "" << "Резка" << 0 << kEmpty << "";
        QTest::newRow("add from a search that found none") << "" << "Я" << "Резка" << 0 << kEmpty << "";
        QTest::newRow("change nothing") << "ПЛ-10|Сварка|0" << "" << "" << 0 << "" << "ПЛ-10|Сварка|0";
        QTest::newRow("change onto another") << "ПЛ-10|Сварка|0" << "" << "" << 1 << kSame << "";
        QTest::newRow("change product and kind") << "ПЛ-10|Сварка|1" << "КР-20" << "Резка" << 1 << "" << "КР-20|Резка|1";
    }
    void save()
    {
        QFETCH(QString, changed);
        QFETCH(QString, product);
        QFETCH(QString, kind);
        QFETCH(int, group);
        QFETCH(QString, message);
        QFETCH(QString, result);
        MessageRecorder rec;
        const bool adding = changed.isEmpty();
        const int id = adding ? 0 : operId(changed);
        const QStringList before = stored();
        Form10->ChosenProductId = Form10->ChosenKindId = 0;
        whileManaging(Form4, oper(), [&] {
            onNextModal([&](QDialog*) {
                QCOMPARE(Form10->Tag, adding ? 1 : 2);
                if (!product.isEmpty()) pickIn(Form10->Button3, Form3, product);
                if (!kind.isEmpty()) pickIn(Form10->Button4, Form8, kind);
                Form10->ComboBox1->setCurrentIndex(group);
                Form10->Button1->click();
                QCOMPARE(Form10->isVisible(), !message.isEmpty());
            });
            if (adding) {
                Form4->Button1->click();
            } else {
                QVERIFY(oper()->locate("id", id));
                doubleClickRow(Form4->DBGrid1, oper()->recNo() - 1);
            }
            if (message.isEmpty()) {
                // Re-read, at the first row; a new operation is there with the norm the database gave it.
                QCOMPARE(oper()->recNo(), 1);
                QVERIFY(oper()->locate("id", operId(result)));
                QCOMPARE(oper()->fieldByName("norma").asInteger(), 1);
                QCOMPARE(oper()->fieldByName("cena").asDouble(), adding ? 0.0 : 5.0);
            }
        });
        QCOMPARE(rec.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        if (!message.isEmpty()) {
            QCOMPARE(rec.seen[0].caption, QString("Ошибка"));
            QCOMPARE(stored(), before);
            return;
        }
        const QStringList t = result.split('|');
        const QString values = QString("%1, %2, %3").arg(kindId(t[1])).arg(group).arg(productId(t[0]));
        if (adding) {
            QCOMPARE(stored().size(), before.size() + 1);
            QCOMPARE(store::bookssql::addOperation(kindId(t[1]), group, productId(t[0])),
                     QString("insert into accounts_dep.oper(vid, naimen, i_id, cena_new)values (%1, 0)").arg(values));
        } else {
            QCOMPARE(operId(result), id);
            QCOMPARE(stored().size(), before.size());
            QCOMPARE(store::bookssql::changeOperation(id, kindId(t[1]), group, productId(t[0])), QString("update accounts_dep.oper set vid=%1, naimen=%2,  i_id=%3 where id=%4")
                                                       .arg(kindId(t[1]))
                                                       .arg(group)
                                                       .arg(productId(t[0]))
                                                       .arg(id));
        }
    }

    // Closing a book without a choice keeps what the dialog had.
    void cancelledPicksKeepTheChoice()
    {
        Form10->Edit1->setText("ПЛ-10");
        Form10->Edit2->setText("Сварка");
        Form10->ChosenProductId = 5;
        Form10->ChosenKindId = 6;
        for (QPushButton* button : {Form10->Button3, Form10->Button4}) {
            onNextModal([](QDialog* book) { QTest::keyClick(book, Qt::Key_Escape); });
            button->click();
        }
        QCOMPARE(Form10->Edit1->text(), QString("ПЛ-10"));
        QCOMPARE(Form10->Edit2->text(), QString("Сварка"));
        QCOMPARE(Form10->ChosenProductId, 5);
        QCOMPARE(Form10->ChosenKindId, 6);
        QVERIFY(!DataModule6->Izdel->isOpen());
        QVERIFY(!DataModule6->Vid_oper->isOpen());
    }

    // The product's "..." has the focus at start; Tab skips the read-only boxes.
    void keyboardOrder()
    {
        onNextModal([](QDialog*) {
            QCOMPARE(Form10->focusWidget(), static_cast<QWidget*>(Form10->Button3));
            const QList<QWidget*> order{Form10->Button3, Form10->Button4, Form10->ComboBox1, Form10->Button1, Form10->Button2,
                                        Form10->Button3};
            for (int i = 0; i + 1 < order.size(); ++i) QCOMPARE(nextTabStop(order[i]), order[i + 1]);
            QCOMPARE(Form10->ComboBox1->count(), 2);
        });
        Form10->exec();
    }
};

QTEST_MAIN(OperationDialogTest)
#include "tst_operation_dialog.moc"
