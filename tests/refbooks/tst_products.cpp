// The products book against the database: pick into the operation dialog, the editor's group, rate and
// duplicate check, and the row the list comes back to.
#include "core/application.h"
#include "refbooks/book_opening.h"
#include "books_fixture.h"
#include "core/data_module.h"
#include "refbooks/book_instances.h"
#include "support/message_recorder.h"
#include "refbooks/operation_dialog.h"
#include "refbooks/product_editor.h"
#include "refbooks/products_list.h"
#include "support/test_database.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
// In the order of the list (code points): %_1, %x1, Z'9, КР АL-5, ПЛ-12, ПРН-1.
const char* kProducts = R"(
truncate accounts_dep.izdel;
insert into accounts_dep.izdel (marka, nom, massa) values
    ('ПЛ-12', 'Платик', 1.5), ('КР АL-5', 'Кронштейны аллюминиевые', 3), ('Z''9', 'Z''9', 0.25),
    ('%_1', '%_1', 1), ('%x1', '%x1', 2), ('ПРН-1', 'Профиль Н-обр.', 0.123456789);
)";
const QStringList kAll{"%_1", "%x1", "Z'9", "КР АL-5", "ПЛ-12", "ПРН-1"};
}

class ProductsTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    Dataset* izdel() { return DataModule6->Izdel; }
    int idOf(const QString& mark) { return db->idOf("izdel", "marka", mark); }
    QStringList marks() { return db->rows("select marka from accounts_dep.izdel order by marka"); }

    // Opens the editor from the list as a user does: "Добавить", or a double click on the row of `mark`.
    void openEditor(const QString& mark)
    {
        if (mark.isEmpty()) {
            Form3->Button1->click();
        } else {
            QVERIFY(izdel()->locate("marka", mark));
            doubleClickRow(Form3->DBGrid1, izdel()->recNo() - 1);
        }
    }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase;
        db->connectProgram();
        createBookWindows();
    }
    void cleanupTestCase() { delete db; }
    void init()
    {
        db->exec(kProducts);
        Form3->Edit1->clear();
    }

    // Enter does not reach the hidden "Выбрать"; a double click chooses; with no row it only closes.
    void pick_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("row");
        QTest::newRow("percent and underscore are themselves") << "%_" << QStringList{"%_1"} << 0;
        QTest::newRow("percent") << "%" << QStringList{"%_1", "%x1"} << 1;
        QTest::newRow("quote, other case") << "z'" << QStringList{"Z'9"} << 0;
        QTest::newRow("Cyrillic, other case") << "кр аl" << QStringList{"КР АL-5"} << 0;
        QTest::newRow("nothing found") << "ПЛ-13" << QStringList{} << -1;
    }
    void pick()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, shown);
        QFETCH(int, row);
        const std::optional<PickedRow> picked = whilePicking(Form3, [&] {
            QVERIFY(Form3->Edit1->isVisible());
            QVERIFY(Form3->Button2->isHidden());
            typeText(Form3->Edit1, typed);
            QCOMPARE(shownTexts(izdel(), "marka"), shown);
            QTest::keyClick(Form3->Edit1, Qt::Key_Return);
            QVERIFY(Form3->isVisible());
            doubleClickRow(Form3->DBGrid1, row);
            QVERIFY(!Form3->isVisible());
        });
        // With no row to choose nothing is handed back: the dialog keeps the product it had.
        QCOMPARE(bool(picked), row >= 0);
        if (picked) {
            QCOMPARE(picked->text, shown[row]);
            QCOMPARE(picked->id, idOf(shown[row]));
        }
        QVERIFY(!izdel()->isOpen());
        QVERIFY(Form3->Edit1->isHidden());
        QVERIFY(!Form3->Button2->isDefault());
    }

    void save_data()
    {
        QTest::addColumn<QString>("row");   // the product changed; empty for a new one
        QTest::addColumn<QString>("mark");  // typed
        QTest::addColumn<QString>("rate");  // typed key by key
        QTest::addColumn<QString>("shownRate");
        QTest::addColumn<QString>("stored");  // marka|nom|massa
        QTest::newRow("point typed as comma") << "" << "  пл-7 " << "1.5" << "1,5" << "пл-7|Платик|1.5";
        QTest::newRow("no rule, quote and percent") << "" << "о'Н 50%_x" << "2,25" << "2,25" << "о'Н 50%_x|о'Н|2.25";
        QTest::newRow("letters dropped from the rate") << "" << "КР АL-9" << "3x" << "3" << "КР АL-9|Кронштейны аллюминиевые|3";
        QTest::newRow("own mark in other case") << "ПЛ-12" << "пл-12" << "" << "1,5" << "пл-12|Платик|1.5";
        QTest::newRow("own quoted mark in other case") << "Z'9" << "z'9" << "" << "0,25" << "z'9|z'9|0.25";
        QTest::newRow("new mark, new group") << "ПРН-1" << "ПРД У-1" << "" << "0,12346" << "ПРД У-1|Профили дек. угловые|0.12346";
    }
    void save()
    {
        QFETCH(QString, row);
        QFETCH(QString, mark);
        QFETCH(QString, rate);
        QFETCH(QString, shownRate);
        QFETCH(QString, stored);
        MessageRecorder rec;
        const bool adding = row.isEmpty();
        const int id = adding ? 0 : idOf(row);
        whileManaging(Form3, izdel(), [&] {
            izdel()->setRecNo(3);
            const int before = adding ? 3 : izdel()->recNo();
            onNextModal([&](QDialog*) {
                QCOMPARE(Form7->windowTitle(), QString(adding ? "Заведение нового изделия" : "Изменение данных изделия"));
                QCOMPARE(Form7->Edit1->text(), row);
                Form7->Edit1->clear();
                typeText(Form7->Edit1, mark);
                typeText(Form7->Edit2, rate);
                QCOMPARE(Form7->Edit2->text(), shownRate);
                Form7->Button1->click();
                QVERIFY(!Form7->isVisible());
            });
            if (adding) {
                openEditor(row);
            } else {
                QVERIFY(izdel()->locate("marka", row));
                const int at = izdel()->recNo();
                openEditor(row);
                QCOMPARE(izdel()->recNo(), at);
            }
            if (adding) QCOMPARE(izdel()->recNo(), before);
        });
        QCOMPARE(rec.texts(), QStringList{});
        const QString where = adding ? "id = (select max(id) from accounts_dep.izdel)" : QString("id = %1").arg(id);
        QCOMPARE(db->rows("select marka, nom, massa from accounts_dep.izdel where " + where), QStringList{stored});
        QCOMPARE(db->value("select count(*) from accounts_dep.izdel").toInt(), kAll.size() + (adding ? 1 : 0));
    }

    // A refused save writes nothing, leaves no started row in the list and keeps the editor open as typed.
    void refusedSave_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("rate");  // pasted
        QTest::addColumn<QString>("message");
        const QString dup = "Такая марка изделия уже заведена!";
        const QString empty = "Все поля должны быть заполнены!";
        QTest::newRow("blank mark") << "" << "   " << "1" << empty;
        QTest::newRow("blank rate") << "" << "ПЛ-20" << " " << empty;
        QTest::newRow("mark in other case") << "" << "пл-12" << "1" << dup;
        QTest::newRow("quoted mark in other case") << "" << " z'9 " << "1" << dup;
        QTest::newRow("another product's mark, other case") << "ПРН-1" << "кр аl-5" << "1" << dup;
        const QString noNumber = "В поле «Расценка» должно быть число, например 1234,5.";
        QTest::newRow("two commas, new") << "" << "ПЛ-20" << "1,5,5" << noNumber;
        QTest::newRow("text, change") << "ПЛ-12" << "ПЛ-20" << "abc" << noNumber;
        QTest::newRow("thousands with a comma, new") << "" << "ПЛ-20" << "1,234.5" << noNumber;
        QTest::newRow("beyond any number, change") << "ПЛ-12" << "ПЛ-20" << "1e400" << noNumber;
    }
    void refusedSave()
    {
        QFETCH(QString, row);
        QFETCH(QString, mark);
        QFETCH(QString, rate);
        QFETCH(QString, message);
        MessageRecorder rec;
        const QStringList before = db->rows("select marka, nom, massa from accounts_dep.izdel order by id");
        whileManaging(Form3, izdel(), [&] {
            onNextModal([&](QDialog*) {
                Form7->Edit1->setText(mark);
                Form7->Edit2->setText(rate);
                Form7->Button1->click();
                QVERIFY(Form7->isVisible());
                QCOMPARE(Form7->Edit1->text(), mark);
                QCOMPARE(izdel()->state(), Dataset::State::Browse);
                QCOMPARE(shownTexts(izdel(), "marka"), kAll);
            });
            openEditor(row);
        });
        QCOMPARE(rec.texts(), QStringList{message});
        QCOMPARE(rec.seen[0].caption, QString("Ошибка"));
        QCOMPARE(db->rows("select marka, nom, massa from accounts_dep.izdel order by id"), before);
    }

    void deleteStaysOnTheRowNumber_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("after");
        QTest::newRow("no") << 2 << int(msg::No) << 2;
        QTest::newRow("yes") << 2 << int(msg::Yes) << 2;
        QTest::newRow("yes, last row") << 6 << int(msg::Yes) << 5;
    }
    void deleteStaysOnTheRowNumber()
    {
        QFETCH(int, row);
        QFETCH(int, answer);
        QFETCH(int, after);
        MessageRecorder rec;
        rec.answers << answer;
        const bool deletes = answer == msg::Yes;
        QStringList left = kAll;
        if (deletes) left.removeAt(row - 1);
        whileManaging(Form3, izdel(), [&] {
            QVERIFY(Form3->Button3->isVisible());
            izdel()->setRecNo(row);
            Form3->Button3->click();
            QCOMPARE(shownTexts(izdel(), "marka"), left);
            QCOMPARE(izdel()->recNo(), after);
        });
        QCOMPARE(rec.texts(), QStringList{"Удалить изделие?"});
        QCOMPARE(rec.seen[0].caption, QString("Удаление"));
        QCOMPARE(marks().size(), left.size());
    }
};

QTEST_MAIN(ProductsTest)
#include "tst_products.moc"
