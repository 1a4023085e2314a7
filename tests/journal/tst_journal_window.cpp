// The journal window: loading a date, shifts, acceptance colours and double click, deletion with the
// time sheet kept in step, the entry editor's presets, and a closed month's refusals.
#include "core/application.h"
#include "core/data_grid.h"
#include "core/dataset.h"
#include "journal/entry_editor.h"
#include "store/month_store.h"
#include "support/message_recorder.h"
#include "program_fixture.h"
#include "support/books_fixture.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QRadioButton>
#include <QTableView>
#include <QWindow>

namespace {

// Workers 1 and 2 have entries today in shift 1 (worker 1 two, worker 2 one); worker 4's entries and
// time-sheet rows are locked by the database, so that changing them fails; the "ta" entry is never shown.
const char* kBooks = R"(
insert into accounts_dep.person (id, fio) values (2, 'Борисов Б.Б.'), (3, 'Васильев В.В.'),
    (4, 'Гаврилов Г.Г.');
insert into accounts_dep.vid_oper (id, vid) values (6, 'Краска синяя');
insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (21, 6, 1, 10, 2);
create function accounts_dep.locked() returns trigger language plpgsql as $$
begin
    if old.w_id = 4 then raise exception 'строка закрыта'; end if;
    return case tg_op when 'DELETE' then old else new end;
end $$;
)";

const char* kJournal = R"(
delete from piecework.closed_month;
drop trigger if exists smena_locked on accounts_dep.smena;
drop trigger if exists h_tabel_locked on accounts_dep.h_tabel;
truncate accounts_dep.smena, accounts_dep.h_tabel restart identity;
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok, vvod) values
    (1, 10, 21, 10, 1, current_date, 1, 2.5, 7, 5, 'ok', current_date),
    (1, 10, 20, 4, 0, current_date, 1, 3.5, 0, 3, 'no', current_date),
    (2, 10, 20, 6, 0, current_date, 1, 3.5, 0, 8, 'да', current_date),
    (3, 10, 20, 6, 0, current_date, 1, 3.5, 0, 8, 'ta', current_date),
    (4, 10, 20, 2, 0, current_date, 1, 3.5, 0, 2, 'no', current_date),
    (3, 10, 20, 5, 0, current_date, 2, 3.5, 0, 4, 'no', current_date),
    (1, 10, 20, 1, 0, '2024-03-09', 1, 3.5, 0, 6, 'no', '2024-03-09');
insert into accounts_dep.h_tabel (w_id, smena, month, year)
select w, 1, extract(month from current_date), extract(year from current_date) from unnest(array[1, 2, 4]) w;
do $$ begin
    execute format('update accounts_dep.h_tabel set d%s = case w_id when 1 then 8 when 2 then 8 else 2 end',
                   extract(day from current_date));
end $$;
-- Worker 2 also worked on another day of the month.
update accounts_dep.h_tabel set d28 = 7 where w_id = 2 and extract(day from current_date) <> 28;
create trigger smena_locked before update on accounts_dep.smena for each row execute function accounts_dep.locked();
create trigger h_tabel_locked before update or delete on accounts_dep.h_tabel
    for each row execute function accounts_dep.locked();
)";

QString today(const char* column = "d")
{
    return QString("%1%2").arg(column).arg(QDate::currentDate().day());
}

QStringList shownRows()
{
    QStringList rows;
    const int n = Form1->DBGrid2->model()->rowCount();
    for (int r = 0; r < n; ++r)
        rows << Form1->DBGrid2->rowValue(r, "fio").toString() + "/" + Form1->DBGrid2->rowValue(r, "ok").toString().trimmed();
    return rows;
}

void doubleClickRow(int row)
{
    const QRect cell = Form1->DBGrid2->visualRect(Form1->DBGrid2->model()->index(row, 0));
    QTest::mouseClick(Form1->DBGrid2->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(Form1->DBGrid2->viewport(), Qt::LeftButton, {}, cell.center());
}

void selectRow(int row)
{
    const QRect cell = Form1->DBGrid2->visualRect(Form1->DBGrid2->model()->index(row, 0));
    QTest::mouseClick(Form1->DBGrid2->viewport(), Qt::LeftButton, {}, cell.center());
}

// Types a date as the user does: the day selected, then its digits (the box moves on by itself).
void typeDate(const QString& ddmmyyyy)
{
    Form1->DateT->setFocus();
    Form1->DateT->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(Form1->DateT, ddmmyyyy);
}

// The entry editor's mode as the journal set it.
template <typename Editor>
int modeOf(Editor& editor)
{
    if constexpr (requires { editor.Tag; })
        return editor.Tag;
    else
        return editor.property("Tag").toInt();
}

// The colour a control's background is painted with.
QColor background(QWidget* w)
{
    return w->autoFillBackground() ? w->palette().color(w->backgroundRole()) : QColor();
}

const QStringList kToday{"Алексеев А.А./ok", "Алексеев А.А./no", "Борисов Б.Б./да", "Гаврилов Г.Г./no"};

}  // namespace

class JournalWindowTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;

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
    }
    void cleanup() { takeDownWindows(); }

    void showsTodayAndLoadsOnEnterOrCalendarOnly()
    {
        QStringList atStart, afterTyping, afterEnter, afterCalendar;
        bool weekendChecked = false, weekdayChecked = true, dayOffPainted = false;
        whileSignedIn("8629", [&] {
            QCOMPARE(Form1->DateT->date(), QDate::currentDate());
            QCOMPARE(Form1->CBox1->isChecked(), QDate::currentDate().dayOfWeek() >= 6);
            atStart = shownRows();
            typeDate("09032024");
            QCOMPARE(Form1->DateT->date(), QDate(2024, 3, 9));
            afterTyping = shownRows();
            QTest::keyClick(Form1->DateT, Qt::Key_Return);
            afterEnter = shownRows();
            weekendChecked = Form1->CBox1->isChecked();
            dayOffPainted = Form1->CBox1->font().bold() && background(Form1->CBox1) == QColor(255, 0, 0);

            // Pick today in the calendar drop-down with the keyboard.
            QCalendarWidget* calendar = Form1->DateT->calendarWidget();
            QTest::keyClick(Form1->DateT, Qt::Key_F4);
            calendar->setSelectedDate(QDate::currentDate());
            QTest::keyClick(calendar->findChild<QTableView*>(), Qt::Key_Return);
            QTRY_COMPARE(Form1->DateT->date(), QDate::currentDate());
            QTRY_COMPARE(shownRows().size(), kToday.size());
            afterCalendar = shownRows();
            typeDate("05032024");  // a Tuesday
            QTest::keyClick(Form1->DateT, Qt::Key_Return);
            weekdayChecked = Form1->CBox1->isChecked();
        });
        QCOMPARE(atStart, kToday);
        QCOMPARE(afterTyping, kToday);
        QCOMPARE(afterEnter, QStringList{"Алексеев А.А./no"});
        QVERIFY(weekendChecked);
        QVERIFY(dayOffPainted);
        QCOMPARE(afterCalendar, kToday);
        QVERIFY(!weekdayChecked);
    }

    // The date drop-down closed without a day clicked, after its arrow keys moved the date to a Saturday:
    // the journal, the day-off box and the focus follow that date as after a pick.
    void calendarClosedWithoutAPickLoadsItsDate_data()
    {
        QTest::addColumn<QString>("openedBy");
        QTest::addColumn<QString>("closedBy");
        QTest::newRow("arrow, click outside") << "arrow" << "click outside";
        QTest::newRow("arrow, Esc") << "arrow" << "Esc";
        QTest::newRow("F4, click outside") << "F4" << "click outside";
    }
    void calendarClosedWithoutAPickLoadsItsDate()
    {
        QFETCH(QString, openedBy);
        QFETCH(QString, closedBy);
        QDate shownDate;
        QStringList shown;
        bool dayOff = true, gridFocused = false;
        whileSignedIn("8629", [&] {
            typeDate("08032024");  // a Friday without entries
            QTest::keyClick(Form1->DateT, Qt::Key_Return);
            Form1->DateT->setFocus();
            QCalendarWidget* calendar = Form1->DateT->calendarWidget();
            if (openedBy == "F4")
                QTest::keyClick(Form1->DateT, Qt::Key_F4);
            else
                QTest::mouseClick(Form1->DateT, Qt::LeftButton, {}, QPoint(Form1->DateT->width() - 6, Form1->DateT->height() / 2));
            QTRY_VERIFY(calendar->isVisible());
            QTest::keyClick(calendar->findChild<QTableView*>(), Qt::Key_Right);
            if (closedBy == "Esc")
                QTest::keyClick(calendar->findChild<QTableView*>(), Qt::Key_Escape);
            else
                QTest::mouseClick(Form1->windowHandle(), Qt::LeftButton, {}, Form1->DBGrid2->geometry().center());
            QTRY_VERIFY(!calendar->isVisible());
            QCoreApplication::processEvents();
            shownDate = Form1->DateT->date();
            shown = shownRows();
            dayOff = Form1->CBox1->isChecked();
            gridFocused = Form1->focusWidget() == Form1->DBGrid2;
        });
        QCOMPARE(shownDate, QDate(2024, 3, 9));
        QCOMPARE(shown, QStringList{"Алексеев А.А./no"});
        QVERIFY(dayOff);
        QVERIFY(gridFocused);
    }

    void shiftSwitchShowsLoadedRowsUntilRefresh()
    {
        QStringList beforeRefresh, afterRefresh;
        whileSignedIn("depot", [&] {
            db->exec("insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, data, smena, cena, time, ok, vvod) "
                     "values (2, 10, 20, 1, current_date, 2, 1, 1, 'no', current_date)");
            QTest::mouseClick(Form1->RadioButton2, Qt::LeftButton);
            QCOMPARE(Form1->ShiftNumber, 2);
            QCOMPARE(Form1->DBGrid2->dataset(), DataModule6->Smena2);
            QVERIFY(Form1->RadioButton2->font().bold());
            QCOMPARE(background(Form1->RadioButton2), QColor(0, 128, 0));
            QVERIFY(!Form1->RadioButton1->font().bold());
            QCOMPARE(background(Form1->RadioButton1), QApplication::palette().color(QPalette::Button));
            beforeRefresh = shownRows();
            QTest::mouseClick(Form1->Button8, Qt::LeftButton);
            afterRefresh = shownRows();
        });
        QCOMPARE(beforeRefresh, QStringList{"Васильев В.В./no"});
        QCOMPARE(afterRefresh, QStringList({"Борисов Б.Б./no", "Васильев В.В./no"}));
    }

    void okCellIsBoldGreenOrRed()
    {
        QStringList colours;
        whileSignedIn("8629", [&] {
            for (int row = 0; row < kToday.size(); ++row) {
                CellDraw ok;
                ok.field = "ok";
                ok.row = row;
                Form1->DBGrid2->drawCellHook()(ok, *Form1->DBGrid2);
                CellDraw other;
                other.field = "fio";
                other.row = row;
                other.textColor = Qt::black;
                Form1->DBGrid2->drawCellHook()(other, *Form1->DBGrid2);
                colours << QString("%1 %2%3").arg(ok.textColor.name(), ok.font.bold() ? "bold" : "regular",
                                                  other.font.bold() || other.textColor != Qt::black ? " (spilled)" : "");
            }
        });
        QCOMPARE(colours, QStringList({"#008000 bold", "#ff0000 bold", "#008000 bold", "#ff0000 bold"}));
    }

    void doubleClickTogglesAcceptance_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("stored");
        QTest::newRow("ok becomes no") << "8629" << 0 << "no";
        QTest::newRow("no becomes ok") << "depot" << 1 << "ok";
        QTest::newRow("да becomes no") << "61730428" << 2 << "no";
        QTest::newRow("not for the foreman") << "foreman" << 1 << "no";
    }
    void doubleClickTogglesAcceptance()
    {
        QFETCH(QString, word);
        QFETCH(int, row);
        QFETCH(QString, stored);
        MessageRecorder rec;
        const QString id = db->rows("select id from accounts_dep.smena where data = current_date and smena = 1 "
                                    "and ok <> 'ta' order by w_id, o_id desc").at(row);
        QString shown;
        int recNo = 0;
        whileSignedIn(word, [&] {
            doubleClickRow(row);
            shown = shownRows().at(row).section('/', 1);
            recNo = DataModule6->Smena1->recNo();
        });
        QCOMPARE(db->value("select ok from accounts_dep.smena where id = " + id), stored);
        QCOMPARE(shown, stored);
        QCOMPARE(recNo, row + 1);
        QVERIFY(rec.seen.isEmpty());
    }

    void doubleClickOnEmptyShiftDoesNothing()
    {
        MessageRecorder rec;
        const QStringList before = db->rows("select id, ok from accounts_dep.smena order by id");
        whileSignedIn("8629", [&] {
            QTest::mouseClick(Form1->RadioButton3, Qt::LeftButton);
            QTest::mouseDClick(Form1->DBGrid2->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        });
        QCOMPARE(db->rows("select id, ok from accounts_dep.smena order by id"), before);
        QVERIFY(rec.seen.isEmpty());
    }

    void refusedAcceptanceKeepsTheJournal()
    {
        MessageRecorder rec;
        QStringList shown;
        whileSignedIn("8629", [&] {
            doubleClickRow(3);
            shown = shownRows();
        });
        QCOMPARE(rec.seen.size(), 1);
        QVERIFY2(rec.seen[0].text.contains("строка закрыта"), qPrintable(rec.seen[0].text));
        QCOMPARE(rec.seen[0].icon, msg::Icon::Stop);
        QCOMPARE(shown, kToday);
        QCOMPARE(db->value("select ok from accounts_dep.smena where w_id = 4 and smena = 1"), QString("no"));
    }

    void deleteKeepsTimeSheetInStep_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("timeSheet");  // worker|hours of today
        QTest::newRow("one of several entries: the rest of the day's hours")
            << 1 << int(msg::Yes) << QStringList({"Алексеев А.А./ok", "Борисов Б.Б./да", "Гаврилов Г.Г./no"})
            << QStringList({"1|5", "2|8", "4|2"});
        // The worker's other day of the month (the 28th, 7 hours) stays in the time sheet; only when that
        // other day is today has the row nothing left, and it goes.
        QTest::newRow("the only entry of the day: the day becomes 0, the month's other days stay")
            << 2 << int(msg::Yes) << QStringList({"Алексеев А.А./ok", "Алексеев А.А./no", "Гаврилов Г.Г./no"})
            << (QDate::currentDate().day() == 28 ? QStringList({"1|8", "4|2"}) : QStringList({"1|8", "2|0", "4|2"}));
        QTest::newRow("answered No") << 2 << int(msg::No) << kToday << QStringList({"1|8", "2|8", "4|2"});
    }
    void deleteKeepsTimeSheetInStep()
    {
        QFETCH(int, row);
        QFETCH(int, answer);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, timeSheet);
        MessageRecorder rec;
        rec.answers << answer;
        QStringList after;
        whileSignedIn("8629", [&] {
            selectRow(row);
            QTest::mouseClick(Form1->Button3, Qt::LeftButton);
            after = shownRows();
        });
        QCOMPARE(rec.seen.size(), 1);
        QCOMPARE(rec.seen[0].text, QString("Удалить позицию из списка?"));
        QCOMPARE(rec.seen[0].caption, QString("Удаление"));
        QCOMPARE(rec.seen[0].icon, msg::Icon::Question);
        QCOMPARE(rec.seen[0].buttons, msg::Yes | msg::No);
        QCOMPARE(after, shown);
        QCOMPARE(db->rows("select w_id, " + today() + " from accounts_dep.h_tabel order by w_id"), timeSheet);
    }

    // The database refuses the time-sheet write after the entry's delete went through: neither stays.
    void failedDeleteChangesNeither()
    {
        MessageRecorder rec;
        const QStringList journal = db->rows("select * from accounts_dep.smena order by id");
        const QStringList sheet = db->rows("select * from accounts_dep.h_tabel order by id");
        QStringList after;
        whileSignedIn("8629", [&] {
            selectRow(3);
            QTest::mouseClick(Form1->Button3, Qt::LeftButton);
            after = shownRows();
        });
        QCOMPARE(rec.seen.size(), 2);
        QVERIFY2(rec.seen[1].text.contains("строка закрыта"), qPrintable(rec.seen[1].text));
        QCOMPARE(rec.seen[1].icon, msg::Icon::Stop);
        QCOMPARE(after, kToday);
        QCOMPARE(db->rows("select * from accounts_dep.smena order by id"), journal);
        QCOMPARE(db->rows("select * from accounts_dep.h_tabel order by id"), sheet);
    }

    // In a closed month the journal says so, and its writing actions say the closed month's sentence
    // instead of opening the editor, asking or writing; whether the month was closed before the date was
    // loaded or by another workstation after it (the click asks the database again).
    void closedMonthRefusesTheJournalsWrites_data()
    {
        QTest::addColumn<bool>("closedAfterLoading");
        QTest::newRow("closed before the date was loaded") << false;
        QTest::newRow("closed by another workstation after it") << true;
    }
    void closedMonthRefusesTheJournalsWrites()
    {
        QFETCH(bool, closedAfterLoading);
        const QString close = "insert into piecework.closed_month (year, month) values (2024, 3)";
        if (!closedAfterLoading) db->exec(close);
        const QStringList journal = db->rows("select * from accounts_dep.smena order by id");
        MessageRecorder rec;
        QString todayLabel, loadedLabel;
        QStringList actions;
        // An editor opened by mistake is counted and closed again, so that the test goes on.
        struct EditorWatch : QObject {
            int shows = 0;
            bool eventFilter(QObject* o, QEvent* e) override
            {
                if (e->type() == QEvent::Show) {
                    ++shows;
                    QMetaObject::invokeMethod(o, "reject", Qt::QueuedConnection);
                }
                return false;
            }
        } editor;
        Form11->installEventFilter(&editor);
        whileSignedIn("8629", [&] {
            todayLabel = Form1->MonthStateLabel->text();
            typeDate("09032024");
            QTest::keyClick(Form1->DateT, Qt::Key_Return);
            loadedLabel = Form1->MonthStateLabel->text();
            if (closedAfterLoading) db->exec(close);
            const std::pair<const char*, std::function<void()>> clicks[] = {
                {"Добавить", [] { QTest::mouseClick(Form1->Button1, Qt::LeftButton); }},
                {"Изменить", [] { QTest::mouseClick(Form1->Button2, Qt::LeftButton); }},
                {"Удалить", [] { QTest::mouseClick(Form1->Button3, Qt::LeftButton); }},
                {"double click", [] { doubleClickRow(0); }},
            };
            for (const auto& [name, click] : clicks) {
                rec.clear();
                click();
                actions << QString("%1: %2 | %3").arg(name, rec.texts().join(" / "), Form1->MonthStateLabel->text());
            }
        });
        Form11->removeEventFilter(&editor);
        QCOMPARE(todayLabel, QString());
        QCOMPARE(loadedLabel, QString(closedAfterLoading ? "" : "Месяц 03.2024 закрыт"));
        const QString refused = store::closedMonthText(2024, 3) + " | Месяц 03.2024 закрыт";
        QCOMPARE(actions, QStringList({"Добавить: " + refused, "Изменить: " + refused, "Удалить: " + refused,
                                       "double click: " + refused}));
        QCOMPARE(editor.shows, 0);
        QCOMPARE(db->rows("select * from accounts_dep.smena order by id"), journal);
    }

    // The colour box is for painting operations only: an add has no operation yet, so it starts off.
    void addAndChangePresetTheEditor()
    {
        QStringList added, changed, addedAgain;
        int recNoAfter = 0;
        auto colourBox = [] {
            return QString("colour %1 %2 %3").arg(Form11->Edit5->isEnabled()).arg(Form11->Label6->isEnabled()).arg(Form11->Edit5->text());
        };
        Form11->Edit1->setText("прежний");
        whileSignedIn("8629", [&] {
            whenModal([&](QWidget* w) {
                added << w->windowTitle() << QString::number(modeOf(*Form11)) << Form11->Edit1->text() << Form11->Edit2->text() << colourBox();
                Form11->reject();
            });
            QTest::mouseClick(Form1->Button1, Qt::LeftButton);
            selectRow(0);
            whenModal([&](QWidget* w) {
                changed << w->windowTitle() << QString::number(modeOf(*Form11)) << Form11->Edit1->text() << Form11->Edit2->text()
                        << QString("%1 %2 %3 %4").arg(Form11->WorkerId).arg(Form11->ProductId).arg(Form11->OperId).arg(Form11->FinalPrice)
                        << colourBox();
                Form11->reject();
            });
            QTest::mouseClick(Form1->Button2, Qt::LeftButton);
            recNoAfter = Form1->ShiftDataset->recNo();
            whenModal([&](QWidget*) {
                addedAgain << colourBox();
                Form11->reject();
            });
            QTest::mouseClick(Form1->Button1, Qt::LeftButton);
        });
        QCOMPARE(added, QStringList({"Заведение новой позиции", "1", "", "", "colour 0 0 "}));
        QCOMPARE(changed, QStringList({"Изменение данных о позиции", "2", "Алексеев А.А.", "ПЛ-10; Краска синяя; Заготовки",
                                       "1 10 21 2.5", "colour 1 1 7"}));
        QCOMPARE(recNoAfter, 1);
        QCOMPARE(addedAgain, QStringList{"colour 0 0 "});
    }
};

QTEST_MAIN(JournalWindowTest)
#include "tst_journal_window.moc"
