// The workers book against the database: search, pick into the entry editor, add, change, delete.
#include "core/application.h"
#include "refbooks/book_opening.h"
#include "books_fixture.h"
#include "core/data_module.h"
#include "journal/entry_editor.h"
#include "refbooks/book_instances.h"
#include "support/message_recorder.h"
#include "support/test_database.h"
#include "refbooks/worker_editor.h"
#include "refbooks/workers_list.h"

#include <QLineEdit>
#include <QPushButton>
#include <QWheelEvent>
#include <QtTest>

namespace {
// In the order of the list (code points): 100% Процентов, 1000 Тысяч, a_b, axb, Иванов И.И., О'Брайен Д.,
// Сидоров С.С., ивлев П.П.
const char* kWorkers = R"(
truncate accounts_dep.person restart identity;
delete from cmn_contractor.person;
insert into accounts_dep.person (fio, s_staffpos_hl) values
    ('Иванов И.И.', 'Сварочный участок'), ('ивлев П.П.', ''), ('Сидоров С.С.', 'Старый цех'), ('О''Брайен Д.', ''),
    ('100% Процентов', ''), ('1000 Тысяч', ''), ('a_b', ''), ('axb', '');
)";
const QStringList kAll{"100% Процентов", "1000 Тысяч", "a_b", "axb", "Иванов И.И.", "О'Брайен Д.", "Сидоров С.С.", "ивлев П.П."};
}

class WorkersTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    Dataset* workers() { return DataModule6->Workers; }
    int idOf(const QString& fio) { return db->idOf("person", "fio", fio); }

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
        db->exec(kWorkers);
        Form5->Edit1->clear();
    }

    void search_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("first letters, either case") << "ИВ" << QStringList{"Иванов И.И.", "ивлев П.П."};
        QTest::newRow("quote") << "о'б" << QStringList{"О'Брайен Д."};
        QTest::newRow("percent is itself") << "100%" << QStringList{"100% Процентов"};
        QTest::newRow("percent alone") << "%" << QStringList{};
        QTest::newRow("underscore is itself") << "a_" << QStringList{"a_b"};
        QTest::newRow("leading blank") << " Ив" << QStringList{};
    }
    void search()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, shown);
        whileManaging(Form5, workers(), [&] {
            QCOMPARE(shownTexts(workers(), "fio"), kAll);
            typeText(Form5->Edit1, typed);
            QCOMPARE(shownTexts(workers(), "fio"), shown);
            QCOMPARE(Form5->DBGrid1->model()->rowCount(), shown.size());
            if (!shown.isEmpty()) QCOMPARE(workers()->recNo(), 1);
            Form5->Edit1->clear();
            QCOMPARE(shownTexts(workers(), "fio"), kAll);
        });
    }

    // Enter in the search box chooses; Up and Down move through the rows the search left.
    void pick_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("downs");
        QTest::addColumn<int>("ups");
        QTest::addColumn<QString>("name");  // empty: the entry editor keeps its worker
        QTest::newRow("first match") << "ив" << 0 << 0 << "Иванов И.И.";
        QTest::newRow("down to the second") << "ив" << 3 << 0 << "ивлев П.П.";
        QTest::newRow("down and up") << "ив" << 1 << 1 << "Иванов И.И.";
        QTest::newRow("quote") << "О'" << 0 << 0 << "О'Брайен Д.";
        QTest::newRow("no match") << "zz" << 1 << 0 << "";
    }
    void pick()
    {
        QFETCH(QString, typed);
        QFETCH(int, downs);
        QFETCH(int, ups);
        QFETCH(QString, name);
        Form5->Edit1->setText("старый поиск");
        bool pickLook = false;
        const std::optional<PickedRow> picked = whilePicking(Form5, [&] {
            pickLook = Form5->Tag == 1 && plain(Form5->Button2->text()) == "Выбрать" && Form5->Button2->isDefault()
                && Form5->Button1->isHidden() && Form5->Button3->isHidden() && Form5->Edit1->text().isEmpty()
                && Form5->focusWidget() == Form5->Edit1;
            typeText(Form5->Edit1, typed);
            for (int i = 0; i < downs; ++i) QTest::keyClick(Form5->Edit1, Qt::Key_Down);
            for (int i = 0; i < ups; ++i) QTest::keyClick(Form5->Edit1, Qt::Key_Up);
            QTest::keyClick(Form5->Edit1, Qt::Key_Return);
            QVERIFY(!Form5->isVisible());
        });
        QVERIFY(pickLook);
        QVERIFY(!workers()->isOpen());
        QCOMPARE(bool(picked), !name.isEmpty());
        if (picked) {
            QCOMPARE(picked->text, name);
            QCOMPARE(picked->id, idOf(name));
        }
    }

    void menuOpensForManagingAfterAPick()
    {
        whilePicking(Form5, [] { QTest::keyClick(Form5->Edit1, Qt::Key_Escape); });
        whileManaging(Form5, workers(), [&] {
            QCOMPARE(Form5->Tag, 0);
            QVERIFY(workers()->isOpen());
            QCOMPARE(plain(Form5->Button2->text()), QString("Изменить"));
            QVERIFY(!Form5->Button2->isDefault());
            QVERIFY(Form5->Button1->isDefault());
            QVERIFY(Form5->Button1->isVisible() && Form5->Button3->isVisible());
        });
        QVERIFY(!workers()->isOpen());
    }

    void addStoresNameAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("department");
        QTest::addColumn<QString>("stored");
        QTest::newRow("quotes, percent, Cyrillic")
            << "  Д'Артаньян-О'Нил 50%_ \\ :id? {fn x}  " << "Склад" << "Д'Артаньян-О'Нил 50%_ \\ :id? {fn x}|Склад";
        QTest::newRow("no department") << "Петров П.П." << "" << "Петров П.П.|";
    }
    void addStoresNameAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, department);
        QFETCH(QString, stored);
        const QString name = stored.section('|', 0, 0);
        whileManaging(Form5, workers(), [&] {
            workers()->setRecNo(4);
            onNextModal([&](QDialog*) {
                QCOMPARE(Form2->windowTitle(), QString("Заведение данных нового работника"));
                QCOMPARE(Form2->focusWidget(), static_cast<QWidget*>(Form2->Edit1));
                QVERIFY(Form2->LCB_department->count() > 0);
                Form2->LCB_department->setCurrentIndex(Form2->LCB_department->findText(department));
                typeText(Form2->Edit1, typed);
                Form2->Button1->click();
            });
            Form5->Button1->click();
            QCOMPARE(workers()->recNo(), 1);  // a new worker: back to the first row
            QCOMPARE(workers()->recordCount(), kAll.size() + 1);
            typeText(Form5->Edit1, name.left(name.size() - 1));
            QCOMPARE(shownTexts(workers(), "fio"), QStringList{name});
        });
        QCOMPARE(db->rows("select fio, s_staffpos_hl from accounts_dep.person where id = (select max(id) from accounts_dep.person)"),
                 QStringList{stored});
        QCOMPARE(db->value("select count(*) from accounts_dep.person where s_staffpos_hl is null"), QString("0"));
    }

    void blankNameIsRefused()
    {
        MessageRecorder rec;
        whileManaging(Form5, workers(), [&] {
            onNextModal([&](QDialog*) {
                typeText(Form2->Edit1, "   ");
                Form2->Button1->click();
                QVERIFY(Form2->isVisible());
            });
            Form5->Button1->click();
        });
        QCOMPARE(rec.texts(), QStringList{"ФИО нужно заполнить!"});
        QCOMPARE(rec.seen[0].caption, QString("Ошибка"));
        QCOMPARE(rec.seen[0].icon, msg::Icon::Stop);
        QCOMPARE(db->value("select count(*) from accounts_dep.person").toInt(), kAll.size());
    }

    // A change returns to the row number it started from. The department box shows the worker's own
    // department, and a worker whose caption is in no department keeps it unless another is chosen.
    void changeKeepsRowAndDepartment_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("choose");  // empty: leave the box as it opens
        QTest::addColumn<QString>("shown");   // what the box shows when the editor opens
        QTest::addColumn<QString>("stored");
        QTest::newRow("department from the list") << 5 << "Иванов-Петров И.И." << "" << "Сварочный участок"
                                                  << "Иванов-Петров И.И.|Сварочный участок";
        QTest::newRow("caption of no department") << 7 << "Сидоров С.С." << "" << "" << "Сидоров С.С.|Старый цех";
        QTest::newRow("another department") << 5 << "Иванов И.И." << "Склад" << "Сварочный участок" << "Иванов И.И.|Склад";
        QTest::newRow("quote") << 6 << "О'Брайен-О'Нил Д." << "" << "" << "О'Брайен-О'Нил Д.|";
    }
    void changeKeepsRowAndDepartment()
    {
        QFETCH(int, row);
        QFETCH(QString, name);
        QFETCH(QString, choose);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        const int id = idOf(kAll[row - 1]);
        whileManaging(Form5, workers(), [&] {
            onNextModal([&](QDialog*) {
                QCOMPARE(Form2->windowTitle(), QString("Изменение данных работника"));
                QCOMPARE(Form2->Edit1->text(), kAll[row - 1]);
                QCOMPARE(Form2->LCB_department->currentText(), shown);
                if (!choose.isEmpty()) Form2->LCB_department->setCurrentIndex(Form2->LCB_department->findText(choose));
                Form2->Edit1->clear();
                typeText(Form2->Edit1, name);
                QTest::keyClick(Form2->Edit1, Qt::Key_Return);
            });
            doubleClickRow(Form5->DBGrid1, row - 1);
            QCOMPARE(workers()->recNo(), row);
        });
        QCOMPARE(db->rows(QString("select fio, s_staffpos_hl from accounts_dep.person where id = %1").arg(id)), QStringList{stored});
        QCOMPARE(db->value("select count(*) from accounts_dep.person").toInt(), kAll.size());
    }

    void deleteAsksAndKeepsRowNumber_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("after");
        QTest::newRow("no") << 3 << int(msg::No) << 3;
        QTest::newRow("yes") << 3 << int(msg::Yes) << 3;
        QTest::newRow("yes, last row") << 8 << int(msg::Yes) << 7;
    }
    void deleteAsksAndKeepsRowNumber()
    {
        QFETCH(int, row);
        QFETCH(int, answer);
        QFETCH(int, after);
        MessageRecorder rec;
        rec.answers << answer;
        const bool deletes = answer == msg::Yes;
        whileManaging(Form5, workers(), [&] {
            workers()->setRecNo(row);
            Form5->Button3->click();
            QCOMPARE(workers()->recordCount(), kAll.size() - (deletes ? 1 : 0));
            QCOMPARE(workers()->recNo(), after);
        });
        QCOMPARE(rec.texts(), QStringList{"Удалить работника?"});
        QCOMPARE(rec.seen[0].caption, QString("Удаление"));
        QCOMPARE(rec.seen[0].icon, msg::Icon::Question);
        QCOMPARE(rec.seen[0].buttons, int(msg::Yes | msg::No));
        const QString gone = kAll[row - 1];
        QCOMPARE(db->value("select count(*) from accounts_dep.person where fio = " + TestDatabase::quoted(gone)), QString(deletes ? "0" : "1"));
    }

    void wheelStepsTheFocusedLookup()
    {
        whileManaging(Form5, workers(), [&] {
            onNextModal([&](QDialog*) {
                Form2->LCB_department->setCurrentIndex(-1);
                Form2->LCB_department->setFocus();
                QCOMPARE(Form2->focusWidget(), static_cast<QWidget*>(Form2->LCB_department));
                auto wheel = [](QWidget* over, int dy) {
                    QWheelEvent e(QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)), {}, {0, dy}, Qt::NoButton, {},
                                  Qt::NoScrollPhase, false);
                    QApplication::sendEvent(over, &e);
                };
                wheel(Form2->Edit1, -120);  // over the name box: still the focused lookup moves
                QCOMPARE(Form2->LCB_department->currentIndex(), 0);
                wheel(Form2->LCB_roles, -120);
                QCOMPARE(Form2->LCB_department->currentIndex(), 1);
                QCOMPARE(Form2->LCB_roles->currentIndex(), -1);
                wheel(Form2->LCB_department, 120);
                QCOMPARE(Form2->LCB_department->currentIndex(), 0);
            });
            Form5->Button1->click();
        });
    }
};

QTEST_MAIN(WorkersTest)
#include "tst_workers.moc"
