// Rows no window of the program would write, as another program or a hand in the database leaves them:
// nulls in every column the windows read, a name of 10,000 characters, negative, extreme and not-a-number
// values, dates far outside the month. Every window opens on them, paints and closes; what is stored can
// be opened, and a value that cannot be written back is refused with a message.
#include "core/application.h"
#include "core/data_grid.h"
#include "journal/entry_editor.h"
#include "journal/program_fixture.h"
#include "refbooks/books_fixture.h"
#include "refbooks/kind_editor.h"
#include "refbooks/kinds_list.h"
#include "refbooks/norms_window.h"
#include "refbooks/operation_dialog.h"
#include "refbooks/operations_list.h"
#include "refbooks/product_editor.h"
#include "refbooks/products_list.h"
#include "refbooks/worker_editor.h"
#include "refbooks/workers_list.h"
#include "reliability_fixture.h"
#include "reports/pay_statements_window.h"
#include "reports/reports_window.h"
#include "timesheet/time_sheet_window.h"
#include "support/message_recorder.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

using namespace reliability;

namespace {

const char* kBadRows = R"(
insert into accounts_dep.person (id, fio, s_staffpos_hl) values
    (1, 'Алексеев А.А.', 'Цех'), (2, null, null), (3, repeat('Щ', 10000), repeat('ж', 10000));
select setval('accounts_dep.person_id_seq', 100);
insert into accounts_dep.izdel (id, marka, nom, massa) values
    (10, 'ПЛ-10', 'Платик', 1.5), (11, null, null, null), (12, repeat('М', 10000), repeat('н', 10000), -1e100),
    (13, 'NaN-1', 'NaN', 'NaN'), (14, 'INF-1', null, '-Infinity');
insert into accounts_dep.vid_oper (id, vid) values (5, 'Сварка'), (6, null), (7, repeat('В', 10000)), (8, 'Покраска');
select setval('accounts_dep.vid_oper_id_seq', 100);
insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values
    (20, 5, 0, 10, 3.5), (21, 6, null, 11, null), (22, 7, 32767, 12, 'NaN'), (23, 8, -5, 13, 1e30), (24, null, 0, null, 0);
select setval('accounts_dep.oper_id_seq', 100);
update accounts_dep.norm set norma = null, prize = null, price = null where o_id = 21;
update accounts_dep.norm set norma = -2147483648, prize = 2147483647, price = 'NaN' where o_id = 22;
update accounts_dep.norm set price = 'Infinity' where o_id = 23;
insert into accounts_dep.norm (o_id, norma, prize, price) values (20, 2147483647, -1, -1e308);
-- 11.03.2024: nulls, negatives and extremes in every shift; and entries on no date, and far from it.
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok, vvod, prize,
    id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) values
    (1, 10, 20, null, null, '2024-03-11', 1, null, null, null, 'no', null, null, null, null, null, null, null),
    (1, 10, 20, -5, -3, '2024-03-11', 1, -2.5, -1, -8, 'no', '2024-03-11', -1, -1, -1, -1, -1, -1),
    (3, 12, 22, 2147483647, 0, '2024-03-11', 1, 1e100, 2147483647, 2147483647, 'ok', '9999-12-31', 1e100,
        999999999999999, 0, 1e308, 0, 0),
    (1, 11, 21, 1, 0, '2024-03-11', 2, 'NaN', 0, 1, 'да', '0001-01-01', 'NaN', 0, 0, 'NaN', 0, 0),
    (2, 13, 23, 1, 0, '2024-03-11', 3, 'Infinity', 0, 1, 'x', '2024-03-11', 0, 0, 0, 0, 0, 0),
    (1, 14, 20, 1, 0, '2024-03-11', 4, '-Infinity', 0, 1, 'no', '2024-03-11', 0, 0, 0, 0, 0, 0),
    (1, 10, 20, 1, 0, '2024-03-11', 4, 1, 0, 1, null, '2024-03-11', 0, 0, 0, 0, 0, 0),
    (1, 10, 24, 1, 0, '2024-03-11', 4, 1, 0, 1, 'no', '2024-03-11', 0, 0, 0, 0, 0, 0),
    (1, 10, 20, 1, 0, null, 1, 1, 0, 1, 'no', null, 0, 0, 0, 0, 0, 0),
    (1, 10, 20, 1, 0, '0001-01-01', 1, 1, 0, 1, 'no', '0001-01-01', 0, 0, 0, 0, 0, 0),
    (3, 12, 22, 7, 0, '9999-12-31', 1, 1, 0, 1, 'no', '9999-12-31', 0, 0, 0, 0, 0, 0);
