// The entry editor: price text, key filter, painting test and the save with its duplicate check, the
// time-sheet cell and what a failure or a second workstation may do to them, and closed months.
#include "core/application.h"
#include "store/connection.h"
#include "core/dataset.h"
#include "store/db_error.h"
#include "journal/entry_editor.h"
#include "journal/entry_texts.h"
#include "journal/entry_price.h"
#include "store/journal_store.h"
#include "store/month_store.h"
#include "store/time_sheet_store.h"
#include "support/message_recorder.h"
#include "support/second_workstation.h"
#include "program_fixture.h"
#include "support/books_fixture.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <chrono>
#include <QCalendarWidget>
#include <QScopeGuard>
#include <QTableView>
#include <thread>

namespace {

const char* kBooks = R"(
insert into accounts_dep.person (id, fio) values (2, 'Борисов Б.Б.');
insert into accounts_dep.vid_oper (id, vid) values (6, 'Подкраска');
insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (21, 6, 1, 10, 2);
)";

// Worker 2 has an accepted entry of 2024-03-11, shift 1, entered long ago with a bonus and document links.
const char* kJournal = R"(
delete from piecework.closed_month;
drop trigger if exists h_tabel_fails on accounts_dep.h_tabel;
truncate accounts_dep.smena, accounts_dep.h_tabel restart identity;
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok, vvod, prize,
    id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) values
    (2, 10, 21, 10, 1, '2024-03-11', 1, 2.5, 7, 5, 'ok', '2024-03-11', 5, 1, 2, 3, 4, 5);
insert into accounts_dep.h_tabel (w_id, smena, month, year, d11) values (2, 1, 3, 2024, 5);
)";

const QDate kDay(2024, 3, 11);

const EntryContext kShift1{.shift = 1, .date = kDay};

// The second workstation, on its own thread only: its day-cell writes pause there.
thread_local SecondWorkstation* pausing = nullptr;

void pauseBetweenReadAndWrite(const store::DayCell&)
{
    if (!pausing) return;
    pausing->reached();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
}

// What the editor shows as the journal's add (or, with `change`, the change of the journal's current
// entry) left it and the user then filled it.
void fillNewEntry(int worker, int oper, double price, const QString& quantity, const QString& hours,
                  const QString& colour = QString(), bool change = false)
{
    if (change)
        Form11->presetForChange(kShift1, entryRowOf(*DataModule6->Smena1));
    else
        Form11->presetForAdd(kShift1);
    Form11->WorkerId = worker;
    Form11->ProductId = 10;
    Form11->OperId = oper;
    Form11->FinalPrice = price;
    Form11->Edit1->setText(QStringLiteral("работник"));
    Form11->Edit2->setText(oper == 21 ? QStringLiteral("ПЛ-10; Подкраска; Заготовки") : QStringLiteral("ПЛ-10; Сварка; Готовая продукция"));
    Form11->enableColour(oper == 21);
    Form11->Edit3->setText(quantity);
    Form11->Edit6->setText(hours);
    Form11->Edit5->setText(colour);
}

}  // namespace

class EntryEditorTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;

    QString count(const char* table) const { return db->value(QString("select count(*) from accounts_dep.%1").arg(table)); }
    QString cell(int worker) const
    {
        return db->value(QString("select d11 from accounts_dep.h_tabel where w_id=%1 and smena=1 and month=3 and year=2024").arg(worker));
    }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(booksFixture() + kBooks);
    }
    void cleanupTestCase()
    {
        delete Form11;
        Form11 = nullptr;
        delete db;
    }
    void init()
    {
        db->exec(kJournal);
        QVERIFY(startOn(*db));
        if (!Form11) Form11 = new TForm11(*DataModule6);
        showJournalDay(kDay);
    }
    void cleanup() { takeDownWindows(); }

    void priceText_data()
    {
        QTest::addColumn<double>("price");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("written");
        QTest::newRow("four decimals") << 10.123456 << "10,1235" << "10.1235";
        QTest::newRow("whole") << 10.0 << "10" << "10";
        QTest::newRow("day-off overtime") << 3.5 * 2.0 * 1.5 << "10,5" << "10.5";
        QTest::newRow("shift 3 float noise") << 2.5 * 1.2 << "3" << "3";
        QTest::newRow("tie down to even") << 0.03125 << "0,0312" << "0.0312";
        QTest::newRow("tie up to even") << 0.09375 << "0,0938" << "0.0938";
        QTest::newRow("below the fourth decimal") << 0.00004 << "0" << "0";
    }
    void priceText()
    {
        QFETCH(double, price);
        QFETCH(QString, shown);
        QFETCH(QString, written);
        QCOMPARE(entryprice::shown(price), shown);
        QCOMPARE(entryprice::written(price), written);
    }

    // Other workstations read and count the same rows: the statements keep their exact text.
    void statementTexts()
    {
        store::EntryValues v;
        v.worker = 12;
        v.product = 7;
        v.operation = 45;
        v.shift = 1;
        v.price = entryprice::written(10.5);
        v.quantity = "100";
        v.rejects = "2";
        v.hours = "8";
        v.date = QDate(2022, 11, 3);
        v.entered = QDate(2022, 11, 3);
        QCOMPARE(store::entrysql::insert(v),
                 QString("insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, vvod,ok, "
                         "prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) values(12, 7, 45, 10.5,100, 2, "
                         "to_date('03.11.2022', 'DD.MM.YYYY HH24:MI:SS'), 1, 0, 8, '03.11.2022', 'no', 0, 0, 0, 0, 0, 0)"));
        v.colour = 3;
        QCOMPARE(store::entrysql::update(v, "99"),
                 QString("update accounts_dep.SMENA set w_id=12, i_id=7, o_id=45, cena=10.5, kol_vo=100, brak=2, "
                         "data=to_date('03.11.2022', 'DD.MM.YYYY'), smena=1, color=3, time=8, vvod='03.11.2022', prize=0, id_doc=0, "
                         "id_doc_item=0, f_gds_qty_use=0, id_gds_use=0, id_cons_use=0 where id=99"));
        const QString count = "select count(id) as cnt from accounts_dep.SMENA where w_id=12 and o_id=45 and i_id=7 "
                              "and data=to_date('03.11.2022', 'DD.MM.YYYY') and smena=1";
        QCOMPARE(store::entrysql::duplicateCount(v, QString()), count + " and color=3");
        QCOMPARE(store::entrysql::duplicateCount(v, "99"), count + " and id<>99 and color=3");
    }

    void paintingTest_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("painting");
        QTest::newRow("kind") << "ПЛ-10; Краска синяя; Заготовки" << true;
        QTest::newRow("lower case inside a word") << "ПЛ-10; подкраска; Заготовки" << true;
        QTest::newRow("in the mark") << "КРАСКА-1; Сварка; Готовая продукция" << true;
        QTest::newRow("other") << "ПЛ-10; Сварка; Готовая продукция" << false;
        QTest::newRow("part of the word only") << "ПЛ-10; Краск; Заготовки" << false;
    }
    void paintingTest()
    {
        QFETCH(QString, text);
        QFETCH(bool, painting);
        QCOMPARE(isPaintingOperation(text), painting);
    }

    void numberBoxesTakeDigitsOnly()
    {
        for (QLineEdit* box : {Form11->Edit3, Form11->Edit4, Form11->Edit5, Form11->Edit6}) {
            box->setEnabled(true);
            box->clear();
            QTest::keyClicks(box, "1a2,3 -4.5");
            QTest::keyClick(box, Qt::Key_Backspace);
            QCOMPARE(box->text(), QString("1234"));
        }
    }

    void leavingQuantityOrHoursRecomputes()
    {
        fillNewEntry(1, 20, 10.123456, "", "");
        Form11->Edit9->clear();
        Form11->Edit6Exit();
        QCOMPARE(Form11->Edit3->text(), QString("0"));
        QCOMPARE(Form11->Edit6->text(), QString("0"));
        QCOMPARE(Form11->Edit7->text(), QString("10,1235"));
        QCOMPARE(Form11->Edit8->text(), QString("0"));  // Oper is not open: no base price
        Form11->Edit3->setText("3");
        Form11->Edit4->setText("2");
        Form11->Edit6Exit();
        QCOMPARE(Form11->Edit9->text(), QString("30,3704"));  // rejects are not subtracted
    }

    // A save by Enter in the quantity box closes the window with every box empty: the window hiding is
    // not the user leaving the box, so no "0" comes back into it.
    // The date box opens its calendar from the keyboard, with F4 and with Alt+Down, as the journal's does;
    // a day chosen in it becomes the box's date.
    void dateBoxOpensItsCalendarByKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("F4") << int(Qt::Key_F4) << int(Qt::NoModifier);
        QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier);
    }
    void dateBoxOpensItsCalendarByKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        bool opened = false;
        QDate chosen;
        Form11->DTimeP->setDate(kDay);
        whenModal([&](QWidget*) {
            const auto cancel = qScopeGuard([] { Form11->Button2->click(); });
            Form11->DTimeP->setFocus();
            QCalendarWidget* calendar = Form11->DTimeP->calendarWidget();
            QTest::keyClick(Form11->DTimeP, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            QTRY_VERIFY(calendar->isVisible());
            opened = true;
            QTest::keyClick(calendar->findChild<QTableView*>(), Qt::Key_Right);
            QTest::keyClick(calendar->findChild<QTableView*>(), Qt::Key_Return);
            QTRY_VERIFY(!calendar->isVisible());
            chosen = Form11->DTimeP->date();
        });
        Form11->exec();
        QVERIFY(opened);
        QCOMPARE(chosen, kDay.addDays(1));
    }

    void saveByEnterLeavesEveryBoxEmpty()
    {
        MessageRecorder rec;
        fillNewEntry(1, 20, 3.5, "", "8");
        whenModal([](QWidget*) {
            Form11->Edit3->setFocus();
            QTest::keyClicks(Form11->Edit3, "4");
            QTest::keyClick(Form11->Edit3, Qt::Key_Return);
        });
        Form11->exec();
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(count("smena"), QString("2"));
        for (int n = 1; n <= 9; ++n) {
            const QString name = QString("Edit%1").arg(n);
            QVERIFY2(Form11->findChild<QLineEdit*>(name)->text().isEmpty(), qPrintable(name));
        }
    }

    // An emptied quantity box stays empty while the completeness message has the focus, and after it;
    // leaving the box by Tab is what puts "0" into it.
    void emptiedBoxStaysEmptyUnderTheMessage()
    {
        fillNewEntry(1, 20, 3.5, "4", "8");
        QStringList messages;
        QString underTheMessage, afterTheMessage, afterTab;
        whenModal([&](QWidget*) {
            Form11->Edit3->setFocus();
            Form11->Edit3->selectAll();
            QTest::keyClick(Form11->Edit3, Qt::Key_Backspace);
            whenModal([&](QWidget* w) {
                auto* box = qobject_cast<QMessageBox*>(w);
                messages << (box ? box->windowTitle() + ": " + box->text() : w->objectName());
                underTheMessage = Form11->Edit3->text();
                if (box) box->button(QMessageBox::Ok)->click();
            });
            QTest::keyClick(Form11->Edit3, Qt::Key_Return);
            afterTheMessage = Form11->Edit3->text();
            // The window manager gives the editor its activation back, and the focus returns to the box.
            QApplication::setActiveWindow(Form11);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Form11->Edit3));
            QTest::keyClick(Form11->Edit3, Qt::Key_Tab);
            afterTab = Form11->Edit3->text();
            Form11->reject();
        });
        Form11->exec();
        QCOMPARE(messages, QStringList{"Ошибка: Все поля должны быть заполнены!"});
        QCOMPARE(underTheMessage, QString());
        QCOMPARE(afterTheMessage, QString());
        QCOMPARE(afterTab, QString("0"));
        QCOMPARE(count("smena"), QString("1"));
    }

    void incompleteInputWritesNothing_data()
    {
        QTest::addColumn<QString>("box");
        QTest::newRow("worker") << "Edit1";
        QTest::newRow("operation") << "Edit2";
        QTest::newRow("quantity") << "Edit3";
        QTest::newRow("rejects") << "Edit4";
        QTest::newRow("colour of a painting operation") << "Edit5";
        QTest::newRow("hours") << "Edit6";
    }
    void incompleteInputWritesNothing()
    {
        QFETCH(QString, box);
        MessageRecorder rec;
        fillNewEntry(1, 21, 2, "4", "8", "3");
        Form11->findChild<QLineEdit*>(box)->setText("  ");
        Form11->Button1->click();
        QCOMPARE(rec.texts(), QStringList{"Все поля должны быть заполнены!"});
        QCOMPARE(rec.seen[0].caption, QString("Ошибка"));
        QCOMPARE(count("smena"), QString("1"));
        QCOMPARE(Form11->Edit1->text(), QString(box == "Edit1" ? "  " : "работник"));
    }

    void addWritesTheEntryAndTheTimeSheet()
    {
        MessageRecorder rec;
        fillNewEntry(1, 20, 10.123456, "0", "3");
        Form11->Button1->click();
        fillNewEntry(1, 21, 3, "7", "4", "12");
        Form11->Edit4->setText("1");
        Form11->Button1->click();
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(db->rows("select w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, vvod = current_date, ok, prize,"
                          " id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use from accounts_dep.smena where w_id = 1 order by id"),
                 QStringList({"1|10|20|10.1235|0|0|2024-03-11|1|0|3|t|no|0|0|0|0|0|0",
                              "1|10|21|3|7|1|2024-03-11|1|12|4|t|no|0|0|0|0|0|0"}));
        // The first entry of the month made the worker's row, the second rewrote the day with the total.
        QCOMPARE(db->rows("select d10, d11, d12 from accounts_dep.h_tabel where w_id = 1 and smena = 1 and month = 3 and year = 2024"),
                 QStringList{"0|7|0"});
        for (int n = 1; n <= 9; ++n) {
            const QString name = QString("Edit%1").arg(n);
            QVERIFY2(Form11->findChild<QLineEdit*>(name)->text().isEmpty(), qPrintable(name));
        }
    }

    void duplicates_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("colour");
        QTest::addColumn<bool>("refused");
        QTest::newRow("same entry added") << 1 << "7" << true;
        QTest::newRow("another colour added") << 1 << "8" << false;
        QTest::newRow("entry itself changed") << 2 << "7" << false;
    }
    void duplicates()
    {
        QFETCH(int, mode);
        QFETCH(QString, colour);
        QFETCH(bool, refused);
        MessageRecorder rec;
        fillNewEntry(2, 21, 2.5, "12", "6", colour, mode == 2);
        Form11->Button1->click();
        QCOMPARE(rec.texts(), refused ? QStringList{"Позиция с такими параметрами уже заведена!"} : QStringList());
        QCOMPARE(count("smena"), QString(mode == 1 && !refused ? "2" : "1"));
        QCOMPARE(cell(2), QString(refused ? "5" : mode == 1 ? "11" : "6"));
        QCOMPARE(Form11->Edit1->text().isEmpty(), !refused);
    }

    void changeKeepsAcceptanceAndClearsTheLinks()
    {
        MessageRecorder rec;
        Form11->presetForChange(kShift1, entryRowOf(*DataModule6->Smena1));
        QCOMPARE(Form11->Edit5->text(), QString("7"));
        QCOMPARE(Form11->Edit7->text(), QString("2,5"));
        QCOMPARE(Form11->Edit9->text(), QString("25"));
        Form11->Edit3->setText("11");
        Form11->Button1->click();
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(db->rows("select kol_vo, color, ok, vvod = current_date, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use"
                          " from accounts_dep.smena"),
                 QStringList{"11|7|ok|t|0|0|0|0|0|0"});
        QCOMPARE(DataModule6->Smena1->recNo(), 1);
        QCOMPARE(DataModule6->Smena1->fieldByName("kol_vo").asInteger(), 11);
    }

    void colourBeyondAnIntegerWritesNothing()
    {
        MessageRecorder rec;
        fillNewEntry(1, 21, 2, "4", "8", "99999999999");
        Form11->Button1->click();
        QCOMPARE(rec.texts(), QStringList{"'99999999999' is not a valid integer value"});
        QCOMPARE(count("smena"), QString("1"));
    }

    // The time-sheet write fails after the entry was inserted: neither stays, the window keeps the entry and
    // a second try after the cause is gone is not taken for a duplicate.
    void failureAfterTheInsertLeavesNothing()
    {
        db->exec(R"(
create or replace function accounts_dep.fails() returns trigger language plpgsql as $$
begin raise exception 'табель закрыт'; end $$;
create trigger h_tabel_fails before insert or update on accounts_dep.h_tabel for each row execute function accounts_dep.fails();
)");
        MessageRecorder rec;
        fillNewEntry(1, 20, 3.5, "4", "8");
        Form11->Button1->click();
        QCOMPARE(rec.seen.size(), 1);
        QVERIFY2(rec.seen[0].text.contains("табель закрыт"), qPrintable(rec.seen[0].text));
        QCOMPARE(count("smena"), QString("1"));
        QCOMPARE(count("h_tabel"), QString("1"));
        QCOMPARE(Form11->Edit1->text(), QString("работник"));
        QCOMPARE(Form11->Edit3->text(), QString("4"));

        db->exec("drop trigger h_tabel_fails on accounts_dep.h_tabel");
        rec.clear();
        Form11->Button1->click();
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(count("smena"), QString("2"));
        QCOMPARE(cell(1), QString("8"));
    }

    // Another workstation saves an entry of the same worker, shift and day at the same moment: it has
    // inserted its entry, taken the lock and read its total, and writes the cell only after this save has
    // started. This save waits for it and the cell ends with the sum of both.
    void twoWorkstationsLeaveTheSum_data()
    {
        QTest::addColumn<bool>("rowExists");
        QTest::newRow("first entry of the month") << false;
        QTest::newRow("row of the month exists") << true;
    }
    void twoWorkstationsLeaveTheSum()
    {
        QFETCH(bool, rowExists);
        if (rowExists) db->exec("insert into accounts_dep.h_tabel (w_id, smena, month, year, d11) values (1, 1, 3, 2024, 0)");
        QSemaphore mayWrite;
        SecondWorkstation other(db->odbcString(), [&](const store::Session& b, SecondWorkstation& self) {
            store::Work work(b, store::Action::AddEntry);
            store::exec(b.db, "insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time) "
                           "values (1, 10, 20, 1, 0, '2024-03-11', 1, 3.5, 5, 3)");
            store::lockDayCells(work, {{1, 1, kDay}});
            self.reached();
            mayWrite.acquire();
            store::syncDayCell(work, {1, 1, kDay});
            work.commit();
        });
        other.waitUntilReached();
        // The other workstation writes its cell half a second into this save.
        std::thread release([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            mayWrite.release();
        });
        MessageRecorder rec;
        fillNewEntry(1, 20, 3.5, "4", "5");
        Form11->Button1->click();
        other.join();
        release.join();
        QCOMPARE(other.error(), QString());
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(cell(1), QString("8"));
        QCOMPARE(db->value("select count(*) from accounts_dep.h_tabel where w_id = 1"), QString("1"));
    }

    // Another workstation saves the same entry the moment "Запись" is pressed here: its save has written
    // the entry and pauses before its time-sheet cell. This save waits for it, counts its row and refuses;
    // one entry stays and the window keeps its contents.
    void sameEntryFromAnotherWorkstation()
    {
        store::setDayCellReadHook(pauseBetweenReadAndWrite);
        const auto noHook = qScopeGuard([] { store::setDayCellReadHook({}); });
        MessageRecorder rec;
        fillNewEntry(1, 20, 3.5, "4", "5");
        SecondWorkstation other(db->odbcString(), [](const store::Session& b, SecondWorkstation& self) {
            const store::EntryValues v = fixtureEntry(QStringLiteral("1"), QStringLiteral("3"), 0, kDay);
            pausing = &self;
            store::saveEntry(b, v, std::nullopt);
            pausing = nullptr;
        });
        other.waitUntilReached();
        Form11->Button1->click();
        other.join();
        QCOMPARE(other.error(), QString());
        QCOMPARE(rec.texts(), QStringList{"Позиция с такими параметрами уже заведена!"});
        QCOMPARE(db->rows("select kol_vo, time from accounts_dep.smena where w_id = 1"), QStringList{"1|3"});
        QCOMPARE(cell(1), QString("3"));
        QCOMPARE(Form11->Edit1->text(), QString("работник"));
    }

    // A date typed into a closed month is refused as the box is left, and again at "Запись"; an entry's
    // own month closed since the editor opened refuses moving it out. Nothing is written and every box
    // keeps what was typed.
    void closedMonthRefusedWithTheBoxesKept_data()
    {
        QTest::addColumn<int>("closedMonth");
        QTest::addColumn<bool>("change");
        QTest::addColumn<QString>("typedDate");
        QTest::addColumn<QStringList>("messages");  // on leaving the date box, then at "Запись"
        const QString february = store::closedMonthText(2024, 2);
        const QString march = store::closedMonthText(2024, 3);
        QTest::newRow("new entry dated in a closed month") << 2 << false << "10022024" << QStringList{february, february};
        QTest::newRow("entry moved out of its closed month") << 3 << true << "01042024" << QStringList{march};
    }
    void closedMonthRefusedWithTheBoxesKept()
    {
        QFETCH(int, closedMonth);
        QFETCH(bool, change);
        QFETCH(QString, typedDate);
        QFETCH(QStringList, messages);
        const QStringList journal = db->rows("select * from accounts_dep.smena order by id");
        fillNewEntry(1, 20, 3.5, "4", "8", QString(), change);
        db->exec(QString("insert into piecework.closed_month (year, month) values (2024, %1)").arg(closedMonth));
        MessageRecorder rec;
        QStringList boxes;
        whenModal([&](QWidget*) {
            const auto cancel = qScopeGuard([] { Form11->Button2->click(); });
            Form11->DTimeP->setFocus();
            Form11->DTimeP->setSelectedSection(QDateTimeEdit::DaySection);
            QTest::keyClicks(Form11->DTimeP, typedDate);
            QTest::keyClick(Form11->DTimeP, Qt::Key_Tab);
            QTest::qWait(50);
            QTest::mouseClick(Form11->Button1, Qt::LeftButton);
            for (QLineEdit* box : {Form11->Edit1, Form11->Edit2, Form11->Edit3, Form11->Edit4, Form11->Edit6})
                boxes << box->text();
            boxes << Form11->DTimeP->date().toString("dd.MM.yyyy");
        });
        Form11->exec();
        QCOMPARE(rec.texts(), messages);
        QCOMPARE(rec.seen[0].caption, QString("Ошибка"));
        QCOMPARE(db->rows("select * from accounts_dep.smena order by id"), journal);
        QCOMPARE(boxes, QStringList({"работник", "ПЛ-10; Сварка; Готовая продукция", "4", change ? "1" : "0", "8",
                                     QDate::fromString(typedDate, "ddMMyyyy").toString("dd.MM.yyyy")}));
    }

    // Another workstation closes the month while "Запись" is pressed here: its close holds the month when
    // this save checks, so the check passes and the save waits; once the close has committed the database
    // refuses the entry with its own sentence. The entry is not in the month, nor in its kept totals, and
    // the window keeps its contents.
    void monthClosedDuringTheSave()
    {
        store::setMonthCloseHook([] {
            if (!pausing) return;
            pausing->reached();
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        });
        const auto noHook = qScopeGuard([] { store::setMonthCloseHook({}); });
        MessageRecorder rec;
        fillNewEntry(1, 20, 3.5, "4", "5");
        SecondWorkstation other(db->odbcString(), [](const store::Session& b, SecondWorkstation& self) {
            pausing = &self;
            store::closeMonth(b, 2024, 3, "");
            pausing = nullptr;
        });
        other.waitUntilReached();
        Form11->Button1->click();
        other.join();
        QCOMPARE(other.error(), QString());
        QCOMPARE(rec.texts(), QStringList{store::closedMonthText(2024, 3)});
        QCOMPARE(count("smena"), QString("1"));
        QCOMPARE(store::closedTotals(store::programDb(), 2024, 3), store::journalTotals(store::programDb(), 2024, 3));
        QCOMPARE(store::closedTotals(store::programDb(), 2024, 3).size(), std::size_t(1));
        QCOMPARE(Form11->Edit1->text(), QString("работник"));
        QCOMPARE(Form11->Edit3->text(), QString("4"));
    }
};

QTEST_MAIN(EntryEditorTest)
#include "tst_entry_editor.moc"
