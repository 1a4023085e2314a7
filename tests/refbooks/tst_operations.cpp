// The operations book against the database: the pick and its price for the entry editor, the search,
// what a double click opens, deleting, and the price list read back from its workbook.
#include "core/application.h"
#include "refbooks/book_opening.h"
#include "books_fixture.h"
#include "core/data_grid.h"
#include "core/data_module.h"
#include "journal/entry_editor.h"
#include "refbooks/book_instances.h"
#include "support/message_recorder.h"
#include "refbooks/norms_window.h"
#include "refbooks/operation_dialog.h"
#include "refbooks/operations_list.h"
#include "support/test_database.h"
#include "support/xlsx_reader.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {
// Shown in the book, in this order (code points): 5%-А Сварка blanks, 50-Б, O'Neil-1, ПЛ-10 Покраска,
// ПЛ-10 Сварка finished (norms at 10 and 15), ПЛ-10 Сварка blanks. КР-20 has no norm: only the
// price list has it.
const char* kOperations = R"(
truncate accounts_dep.oper, accounts_dep.norm, accounts_dep.izdel, accounts_dep.vid_oper restart identity;
insert into accounts_dep.izdel (marka, nom, massa) values
    ('ПЛ-10', 'ПЛ', 1), ('5%-А', '5%', 1), ('50-Б', '50', 1), ('O''Neil-1', 'O', 1), ('КР-20', 'КР', 1);
insert into accounts_dep.vid_oper (vid) values ('Сварка'), ('Покраска');
insert into accounts_dep.oper (vid, naimen, i_id, cena_new)
select v.id, x.naimen, i.id, x.cena
from (values ('ПЛ-10', 'Сварка', 0, 10), ('ПЛ-10', 'Сварка', 1, 7.5), ('ПЛ-10', 'Покраска', 0, 3.25),
             ('5%-А', 'Сварка', 1, 1), ('50-Б', 'Сварка', 0, 2), ('O''Neil-1', 'Покраска', 0, 4),
             ('КР-20', 'Сварка', 0, 0.3333)) x(marka, vid, naimen, cena)
join accounts_dep.izdel i on i.marka = x.marka join accounts_dep.vid_oper v on v.vid = x.vid;
insert into accounts_dep.norm (o_id, norma, prize, price)
select o.id, 5, 0, 15 from accounts_dep.oper o where o.cena_new = 10;
delete from accounts_dep.norm where o_id = (select id from accounts_dep.oper where cena_new = 0.3333);
)";
const QString kWelding = "ПЛ-10; Сварка; Готовая продукция";

}  // namespace

class OperationsTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    Dataset* oper() { return DataModule6->Oper; }
    int operId(const QString& marka, const QString& vid, int naimen)
    {
        return db
            ->value(QString("select o.id from accounts_dep.oper o join accounts_dep.izdel i on i.id = o.i_id "
                            "join accounts_dep.vid_oper v on v.id = o.vid where i.marka = '%1' and v.vid = '%2' and o.naimen = %3")
                        .arg(QString(marka).replace("'", "''"), vid)
                        .arg(naimen))
            .toInt();
    }
    int productId(const QString& marka)
    {
        return db->value("select id from accounts_dep.izdel where marka = '" + QString(marka).replace("'", "''") + "'").toInt();
    }
    // Picks as the entry editor does, typing into the search box and pressing Enter.
    std::optional<PickedOperation> pickBy(PriceFactors factors, int entryOperId, const QString& typed, int downs, int* shown = nullptr)
    {
        onNextModal([&](QDialog*) {
            typeText(Form4->Edit1, typed);
            for (int i = 0; i < downs; ++i) QTest::keyClick(Form4->Edit1, Qt::Key_Down);
            if (shown) *shown = oper()->recordCount();
            QTest::keyClick(Form4->Edit1, Qt::Key_Return);
            QVERIFY(!Form4->isVisible());
        });
        return pickOperation(*Form4, factors, entryOperId);
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
    void init()
    {
        db->exec(kOperations);
        Form4->Edit1->clear();
        Form4->CheckBox1->setChecked(false);
    }

    // The lowest norm price 10 with the day-off factor first, then the shift's.
    void pickedPrice_data()
    {
        QTest::addColumn<bool>("dayOff");
        QTest::addColumn<int>("shift");
        QTest::addColumn<double>("price");
        QTest::newRow("shift 1") << false << 1 << 10.0;
        QTest::newRow("shift 2") << false << 2 << 10.0;
        QTest::newRow("shift 3") << false << 3 << 12.0;
        QTest::newRow("overtime") << false << 4 << 15.0;
        QTest::newRow("day off, shift 1") << true << 1 << 20.0;
        QTest::newRow("day off, shift 2") << true << 2 << 20.0;
        QTest::newRow("day off, shift 3") << true << 3 << 24.0;
        QTest::newRow("day off, overtime") << true << 4 << 30.0;
    }
    void pickedPrice()
    {
        QFETCH(bool, dayOff);
        QFETCH(int, shift);
        QFETCH(double, price);
        const std::optional<PickedOperation> picked = pickBy({dayOff, shift}, 0, "пл-10", 1);
        QVERIFY(picked);
        QCOMPARE(picked->finalPrice, price);
        QCOMPARE(picked->text, kWelding);
        QCOMPARE(picked->operId, operId("ПЛ-10", "Сварка", 0));
        QCOMPARE(picked->productId, productId("ПЛ-10"));
    }

    // The search takes the text as typed, as data; a choice from an empty list hands nothing back.
    void pick_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("startOn");  // the changed entry's operation, as mark|kind|group
        QTest::addColumn<int>("downs");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("chosen");  // empty: nothing handed back
        QTest::newRow("blanks only show all") << "   " << "" << 0 << 6 << "5%-А; Сварка; Заготовки";
        QTest::newRow("leading blank") << " пл" << "" << 0 << 0 << "";
        QTest::newRow("quote") << "o'n" << "" << 0 << 1 << "O'Neil-1; Покраска; Готовая продукция";
        QTest::newRow("percent is itself") << "5%" << "" << 0 << 1 << "5%-А; Сварка; Заготовки";
        QTest::newRow("Down moves, other case") << "пЛ" << "" << 2 << 3 << "ПЛ-10; Сварка; Заготовки";
        QTest::newRow("changed entry starts on its operation") << "" << "ПЛ-10|Сварка|1" << 0 << 6 << "ПЛ-10; Сварка; Заготовки";
        QTest::newRow("nothing found") << "Я" << "" << 0 << 0 << "";
    }
    void pick()
    {
        QFETCH(QString, typed);
        QFETCH(QString, startOn);
        QFETCH(int, downs);
        QFETCH(int, shown);
        QFETCH(QString, chosen);
        MessageRecorder rec;
        const QStringList start = startOn.split('|');
        const int startId = startOn.isEmpty() ? 0 : operId(start[0], start[1], start[2].toInt());
        // What an earlier pick left in the box; a pick starts from the whole list.
        Form4->Edit1->setText("O'");
        int seen = -1;
        const std::optional<PickedOperation> picked = pickBy({true, 4}, startId, typed, downs, &seen);
        QCOMPARE(bool(picked), !chosen.isEmpty());
        QCOMPARE(seen, shown);
        if (picked) {
            QCOMPARE(picked->text, chosen);
            const QStringList parts = chosen.split("; ");
            QCOMPARE(picked->operId, operId(parts[0], parts[1], parts[2] == "Заготовки" ? 1 : 0));
        }
        QVERIFY(rec.seen.isEmpty());
        // The editor reads the chosen operation's lowest price from the list, which is left whole.
        QVERIFY(oper()->isOpen());
        QVERIFY(!oper()->filtered());
        QCOMPARE(oper()->recordCount(), 6);
        QVERIFY(Form4->Edit1->isHidden());
        QVERIFY(!Form4->Button2->isDefault());
        oper()->close();
    }

    // "Цены" turns a double click (or Enter on the row) in manage mode into the norms of the operation;
    // a pick is a pick.
    void doubleClick_data()
    {
        QTest::addColumn<bool>("prices");
        QTest::addColumn<bool>("picking");
        QTest::addColumn<bool>("byEnter");  // Enter on the row instead of the mouse
        QTest::addColumn<QString>("opens");
        QTest::newRow("change") << false << false << false << "Form10";
        QTest::newRow("norms") << true << false << false << "Form22";
        QTest::newRow("norms by Enter") << true << false << true << "Form22";
        QTest::newRow("pick, prices checked") << true << true << false << "";
        QTest::newRow("pick by Enter, prices checked") << true << true << true << "";
    }
    void doubleClick()
    {
        QFETCH(bool, prices);
        QFETCH(bool, picking);
        QFETCH(bool, byEnter);
        QFETCH(QString, opens);
        const int id = operId("ПЛ-10", "Сварка", 0);
        QString opened;
        auto onRow = [&] {
            Form4->CheckBox1->setChecked(prices);
            QVERIFY(oper()->locate("id", id));
            if (!picking) onNextModal([&](QDialog* w) {
                opened = w->objectName();
                if (w == Form10) {
                    QCOMPARE(Form10->windowTitle(), QString("Изменение данных о цене за операцию"));
                    QCOMPARE(Form10->Tag, 2);
                    QCOMPARE(Form10->Edit1->text(), QString("ПЛ-10"));
                    QCOMPARE(Form10->Edit2->text(), QString("Сварка"));
                    QCOMPARE(Form10->ComboBox1->currentText(), QString("Готовая продукция"));
                    QCOMPARE(Form10->ChosenProductId, productId("ПЛ-10"));
                    QCOMPARE(Form10->ChosenKindId, db->value("select id from accounts_dep.vid_oper where vid = 'Сварка'").toInt());
                } else {
                    QCOMPARE(shownTexts(Form22->norm, "price"), QStringList({"10", "15"}));
                    QCOMPARE(shownTexts(Form22->norm, "o_id"), QStringList({QString::number(id), QString::number(id)}));
                }
            });
            if (byEnter) {
                Form4->DBGrid1->setFocus();
                QTest::keyClick(Form4->DBGrid1, Qt::Key_Return);
            } else {
                doubleClickRow(Form4->DBGrid1, oper()->recNo() - 1);
            }
        };
        if (picking) {
            onNextModal([&](QDialog*) { onRow(); });
            const std::optional<PickedOperation> picked = pickOperation(*Form4, {false, 1});
            QVERIFY(picked);
            QCOMPARE(picked->text, kWelding);
            QCOMPARE(picked->finalPrice, 10.0);
            oper()->close();
        } else {
            whileManaging(Form4, oper(), [&] {
                onRow();
                QVERIFY(Form4->isVisible());
            });
        }
        QCOMPARE(opened, opens);
    }

    void remove_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("no") << int(msg::No);
        QTest::newRow("yes") << int(msg::Yes);
    }
    void remove()
    {
        QFETCH(int, answer);
        MessageRecorder rec;
        rec.answers << answer;
        const bool deletes = answer == msg::Yes;
        const int id = operId("ПЛ-10", "Покраска", 0);
        whileManaging(Form4, oper(), [&] {
            QVERIFY(oper()->locate("id", id));
            Form4->Button3->click();
            QCOMPARE(oper()->recordCount(), deletes ? 5 : 6);
            QCOMPARE(oper()->recNo(), deletes ? 1 : 4);
        });
        QCOMPARE(rec.texts(), QStringList{"Удалить операцию?"});
        QCOMPARE(rec.seen[0].caption, QString("Удаление"));
        QVERIFY(rec.seen[0].icon == msg::Icon::Question);
        QCOMPARE(db->value(QString("select count(*) from accounts_dep.oper where id = %1").arg(id)).toInt(), deletes ? 0 : 1);
        // Its norm stays where it was.
        QCOMPARE(db->value(QString("select count(*) from accounts_dep.norm where o_id = %1").arg(id)).toInt(), 1);
    }

    // With no operation shown, change, delete and the norms have nothing to work on.
    void emptyListActsOnNothing()
    {
        MessageRecorder rec;
        whileManaging(Form4, oper(), [&] {
            typeText(Form4->Edit1, "Я");
            QVERIFY(oper()->isEmpty());
            QVERIFY(!windowOpenedBy([] { Form4->Button2->click(); }));
            Form4->CheckBox1->setChecked(true);
            QVERIFY(!windowOpenedBy([] { QTest::mouseDClick(Form4->DBGrid1->viewport(), Qt::LeftButton); }));
            Form4->Button3->click();
        });
        QVERIFY(rec.seen.isEmpty());
        QCOMPARE(db->value("select count(*) from accounts_dep.oper").toInt(), 7);
    }

    // Every operation, also one without norms, at its own price, in mark, kind and group order; the
    // texts and prices as the spreadsheet reads them, nothing formatted.
    void priceList()
    {
        MessageRecorder rec;
        QList<QUrl> opened;
        Form4->WorkbookOpener = [&opened](const QUrl& url) {
            opened << url;
            return true;
        };
        whileManaging(Form4, oper(), [] { Form4->Button5->click(); });
        QCOMPARE(opened.size(), 1);
        const XlsxReader book(opened[0].toLocalFile());
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        QFile::remove(opened[0].toLocalFile());
        QCOMPARE(book.sheetNames, QStringList{"Лист1"});
        const QList<QVariantList> expected{
            {"Марка", "Операция", "Цена", "Вид"},
            {"5%-А", "Сварка", 1.0, "Заготовки"},
            {"50-Б", "Сварка", 2.0, "Готовая продукция"},
            {"O'Neil-1", "Покраска", 4.0, "Готовая продукция"},
            {"КР-20", "Сварка", 0.3333, "Готовая продукция"},
            {"ПЛ-10", "Покраска", 3.25, "Готовая продукция"},
            {"ПЛ-10", "Сварка", 10.0, "Готовая продукция"},
            {"ПЛ-10", "Сварка", 7.5, "Заготовки"},
        };
        for (int r = 0; r < expected.size(); ++r)
            for (int c = 0; c < expected[r].size(); ++c) QCOMPARE(book.value(r + 1, c + 1), expected[r][c]);
        QCOMPARE(book.cells.size(), expected.size() * 4);
        for (const auto& cell : book.cells) QVERIFY(!cell.bold && !cell.textFormat);
        QVERIFY(book.columnWidths.isEmpty());
        QVERIFY(rec.seen.isEmpty());
        QVERIFY(!Form4->XLS_Rep->isOpen());
    }

    // A workbook that cannot be made is reported once, nothing is opened, and the query is closed
    // again, so the next export reads the operations anew.
    void priceListWithoutWorkbook()
    {
        MessageRecorder rec;
        QTemporaryFile plainFile;
        QVERIFY(plainFile.open());
        int opened = 0;
        Form4->WorkbookOpener = [&opened](const QUrl&) { return ++opened > 0; };
        Form4->WorkbookFolder = plainFile.fileName() + "/книги";
        Form4->Button5Click();
        QCOMPARE(rec.texts(), QStringList{"Ошибка открытия файла Microsoft Excel.\n" + Form4->WorkbookFolder});
        QCOMPARE(opened, 0);
        QVERIFY(!Form4->XLS_Rep->isOpen());
        Form4->WorkbookFolder.clear();
    }
};

QTEST_MAIN(OperationsTest)
#include "tst_operations.moc"