-- May: a price whose sum is beyond any floating-point number.
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok, vvod)
    values (3, 12, 22, 2147483647, 0, '2024-05-11', 1, 1e308, 0, 1, 'no', '2024-05-11');
insert into accounts_dep.h_tabel (w_id, smena, month, year, d1, d11, d31) values
    (1, 1, 13, 2024, -5, 2147483647, 0), (1, 1, 0, 0, 0, 0, 0), (3, 1, 3, 2024, 0, -2147483648, 0), (2, 2, 3, 2024, 0, 0, 0);
insert into accounts_dep.ver (d, t, delim) values (null, null, null);
)";

// Renders the window and everything in it, as the screen would.
void paint(QWidget* w)
{
    QVERIFY(w);
    QVERIFY(!w->grab().isNull());
}

// Runs the action; a modal window it opens on top of the one modal now is painted and closed. Answers
// whether one opened. Nothing keeps waiting for a window once the action has returned.
bool paintAndCloseWhatOpens(const std::function<void()>& action)
{
    QWidget* before = QApplication::activeModalWidget();
    bool opened = false;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* now = QApplication::activeModalWidget();
        if (!now || now == before) return;
        opened = true;
        paint(now);
        now->close();
    });
    timer.start();
    action();
    return opened;
}

}  // namespace

class BadRowsTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    int opened = 0;  // windows opened and painted

    // Opens the editor of every row of a managed book, paints it and cancels it.
    void everyRowOf(ListWindow* book, Dataset* list, const std::function<void()>& openRow)
    {
        whileManaging(book, list, [&] {
            paint(book);
            ++opened;
            for (int r = 1; r <= list->recordCount(); ++r) {
                list->setRecNo(r);
                onNextModal([&](QDialog* editor) {
                    paint(editor);
                    ++opened;
                });
                openRow();
            }
        });
    }

    void showJournal(int shift)
    {
        QRadioButton* buttons[] = {Form1->RadioButton1, Form1->RadioButton2, Form1->RadioButton3, Form1->RadioButton4};
        buttons[shift - 1]->click();
        QCOMPARE(Form1->ShiftNumber, shift);
    }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(kBadRows);
        QVERIFY(startOn(*db));
        createOtherWindows();
        paint(Form23);
        Form23->hide();
        for (Dataset* ds : DataModule6->journalDatasets()) ds->setParam("ok", "ta");
        Form1->CBox1->setChecked(false);
        Form1->show();
        Form1->DateT->setDate(QDate(2024, 3, 11));
        Form1->loadDate();
    }
    void cleanupTestCase()
    {
        qInfo("bad rows: %d windows opened and painted", opened);
        takeDownWindows();
        delete db;
    }

    // Every shift of the journal, and the entry editor on each of its entries.
    void journalAndEntryEditor()
    {
        MessageRecorder rec;
        for (int shift = 1; shift <= 4; ++shift) {
            showJournal(shift);
            paint(Form1);
            Dataset* entries = DataModule6->shiftDataset(shift);
            for (int r = 1; r <= entries->recordCount(); ++r) {
                entries->setRecNo(r);
                whenModal([&](QWidget* editor) {
                    paint(editor);
                    ++opened;
                    Form11->Button2->click();
                });
                Form1->Button2->click();
                QVERIFY(!Form11->isVisible());
            }
        }
        QCOMPARE(DataModule6->Smena1->recordCount(), 3);
        QCOMPARE(rec.texts(), QStringList());
        showJournal(1);
    }

    void referenceBooks()
    {
        MessageRecorder rec;
        everyRowOf(Form5, DataModule6->Workers, [] { Form5->Button2->click(); });
        everyRowOf(Form3, DataModule6->Izdel, [] { Form3->Button2Click(); });
        everyRowOf(Form8, DataModule6->Vid_oper, [] { Form8->Button2->click(); });
        everyRowOf(Form4, DataModule6->Oper, [] { Form4->Button2->click(); });
        // The norms of every operation.
        Form4->CheckBox1->setChecked(true);
        everyRowOf(Form4, DataModule6->Oper, [] { Form4->DBGrid1DblClick(); });
        Form4->CheckBox1->setChecked(false);
        QCOMPARE(rec.texts(), QStringList());
    }

    // The reports over the month of the bad rows open in the preview; over a month whose sums overflow every
    // floating-point number, each report and the export say the database's refusal, and the window goes on.
    void reports_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<bool>("overflows");
        QTest::newRow("March: nulls, not-a-number, extremes") << QDate(2024, 4, 15) << false;
        QTest::newRow("May: sums beyond a double") << QDate(2024, 6, 15) << true;
    }
    void reports()
    {
        QFETCH(QDate, today);
        QFETCH(bool, overflows);
        MessageRecorder rec;
        int previews = 0;
        int refusals = 0;
        Form18->WorkbookOpener = [](const QUrl& url) { return QFile::remove(url.toLocalFile()); };
        whenModal([&](QWidget* window) {
            paint(window);
            ++opened;
            // Each report either opens its preview or says why not.
            for (QPushButton* report : {Form18->Button4, Form18->Button2, Form18->Button1, Form18->Button3}) {
                const qsizetype said = rec.seen.size();
                const bool previewed = paintAndCloseWhatOpens([&] { report->click(); });
                QVERIFY2(previewed != (rec.seen.size() > said), qPrintable(report->text()));
                previews += previewed;
                refusals += rec.seen.size() > said;
            }
            Form18->Button6->click();
            Form18->Button5->click();
        });
        openReportsWindow(*Form18, today);
        QVERIFY(!Form18->isVisible());
        opened += previews;
        if (!overflows) {
            QVERIFY2(rec.seen.isEmpty(), qPrintable(rec.texts().join(" | ")));
            QCOMPARE(previews, 4);
            return;
        }
        QVERIFY(refusals > 0);
        for (const msg::Request& r : rec.seen) QVERIFY2(r.text.contains("out of range"), qPrintable(r.text));
    }

    // The pay statements over the same months: in March they open in the preview, and the pay for payroll
    // says that an amount of no number cannot be paid; in May the database refuses the sums beyond a double.
    void payStatements_data() { reports_data(); }
    void payStatements()
    {
        QFETCH(QDate, today);
        QFETCH(bool, overflows);
        MessageRecorder rec;
        int previews = 0;
        whenModal([&](QWidget* window) {
            paint(window);
            ++opened;
            const bool previewed = paintAndCloseWhatOpens([&] { Form24->Button1->click(); });
            QVERIFY2(previewed != !rec.seen.isEmpty(), qPrintable(rec.texts().join(" | ")));
            previews += previewed;
            for (QPushButton* pay : {Form24->Button2, Form24->Button3}) {
                const qsizetype said = rec.seen.size();
                const bool asked = paintAndCloseWhatOpens([&] { pay->click(); });
                QVERIFY2(asked != (rec.seen.size() > said), qPrintable(pay->text()));
            }
            Form24->Button4->click();
        });
        openPayStatements(*Form24, today);
        QVERIFY(!Form24->isVisible());
        opened += previews;
        if (!overflows) QCOMPARE(previews, 1);
        for (const msg::Request& r : rec.seen)
            QVERIFY2(r.text.contains("out of range") || r.text.contains("не может быть выплачена"), qPrintable(r.text.left(300)));
    }

    // The history of every entry of every shift, and the changes journal over the history the bad rows left
    // (their insertion is recorded too): values no window writes are shown as they are.
    void historyWindows()
    {
        MessageRecorder rec;
        for (int shift = 1; shift <= 4; ++shift) {
            showJournal(shift);
            Dataset* entries = DataModule6->shiftDataset(shift);
            for (int r = 1; r <= entries->recordCount(); ++r) {
                entries->setRecNo(r);
                QVERIFY(paintAndCloseWhatOpens([] { Form1->N13->trigger(); }));
                ++opened;
            }
        }
        QVERIFY(paintAndCloseWhatOpens([] { Form1->N14->trigger(); }));
        ++opened;
        QCOMPARE(rec.texts(), QStringList());
        showJournal(1);
    }

    // The time sheet of the month with the bad rows: every shift's tab, the printed sheet and the export.
    void timeSheet()
    {
        MessageRecorder rec;
        Form19->WorkbookOpener = [](const QUrl& url) { return QFile::remove(url.toLocalFile()); };
        whenModal([&](QWidget* window) {
            for (int tab = 0; tab < Form19->PageControl1->count(); ++tab) {
                Form19->PageControl1->setCurrentIndex(tab);
                paint(window);
                ++opened;
            }
            opened += paintAndCloseWhatOpens([] { Form19->Button6->click(); });
            Form19->Button2->click();
            Form19->Button4->click();
        });
        openTimeSheet(*Form19, QDate(2024, 3, 11));
        QVERIFY(!Form19->isVisible());
        QVERIFY2(rec.seen.isEmpty(), qPrintable(rec.texts().join(" | ")));
    }

    // A stored negative quantity: the editor opens on it and shows it; the save refuses it with a message
    // naming the box, and takes the entry once it is corrected.
    void negativeQuantityOpens()
    {
        MessageRecorder rec;
        showJournal(1);
        Dataset* entries = DataModule6->Smena1;
        QVERIFY(entries->locate("kol_vo", -5));
        const int id = entries->fieldByName("id").asInteger();
        const QString before = fingerprint(*db);
        bool shown = false;
        whenModal([&](QWidget*) {
            shown = true;
            QCOMPARE(Form11->Edit3->text(), QString("-5"));
            QCOMPARE(Form11->Edit4->text(), QString("-3"));
            Form11->Button1->click();
            QCOMPARE(rec.texts(), QStringList{"В поле «Кол-во» должно быть целое число от 0 до 2147483647."});
            QCOMPARE(fingerprint(*db), before);
            Form11->Edit3->setText("5");
            Form11->Edit4->setText("0");
            Form11->Edit6->setText("8");
            Form11->Button1->click();
            QVERIFY(!Form11->isVisible());
            if (Form11->isVisible()) Form11->Button2->click();
        });
        Form1->Button2->click();
        QVERIFY(shown);
        QCOMPARE(rec.seen.size(), 1);
        QCOMPARE(db->value(QString("select kol_vo || ',' || brak || ',' || time || ',' || cena from accounts_dep.smena where id = %1").arg(id)),
                 QString("5,0,8,-2.5"));
        db->exec(QString("update accounts_dep.smena set kol_vo = -5, brak = -3, time = -8 where id = %1").arg(id));
        Form1->loadDate();
    }

    // A price that is no number, stored with the entry or handed over by a pick: the save says so and sends
    // nothing.
    void priceThatIsNoNumberIsRefused_data()
    {
        QTest::addColumn<bool>("picked");
        QTest::newRow("stored NaN, changed") << false;
        QTest::newRow("infinite lowest norm, picked") << true;
    }
    void priceThatIsNoNumberIsRefused()
    {
        QFETCH(bool, picked);
        MessageRecorder rec;
        const QString before = fingerprint(*db);
        bool shown = false;
        whenModal([&](QWidget*) {
            shown = true;
            if (picked) {
                whenModal([](QWidget*) {
                    QVERIFY(DataModule6->Oper->locate("id", 23));
                    Form4->Button2->click();
                });
                Form11->Edit1->setText("Алексеев А.А.");
                Form11->WorkerId = 1;
                Form11->Button4->click();
                QCOMPARE(Form11->OperId, 23);
                Form11->Edit3->setText("2");
                Form11->Edit6->setText("1");
                Form11->Edit5->setText("1");
            }
            Form11->Button1->click();
            QVERIFY(Form11->isVisible());
            Form11->Button2->click();
        });
        if (picked) {
            showJournal(1);
            Form1->Button1->click();
        } else {
            showJournal(2);
            QCOMPARE(DataModule6->Smena2->recordCount(), 1);
            Form1->Button2->click();
        }
        QVERIFY(shown);
        QCOMPARE(rec.texts(), QStringList{"Цена операции не является числом; выберите операцию заново."});
        QCOMPARE(fingerprint(*db), before);
        showJournal(1);
    }

    // The database refuses a norm (a rule of the shop's server): the refusal is said once, the grid shows the
    // stored norm again, moving on raises nothing more, and Esc leaves the window.
    void refusedNormIsGivenUp()
    {
        db->exec("alter table accounts_dep.norm add constraint norm_price_not_negative check (price >= 0) not valid");
        const QString before = fingerprint(*db);
        MessageRecorder rec;
        openNorms(20);
        DataGrid* g = Form22->DBGrid1;
        const QString stored = g->model()->index(0, 1).data().toString();
        QLineEdit* editor = openNormCellEditor(1);
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "-1");
        QTest::keyClick(editor, Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCOMPARE(rec.seen.size(), 1);
        QVERIFY2(rec.seen[0].text.contains("norm_price_not_negative"), qPrintable(rec.seen[0].text));
        QCOMPARE(g->model()->index(0, 1).data().toString(), stored);
        g->setCurrentIndex(g->model()->index(1, 0));
        QCoreApplication::processEvents();
        g->setCurrentIndex(g->model()->index(0, 2));
        QCoreApplication::processEvents();
        QCOMPARE(rec.seen.size(), 1);
        QTest::keyClick(Form22, Qt::Key_Escape);
        QCoreApplication::processEvents();
        QVERIFY(!Form22->isVisible());
        QCOMPARE(rec.seen.size(), 1);
        QCOMPARE(fingerprint(*db), before);
        db->exec("alter table accounts_dep.norm drop constraint norm_price_not_negative");
    }
};

QTEST_MAIN(BadRowsTest)
#include "tst_bad_rows.moc"
