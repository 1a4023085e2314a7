// The time sheet window: opening from the journal, the month's columns and cell colours, the rebuild
// with its progress and failures, refresh, closing and reopening the month, and the spreadsheet export
// read back from its workbook.
#include "core/application.h"
#include "core/data_grid.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "store/month_store.h"
#include "store/store.h"
#include "support/message_recorder.h"
#include "support/modal.h"
#include "support/xlsx_reader.h"
#include "time_sheet_fixture.h"
#include "timesheet/month_note_dialog.h"
#include "timesheet/time_sheet_print.h"
#include "timesheet/time_sheet_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using fixture::entry;

namespace {

const char* kSheet = R"(
delete from piecework.closed_month;
drop trigger if exists h_tabel_fails on accounts_dep.h_tabel;
truncate accounts_dep.smena, accounts_dep.h_tabel restart identity;
insert into accounts_dep.h_tabel (w_id, smena, month, year, d2, d3, d4, d7, d13, d14) values (1, 1, 4, 2024, 8, 9, 5, 8, 9, 5);
insert into accounts_dep.h_tabel (w_id, smena, month, year, d1, d15, d30, d31) values
    (1, 1, 3, 2024, 4, 0, 0, 0), (1, 2, 3, 2024, 5, 0, 0, 0), (2, 1, 3, 2024, 0, 8, 0, 0), (4, 4, 3, 2024, 0, 0, 0, 7),
    (1, 1, 11, 2024, 0, 0, 3, 0);
insert into accounts_dep.h_tabel (w_id, smena, month, year, d29) values (2, 2, 2, 2024, 3);
)";

const QColor kRed(0xFF, 0, 0);
const QColor kSilver(0xC0, 0xC0, 0xC0);

void paint(QWidget* w)
{
    QVERIFY(!w->grab().isNull());
}

QString clean(QString caption)
{
    return caption.remove(u'&');
}

// Chooses an item as the user does, by arrow keys on the closed box.
void choose(QComboBox* box, const QString& text)
{
    const int target = box->findText(text);
    QVERIFY2(target >= 0, qPrintable(text));
    while (box->currentIndex() != target) QTest::keyClick(box, box->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
}

// The note dialog that is open now: its caption, label and buttons, as "caption / label / buttons".
MonthNoteDialog* noteDialog(QWidget* w, QStringList& seen)
{
    auto* dialog = qobject_cast<MonthNoteDialog*>(w);
    if (!dialog) {
        seen << "not the note dialog: " + w->objectName();
        w->close();
        return nullptr;
    }
    seen << dialog->windowTitle() + " / " + clean(dialog->Label->text()) + " / "
                + clean(dialog->Buttons->button(QDialogButtonBox::Ok)->text()) + " "
                + clean(dialog->Buttons->button(QDialogButtonBox::Cancel)->text());
    return dialog;
}

// Counts the times a widget is shown.
struct ShowCount : QObject {
    int shows = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show) ++shows;
        return false;
    }
};

// A shift dataset's rows as "name: day=hours ... = total", days that are not 0.
QStringList shown(Dataset* ds)
{
    QStringList rows;
    if (!ds->isOpen()) return {"closed"};
    for (ds->first(); !ds->eof(); ds->next()) {
        QString row = ds->fieldByName("fio").asString() + ":";
        for (int d = 1; d <= 31; ++d) {
            const int v = ds->fieldByName(QString("d%1").arg(d)).asInteger();
            if (v != 0) row += QString(" %1=%2").arg(d).arg(v);
        }
        rows << row + " = " + ds->fieldByName("summ").asString();
    }
    return rows;
}

}  // namespace

class TimeSheetWindowTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    TForm15* print = nullptr;
    TForm19* window = nullptr;
    QList<Dataset*> shifts() const { return window->shiftDatasets(); }
    QList<DataGrid*> grids() const { return {window->DBGrid1, window->DBGrid2, window->DBGrid3}; }

    // Opens the window from the journal on `date`, runs `step` on it and closes it.
    int showing(const QDate& date, const std::function<void()>& step)
    {
        whenModal([&](QWidget*) {
            const auto close = qScopeGuard([this] { window->reject(); });
            step();
        });
        openTimeSheet(*window, date);
        return window->result();
    }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(fixture::kWorkers);
        db->connectProgram();
        print = new TForm15(*DataModule6);
        window = new TForm19(*DataModule6, *print);
    }
    void cleanupTestCase()
    {
        delete window;
        delete print;
        delete db;
    }
    void init()
    {
        db->connectProgram();
        db->exec(kSheet);
    }

    void look()
    {
        QCOMPARE(window->windowTitle(), QString("Табель по времени"));
        QCOMPARE(window->PageControl1->count(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(clean(window->PageControl1->tabText(i)), QString("Смена №%1").arg(i + 1));
            QVERIFY(window->PageControl1->widget(i)->isAncestorOf(grids()[i]));
            QCOMPARE(grids()[i]->dataset(), shifts()[i]);
        }
        for (QWidget* w : QList<QWidget*>{window->Button1, window->CloseMonthButton, window->PB, window->Button2})
            QVERIFY(window->PageControl1->widget(0)->isAncestorOf(w));
        QCOMPARE(clean(window->Button1->text()), QString("Перестроить"));
        QCOMPARE(clean(window->Button6->text()), QString("Печать"));
        QCOMPARE(clean(window->Button5->text()), QString("Обновить"));
        QCOMPARE(clean(window->Button4->text()), QString("Выход"));
        QCOMPARE(window->PB->minimum(), 1);
        QCOMPARE(window->ComboBox1->count(), 12);
        QCOMPARE(window->ComboBox1->itemText(0), QString("Январь"));
        QCOMPARE(window->ComboBox1->itemText(11), QString("Декабрь"));
        QCOMPARE(window->ComboBox2->itemText(0), QString("2007"));
        QCOMPARE(window->ComboBox2->itemText(window->ComboBox2->count() - 1), QString::number(QDate::currentDate().year() + 1));
        QCOMPARE(window->ComboBox2->count(), QDate::currentDate().year() + 1 - 2007 + 1);

        const QList<GridColumn> columns = window->DBGrid2->columns();
        QCOMPARE(columns.size(), 33);
        QCOMPARE(columns[0].field, QString("fio"));
        QCOMPARE(columns[0].title, QString("Фамилия И. О."));
        QCOMPARE(columns[0].width, 208);
        for (int d = 1; d <= 31; ++d) {
            QCOMPARE(columns[d].field, QString("d%1").arg(d));
            QCOMPARE(columns[d].title, QString::number(d));
            QCOMPARE(columns[d].width, 20);
            QCOMPARE(columns[d].alignment, Qt::AlignHCenter);
        }
        QCOMPARE(columns[32].field, QString("summ"));
        QCOMPARE(columns[32].title, QString("Итого"));
        QCOMPARE(columns[32].width, 47);
        QVERIFY(columns[32].font && columns[32].font->bold());
        QCOMPARE(*columns[32].color, QColor(0xE1, 0xE4, 0xFF));
        const QAbstractItemModel* model = window->DBGrid2->model();
        for (int c : {0, 15, 32}) {
            QVERIFY(model->headerData(c, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
            QCOMPARE(model->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        }
    }

    // The year list is made at each opening, for the day it opens on: a program left running over New
    // Year offers the year after the new one, and a journal date in it is chosen.
    void yearListAtOpening_data()
    {
        const int thisYear = QDate::currentDate().year();
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("journalDate");
        QTest::addColumn<int>("lastYear");
        QTest::addColumn<int>("chosen");
        QTest::newRow("after New Year") << QDate(thisYear + 1, 1, 1) << QDate(thisYear + 2, 1, 5) << thisYear + 2
                                        << thisYear + 2;
        QTest::newRow("two New Years on") << QDate(thisYear + 2, 12, 31) << QDate(thisYear + 2, 12, 31)
                                          << thisYear + 3 << thisYear + 2;
        QTest::newRow("the clock set back") << QDate(thisYear - 1, 6, 1) << QDate(thisYear + 1, 6, 1) << thisYear
                                            << thisYear;
        QTest::newRow("today again") << QDate::currentDate() << QDate(2024, 3, 15) << thisYear + 1 << 2024;
    }
    void yearListAtOpening()
    {
        QFETCH(QDate, today);
        QFETCH(QDate, journalDate);
        QFETCH(int, lastYear);
        QFETCH(int, chosen);
        QStringList years;
        QString shownYear;
        int loaded = 0;
        whenModal([&](QWidget*) {
            for (int i = 0; i < window->ComboBox2->count(); ++i) years << window->ComboBox2->itemText(i);
            shownYear = window->ComboBox2->currentText();
            loaded = shifts()[0]->param("yea").toInt();
            window->reject();
        });
        openTimeSheet(*window, journalDate, today);
        QCOMPARE(years.value(0), QString("2007"));
        QCOMPARE(years.size(), lastYear - 2007 + 1);
        QCOMPARE(years.last(), QString::number(lastYear));
        QCOMPARE(shownYear, QString::number(chosen));
        QCOMPARE(loaded, chosen);
    }

    // The journal date chooses month and year; a year the list lacks chooses its nearest end. The
    // window shows that month, "Excel" is back in the export button, the bar is hidden, and the shift
    // datasets are closed once the window is.
    void opening_data()
    {
        const int thisYear = QDate::currentDate().year();
        QTest::addColumn<QDate>("journalDate");
        QTest::addColumn<QString>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<bool>("byEsc");
        QTest::newRow("March 2024, Esc") << QDate(2024, 3, 15) << "Март" << 2024 << true;
        QTest::newRow("today, Выход") << QDate::currentDate() << window->ComboBox1->itemText(QDate::currentDate().month() - 1)
                                      << thisYear << false;
        QTest::newRow("next year") << QDate(thisYear + 1, 1, 1) << "Январь" << thisYear + 1 << true;
        QTest::newRow("before the list") << QDate(2005, 7, 1) << "Июль" << 2007 << true;
        QTest::newRow("after the list") << QDate(thisYear + 3, 12, 31) << "Декабрь" << thisYear + 1 << false;
    }
    void opening()
    {
        QFETCH(QDate, journalDate);
        QFETCH(QString, month);
        QFETCH(int, year);
        QFETCH(bool, byEsc);
        window->Button2->setText("Excel (3 из 3)");
        bool checked = false;
        whenModal([&](QWidget* w) {
            const auto close = qScopeGuard([&] {
                if (byEsc) QTest::keyClick(w, Qt::Key_Escape);
                else QTest::mouseClick(window->Button4, Qt::LeftButton);
            });
            QCOMPARE(w, static_cast<QWidget*>(window));
            QCOMPARE(window->ComboBox1->currentText(), month);
            QCOMPARE(window->ComboBox2->currentText(), QString::number(year));
            for (Dataset* ds : shifts()) {
                QVERIFY(ds->isOpen());
                QCOMPARE(ds->param("mnth").toInt(), journalDate.month());
                QCOMPARE(ds->param("yea").toInt(), year);
            }
            QCOMPARE(clean(window->Button2->text()), QString("Excel"));
            QVERIFY(!window->PB->isVisible());
            checked = true;
        });
        openTimeSheet(*window, journalDate);
        QVERIFY(checked);
        QCOMPARE(window->result(), int(QDialog::Rejected));
        QVERIFY(!window->isVisible());
        for (Dataset* ds : shifts()) QVERIFY(!ds->isOpen());
    }

    // A month chosen in either box loads every shift for it and marks its days: weekends red, days
    // past the month's end read-only with empty-looking cells and silver titles.
    void periodChange_data()
    {
        QTest::addColumn<QString>("month");
        QTest::addColumn<int>("monthNumber");
        QTest::addColumn<int>("days");
        QTest::addColumn<QList<int>>("weekend");
        QTest::addColumn<QStringList>("secondShift");
        QTest::newRow("February of a leap year") << "Февраль" << 2 << 29 << QList<int>{3, 4, 10, 11, 17, 18, 24, 25}
                                                 << QStringList{"Борисов Б.Б.: 29=3 = 3"};
        QTest::newRow("starts on a Saturday") << "Июнь" << 6 << 30 << QList<int>{1, 2, 8, 9, 15, 16, 22, 23, 29, 30}
                                              << QStringList{};
        QTest::newRow("31 days") << "Март" << 3 << 31 << QList<int>{2, 3, 9, 10, 16, 17, 23, 24, 30, 31}
                                 << QStringList{"Андреев А.А.: 1=5 = 5"};
    }
    void periodChange()
    {
        QFETCH(QString, month);
        QFETCH(int, monthNumber);
        QFETCH(int, days);
        QFETCH(QList<int>, weekend);
        QFETCH(QStringList, secondShift);
        // The year box alone loads too: first the month in another year, then the year.
        window->ComboBox2->setCurrentText("2023");
        choose(window->ComboBox1, month);
        QCOMPARE(shifts()[0]->param("yea").toInt(), 2023);
        choose(window->ComboBox2, "2024");
        for (int s = 0; s < 3; ++s) {
            QCOMPARE(shifts()[s]->param("mnth").toInt(), monthNumber);
            QCOMPARE(shifts()[s]->param("yea").toInt(), 2024);
            const QList<GridColumn> columns = grids()[s]->columns();
            const QAbstractItemModel* model = grids()[s]->model();
            const QPalette& colours = grids()[s]->palette();
            for (int d = 1; d <= 31; ++d) {
                const GridColumn& c = columns[d];
                const QColor title = model->headerData(d, Qt::Horizontal, Qt::ForegroundRole).value<QColor>();
                if (d > days) {
                    QVERIFY(c.readOnly);
                    QCOMPARE(*c.textColor, colours.color(QPalette::Base));
                    QCOMPARE(title, kSilver);
                } else {
                    const QColor expected = weekend.contains(d) ? kRed : colours.color(QPalette::Text);
                    QVERIFY(!c.readOnly);
                    QCOMPARE(*c.textColor, expected);
                    QCOMPARE(title, expected);
                }
            }
        }
        QCOMPARE(shown(shifts()[1]), secondShift);
        for (Dataset* ds : shifts()) ds->close();
    }

    // Days only: 0 silver (red stays red, past the end looks empty), 8 bold, above 8 bold on green;
    // a selected cell and the name and total columns are drawn as they are.
    void cellColouring_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("colour");  // "silver", "red", "text", "empty", or "as is"
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("green");
        QTest::newRow("0 on a workday") << 1 << false << "silver" << false << false;
        QTest::newRow("0 on a weekend") << 6 << false << "red" << false << false;
        QTest::newRow("0 past the month's end") << 31 << false << "empty" << false << false;
        QTest::newRow("8") << 2 << false << "text" << true << false;
        QTest::newRow("8 on a weekend") << 7 << false << "red" << true << false;
        QTest::newRow("9") << 3 << false << "text" << true << true;
        QTest::newRow("9 on a weekend") << 13 << false << "red" << true << true;
        QTest::newRow("5") << 4 << false << "text" << false << false;
        QTest::newRow("5 on a weekend") << 14 << false << "red" << false << false;
        QTest::newRow("selected 0") << 1 << true << "as is" << false << false;
        QTest::newRow("total") << 32 << false << "as is" << false << false;
        QTest::newRow("name") << 0 << false << "as is" << false << false;
    }
    void cellColouring()
    {
        QFETCH(int, column);
        QFETCH(bool, selected);
        QFETCH(QString, colour);
        QFETCH(bool, bold);
        QFETCH(bool, green);
        window->ComboBox1->setCurrentIndex(3);
        window->selectYear(2024);
        window->ComboBox1Change();
        DataGrid* grid = window->DBGrid1;
        const QPalette& colours = grid->palette();
        // As the grid hands a cell to the hook.
        CellDraw cell;
        cell.row = 0;
        cell.column = column;
        cell.field = grid->columns().at(column).field;
        cell.selected = selected;
        cell.font = grid->font();
        const QColor given = selected ? colours.color(QPalette::HighlightedText)
                                      : grid->columns().at(column).textColor.value_or(colours.color(QPalette::Text));
        cell.textColor = given;
        cell.background = colours.color(QPalette::Base);
        grid->drawCellHook()(cell, *grid);

        const QMap<QString, QColor> named{{"silver", kSilver}, {"red", kRed}, {"text", colours.color(QPalette::Text)},
                                          {"empty", colours.color(QPalette::Base)}, {"as is", given}};
        QCOMPARE(cell.textColor, named[colour]);
        QCOMPARE(cell.font.bold(), bold);
        QCOMPARE(cell.fillBackground, green);
        if (green) QCOMPARE(cell.background, QColor(0xC0, 0xDC, 0xC0));
        for (Dataset* ds : shifts()) ds->close();
    }

    // The hook's colours reach the screen.
    void longDayIsGreenOnScreen()
    {
        showing(QDate(2024, 4, 1), [this] {
            DataGrid* grid = window->DBGrid1;
            grid->clearSelection();
            grid->setCurrentIndex({});
            const QImage image = grid->viewport()->grab().toImage();
            const QRect cell = grid->visualRect(grid->model()->index(0, 3));
            QCOMPARE(QColor(image.pixel(cell.left() + 2, cell.top() + 2)), QColor(0xC0, 0xDC, 0xC0));
            const QRect plain = grid->visualRect(grid->model()->index(0, 4));
            QVERIFY(QColor(image.pixel(plain.left() + 2, plain.top() + 2)) != QColor(0xC0, 0xDC, 0xC0));
        });
    }

    // The rebuild writes the month from the journal and shows it: the bar moves day by day while it
    // runs and is hidden afterwards; overtime is built but no tab shows it.
    void rebuild()
    {
        db->exec(entry(1, 1, "2024-02-29", "4") + entry(1, 1, "2024-02-29", "5") + entry(2, 2, "2024-02-03", "8")
                 + entry(4, 4, "2024-02-10", "7"));
        QList<int> seen;
        bool hiddenWhileMoving = false;
        auto watch = connect(window->PB, &QProgressBar::valueChanged, this, [&](int v) {
            if (v < 1) return;  // a change of range resets the bar
            seen << v;
            hiddenWhileMoving |= !window->PB->isVisible();
        });
        // The bar as it was shown: busy (no range), under the wait cursor, before the month's statement runs.
        struct PaintLog : QObject {
            QStringList log;
            bool eventFilter(QObject* o, QEvent* e) override
            {
                if (e->type() == QEvent::Show) {
                    auto* bar = static_cast<QProgressBar*>(o);
                    log << QString("%1..%2 %3").arg(bar->minimum()).arg(bar->maximum()).arg(QGuiApplication::overrideCursor()
                                                                                                ? int(QGuiApplication::overrideCursor()->shape())
                                                                                                : -1);
                }
                return false;
            }
        } paints;
        window->PB->installEventFilter(&paints);
        MessageRecorder rec;
        showing(QDate(2024, 2, 10), [&] {
            window->PageControl1->setCurrentIndex(0);  // where the button and the bar are
            QTest::mouseClick(window->Button1, Qt::LeftButton);
            QCOMPARE(window->PB->maximum(), 29);
            QVERIFY(!window->PB->isVisible());
            QCOMPARE(shown(shifts()[0]), QStringList{"Андреев А.А.: 29=9 = 9"});
            QCOMPARE(shown(shifts()[1]), QStringList{"Борисов Б.Б.: 3=8 = 8"});
            QCOMPARE(shown(shifts()[2]), QStringList{});
        });
        disconnect(watch);
        window->PB->removeEventFilter(&paints);
        QVERIFY2(paints.log.value(0) == QString("0..0 %1").arg(int(Qt::WaitCursor)), qPrintable(paints.log.join(", ")));
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(rec.texts(), QStringList{});
        QVERIFY(!hiddenWhileMoving);
        QCOMPARE(seen.first(), 1);
        QCOMPARE(seen.last(), 29);
        QVERIFY(std::is_sorted(seen.begin(), seen.end()));
        QVERIFY(seen.size() >= 28);
        QCOMPARE(fixture::monthRows(*db, 2, 2024), (QStringList{"1 1: 29=9", "2 2: 3=8", "4 4: 10=7"}));
    }

    // A rebuild that fails leaves the month as it was, says why, hides the bar and shows the month
    // again (after a lost connection, once the program is connected again).
    void rebuildFailure_data()
    {
        QTest::addColumn<bool>("cutConnection");
        QTest::newRow("statement refused") << false;
        QTest::newRow("connection cut midway") << true;
    }
    void rebuildFailure()
    {
        QFETCH(bool, cutConnection);
        db->exec(entry(1, 1, "2024-02-29", "4"));
        if (!cutConnection)
            db->exec("create or replace function accounts_dep.fails() returns trigger language plpgsql as $$ "
                     "begin raise exception 'табель закрыт'; end $$;\n"
                     "create trigger h_tabel_fails before insert on accounts_dep.h_tabel "
                     "for each row execute function accounts_dep.fails();");
        const QString backend = store::scalar(store::programDb(), "select pg_backend_pid()").toString();
        auto cut = connect(window->PB, &QProgressBar::valueChanged, this, [&](int day) {
            if (cutConnection && day == 10) db->exec("select pg_terminate_backend(" + backend + ")");
        });
        MessageRecorder rec;
        showing(QDate(2024, 2, 10), [&] {
            QTest::mouseClick(window->Button1, Qt::LeftButton);
            QVERIFY(!window->PB->isVisible());
            QCOMPARE(rec.seen.size(), 1);
            QCOMPARE(rec.seen[0].caption, QString("Ошибка"));
            QCOMPARE(rec.seen[0].icon, msg::Icon::Stop);
            if (!cutConnection) QVERIFY2(rec.seen[0].text.contains("табель закрыт"), qPrintable(rec.seen[0].text));
            if (cutConnection) {
                db->connectProgram();
                QTest::mouseClick(window->Button5, Qt::LeftButton);
            }
            QCOMPARE(shown(shifts()[1]), QStringList{"Борисов Б.Б.: 29=3 = 3"});
        });
        disconnect(cut);
        QCOMPARE(fixture::monthRows(*db, 2, 2024), QStringList{"2 2: 29=3"});
    }

    // Hours another writer left out of range: the window opens on cells whose total no integer holds and
    // shows them as stored; the rebuild over a journal whose day no cell holds fills that cell to the
    // most it holds and rebuilds the rest of the month; the export and the printed sheet go through.
    void rowsLeftOutOfRange()
    {
        db->exec("insert into accounts_dep.h_tabel (w_id, smena, month, year, d1, d2) values (3, 1, 5, 2024, 2147483000, 600);"
                 "insert into accounts_dep.h_tabel (w_id, smena, month, year, d1, d2) values (4, 1, 5, 2024, -2147483648, -1);"
                 + entry(1, 1, "2024-06-03", "2147483647") + entry(1, 1, "2024-06-03", "2147483647")
                 + entry(2, 1, "2024-06-01", "2147483000") + entry(2, 1, "2024-06-02", "600")
                 + entry(1, 2, "2024-06-04", "8"));
        QTemporaryDir folder;
        window->WorkbookFolder = folder.path();
        window->WorkbookOpener = [](const QUrl&) { return true; };
        MessageRecorder rec;
        showing(QDate(2024, 5, 10), [&] {
            QCOMPARE(shown(shifts()[0]), (QStringList{"Васильев В.В.: 1=2147483000 2=600 = 2147483600",
                                                      "Григорьев Г.Г.: 1=-2147483648 2=-1 = -2147483649"}));
            paint(window);
            QTest::mouseClick(window->Button2, Qt::LeftButton);
            bool previewed = false;
            whenModal([&previewed](QWidget* preview) {
                previewed = true;
                paint(preview);
                preview->close();
            });
            QTest::mouseClick(window->Button6, Qt::LeftButton);
            QVERIFY(previewed);
            choose(window->ComboBox1, "Июнь");
            QTest::mouseClick(window->Button1, Qt::LeftButton);
            QCOMPARE(shown(shifts()[0]), (QStringList{"Андреев А.А.: 3=2147483647 = 2147483647",
                                                      "Борисов Б.Б.: 1=2147483000 2=600 = 2147483600"}));
            QCOMPARE(shown(shifts()[1]), QStringList{"Андреев А.А.: 4=8 = 8"});
            paint(window);
        });
        QCOMPARE(rec.texts(), QStringList{});
        QCOMPARE(fixture::monthRows(*db, 6, 2024), (QStringList{"1 1: 3=2147483647", "1 2: 1=2147483000 2=600", "2 1: 4=8"}));
    }

    // "Обновить" reads the month the shifts hold, whatever the boxes show now.
    void refreshKeepsTheMonth()
    {
        showing(QDate(2024, 2, 1), [&] {
            window->ComboBox1->setCurrentIndex(5);
            db->exec("insert into accounts_dep.h_tabel (w_id, smena, month, year, d1) values (3, 2, 2, 2024, 6)");
            QTest::mouseClick(window->Button5, Qt::LeftButton);
            QCOMPARE(shown(shifts()[1]), (QStringList{"Борисов Б.Б.: 29=3 = 3", "Васильев В.В.: 1=6 = 6"}));
            QCOMPARE(shifts()[1]->param("mnth").toInt(), 2);
        });
    }

    // Full access closes the month shown, with a note: the month is rebuilt from the journal and shown, the
    // label says when, by whom and why, the button offers the reopen, and the rebuild is refused before
    // its bar shows. The label follows the month chosen. Reopening wants a reason; Esc changes nothing.
    void closeAndReopen()
    {
        db->exec(entry(1, 1, "2024-02-29", "4") + entry(2, 2, "2024-02-03", "8"));
        MessageRecorder rec;
        QStringList dialogs;
        QString closedLabel, closedButton, otherMonthLabel, otherMonthButton, backLabel, reopenedLabel, reopenedButton;
        QStringList closedShift1, rebuildMessages, emptyReasonMessages;
        bool buddy = false, stillOpenWithoutReason = false;
        ShowCount bar;
        window->PB->installEventFilter(&bar);
        showing(QDate(2024, 2, 10), [&] {
            QCOMPARE(window->MonthStateLabel->text(), QString());
            QCOMPARE(clean(window->CloseMonthButton->text()), QString("Закрыть месяц"));
            whenModal([&](QWidget* w) {
                MonthNoteDialog* d = noteDialog(w, dialogs);
                if (!d) return;
                d->Edit->insert("не то");
                QTest::keyClick(d->Edit, Qt::Key_Escape);
            });
            QTest::mouseClick(window->CloseMonthButton, Qt::LeftButton);
            QCOMPARE(db->value("select count(*) from piecework.closed_month"), QString("0"));

            whenModal([&](QWidget* w) {
                MonthNoteDialog* d = noteDialog(w, dialogs);
                if (!d) return;
                // The box has the focus as the dialog shows: the user types straight away.
                buddy = d->Label->buddy() == d->Edit && QTest::qWaitFor([d] { return d->Edit->hasFocus(); }, 2000);
                d->Edit->insert("зарплата выдана");
                QTest::keyClick(d->Edit, Qt::Key_Return);
            });
            QTest::mouseClick(window->CloseMonthButton, Qt::LeftButton);
            closedLabel = window->MonthStateLabel->text();
            closedButton = clean(window->CloseMonthButton->text());
            closedShift1 = shown(shifts()[0]);

            choose(window->ComboBox1, "Март");
            otherMonthLabel = window->MonthStateLabel->text();
            otherMonthButton = clean(window->CloseMonthButton->text());
            choose(window->ComboBox1, "Февраль");
            backLabel = window->MonthStateLabel->text();

            QTest::mouseClick(window->Button1, Qt::LeftButton);
            rebuildMessages = rec.texts();
            rec.clear();

            whenModal([&](QWidget* w) {
                MonthNoteDialog* d = noteDialog(w, dialogs);
                if (!d) return;
                d->Edit->insert("   ");
                d->Buttons->button(QDialogButtonBox::Ok)->click();
                stillOpenWithoutReason = d->isVisible();
                emptyReasonMessages = rec.texts();
                d->Edit->insert("ошибка в количестве");
                d->Buttons->button(QDialogButtonBox::Ok)->click();
            });
            QTest::mouseClick(window->CloseMonthButton, Qt::LeftButton);
            reopenedLabel = window->MonthStateLabel->text();
            reopenedButton = clean(window->CloseMonthButton->text());
        });
        window->PB->removeEventFilter(&bar);

        QCOMPARE(dialogs, QStringList({"Закрытие месяца / Примечание: / ОК Отмена", "Закрытие месяца / Примечание: / ОК Отмена",
                                       "Открытие месяца / Причина открытия: / ОК Отмена"}));
        QVERIFY(buddy);
        // "Месяц закрыт 05.04.2024 10:15, full (user@host): зарплата выдана", at the server's clock.
        const QString who = "full (" + store::Actor::here(store::Role::Full).workstation() + "): зарплата выдана";
        QVERIFY2(closedLabel.startsWith("Месяц закрыт ") && closedLabel.endsWith(", " + who), qPrintable(closedLabel));
        const QDateTime at = QDateTime::fromString(closedLabel.mid(13, 16), "dd.MM.yyyy hh:mm");
        QVERIFY2(qAbs(at.secsTo(QDateTime::currentDateTime())) < 120, qPrintable(closedLabel));
        QCOMPARE(closedButton, QString("Открыть месяц"));
        QCOMPARE(closedShift1, QStringList{"Андреев А.А.: 29=4 = 4"});
        QCOMPARE(otherMonthLabel, QString());
        QCOMPARE(otherMonthButton, QString("Закрыть месяц"));
        QCOMPARE(backLabel, closedLabel);
        QCOMPARE(rebuildMessages, QStringList{store::closedMonthText(2024, 2)});
        QCOMPARE(bar.shows, 0);
        QVERIFY(stillOpenWithoutReason);
        // Only the empty reason was refused.
        QCOMPARE(emptyReasonMessages, QStringList{store::reasonRequiredText()});
        QCOMPARE(rec.texts(), emptyReasonMessages);
        QCOMPARE(reopenedLabel, QString());
        QCOMPARE(reopenedButton, QString("Закрыть месяц"));
        QCOMPARE(db->value("select count(*) from piecework.closed_month"), QString("0"));
        QCOMPARE(fixture::monthRows(*db, 2, 2024), (QStringList{"1 1: 29=4", "2 2: 3=8"}));
        QCOMPARE(db->rows("select op, coalesce(new_row->>'reason', new_row->>'note') from piecework.history "
                          "where tbl = 'h_tabel' and op in ('close', 'reopen') order by id"),
                 (QStringList{"close|зарплата выдана", "reopen|ошибка в количестве"}));
    }

    // Another workstation closed (or opened) the month after this window showed it: the click is told so,
    // changes nothing, and the window shows the month as it is now.
    void closedOrOpenedElsewhere_data()
    {
        QTest::addColumn<bool>("closedHere");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("label");
        QTest::newRow("closed elsewhere") << false << "Месяц уже закрыт на другом рабочем месте."
                                          << "Месяц закрыт %1, sys (cex-1): выдано";
        QTest::newRow("opened elsewhere") << true << "Месяц уже открыт на другом рабочем месте." << "";
    }
    void closedOrOpenedElsewhere()
    {
        QFETCH(bool, closedHere);
        QFETCH(QString, message);
        QFETCH(QString, label);
        const QString close = "insert into piecework.closed_month (year, month, closed_at, workstation, note) "
                              "values (2024, 4, '2024-05-02 08:30', 'cex-1', 'выдано')";
        if (closedHere) db->exec(close);
        const QString lastEvent = db->value("select coalesce(max(id), 0) from piecework.history");
        MessageRecorder rec;
        QString shownLabel, shownButton;
        showing(QDate(2024, 4, 1), [&] {
            if (closedHere)
                db->exec("delete from piecework.closed_month");
            else
                db->exec(close);
            whenModal([&](QWidget* w) {
                QStringList ignored;
                if (MonthNoteDialog* d = noteDialog(w, ignored)) {
                    d->Edit->insert("причина");
                    QTest::keyClick(d->Edit, Qt::Key_Return);
                }
            });
            QTest::mouseClick(window->CloseMonthButton, Qt::LeftButton);
            shownLabel = window->MonthStateLabel->text();
            shownButton = clean(window->CloseMonthButton->text());
        });
        QCOMPARE(rec.texts(), QStringList{message});
        QCOMPARE(rec.seen[0].icon, msg::Icon::Information);
        QCOMPARE(rec.seen[0].caption, QString(closedHere ? "Открытие месяца" : "Закрытие месяца"));
        QCOMPARE(shownLabel, label.isEmpty() ? label : label.arg(QDateTime(QDate(2024, 5, 2), QTime(8, 30)).toString("dd.MM.yyyy hh:mm")));
        QCOMPARE(shownButton, QString(closedHere ? "Закрыть месяц" : "Открыть месяц"));
        QCOMPARE(db->value("select count(*) from piecework.closed_month"), QString(closedHere ? "0" : "1"));
        QCOMPARE(db->value("select count(*) from piecework.history where op in ('close', 'reopen') and id > " + lastEvent), QString("0"));
    }

    // The month over all shifts: title, column titles, one row per worker with all 31 days and the
    // total; the button counts the records and repaints after each one.
    void exportMonth_data()
    {
        QTest::addColumn<QDate>("journalDate");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QList<QVariantList>>("rows");  // name, then day => hours, total last
        QList<QVariantList> march{{"Андреев А.А.", 1, 9.0, 9.0}, {"Борисов Б.Б.", 15, 8.0, 8.0}, {"Григорьев Г.Г.", 31, 7.0, 7.0}};
        QTest::newRow("shifts and overtime summed") << QDate(2024, 3, 5) << "Март 2024" << march;
        QTest::newRow("month without entries") << QDate(2024, 5, 5) << "Май 2024" << QList<QVariantList>{};
        QTest::newRow("30-day month") << QDate(2024, 11, 5) << "Ноябрь 2024" << QList<QVariantList>{{"Андреев А.А.", 30, 3.0, 3.0}};
    }
    void exportMonth()
    {
        QFETCH(QDate, journalDate);
        QFETCH(QString, title);
        QFETCH(QList<QVariantList>, rows);
        QTemporaryDir folder;
        QList<QUrl> opened;
        window->WorkbookFolder = folder.path();
        window->WorkbookOpener = [&opened](const QUrl& url) {
            opened << url;
            return true;
        };
        QStringList painted;
        struct PaintLog : QObject {
            QStringList* log;
            bool eventFilter(QObject* o, QEvent* e) override
            {
                if (e->type() == QEvent::Paint) *log << clean(static_cast<QPushButton*>(o)->text());
                return false;
            }
        } paints;
        paints.log = &painted;
        window->Button2->installEventFilter(&paints);
        MessageRecorder rec;
        QString caption;
        showing(journalDate, [&] {
            QTest::mouseClick(window->Button2, Qt::LeftButton);
            caption = clean(window->Button2->text());
        });
        window->Button2->removeEventFilter(&paints);
        QCOMPARE(rec.texts(), QStringList{});
        const int records = rows.size();
        QCOMPARE(caption, QString("Excel (%1 из %1)").arg(records));
        for (int n = 1; n <= records; ++n) QVERIFY2(painted.contains(QString("Excel (%1 из %2)").arg(n).arg(records)), qPrintable(painted.join(", ")));
        QVERIFY(!print->H_Tabel->isOpen());

        QCOMPARE(opened.size(), 1);
        const XlsxReader book(opened[0].toLocalFile());
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        auto check = [&](int row, int column, const QVariant& value, bool textFormat, bool bold) {
            const auto cell = book.cell(row, column);
            QVERIFY2(cell, qPrintable(QString("no cell %1:%2").arg(row).arg(column)));
            QCOMPARE(book.value(row, column), value);
            QCOMPARE(cell->textFormat, textFormat);
            QCOMPARE(cell->bold, bold);
        };
        check(1, 1, title, true, true);
        check(2, 1, "Фамилия И.О.", true, true);
        for (int d = 1; d <= 31; ++d) check(2, d + 1, double(d), false, true);
        check(2, 33, "Итого", true, true);
        for (int r = 0; r < records; ++r) {
            check(r + 3, 1, rows[r][0], true, false);
            for (int d = 1; d <= 31; ++d) check(r + 3, d + 1, d == rows[r][1].toInt() ? rows[r][2] : QVariant(0.0), false, false);
            check(r + 3, 33, rows[r][3], false, false);
        }
        QCOMPARE(book.cells.size(), 1 + 33 + records * 33);
        for (int c = 1; c <= 33; ++c) QVERIFY2(book.columnWidths.contains(c), qPrintable(QString::number(c)));
    }

    // No workbook can be made: reported once, the count is left alone and the query is closed.
    void exportWithoutWorkbook()
    {
        MessageRecorder rec;
        QTemporaryFile plainFile;
        QVERIFY(plainFile.open());
        int opened = 0;
        window->WorkbookOpener = [&opened](const QUrl&) { return ++opened > 0; };
        window->WorkbookFolder = plainFile.fileName() + "/книги";
        showing(QDate(2024, 3, 1), [&] {
            QTest::mouseClick(window->Button2, Qt::LeftButton);
            QCOMPARE(clean(window->Button2->text()), QString("Excel"));
        });
        QCOMPARE(rec.texts(), QStringList{"Ошибка открытия файла Microsoft Excel.\n" + window->WorkbookFolder});
        QCOMPARE(opened, 0);
        QVERIFY(!print->H_Tabel->isOpen());
    }
};

QTEST_MAIN(TimeSheetWindowTest)
#include "tst_window.moc"
