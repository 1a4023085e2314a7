// The road of one entry through the real windows: the journal's "Добавить", the two pickers, the editor's
// "Запись", the red row in the journal, its acceptance, and the worker's day in the time sheet.
#include "core/application.h"
#include "core/data_grid.h"
#include "journal/entry_editor.h"
#include "refbooks/kind_editor.h"
#include "refbooks/kinds_list.h"
#include "support/message_recorder.h"
#include "refbooks/norms_window.h"
#include "refbooks/operation_dialog.h"
#include "refbooks/operations_list.h"
#include "refbooks/product_editor.h"
#include "refbooks/products_list.h"
#include "program_fixture.h"
#include "refbooks/worker_editor.h"
#include "refbooks/workers_list.h"
#include "support/books_fixture.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QRadioButton>
#include <QTableView>

namespace {

// A welding and a painting operation; the painting one's lowest norm price is 2.5.
const char* kBooks = R"(
insert into accounts_dep.person (id, fio) values (2, 'Борисов Б.Б.');
insert into accounts_dep.izdel (id, marka, nom, massa) values (11, 'ШК-2', 'ШК', 1);
insert into accounts_dep.vid_oper (id, vid) values (6, 'Покраска');
insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (21, 6, 0, 11, 2.5);
)";

QColor okColour(int row)
{
    CellDraw ok;
    ok.field = "ok";
    ok.row = row;
    Form1->DBGrid2->drawCellHook()(ok, *Form1->DBGrid2);
    return ok.textColor;
}

void doubleClickRow(int row)
{
    const QRect cell = Form1->DBGrid2->visualRect(Form1->DBGrid2->model()->index(row, 0));
    QTest::mouseClick(Form1->DBGrid2->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(Form1->DBGrid2->viewport(), Qt::LeftButton, {}, cell.center());
}

// Clears a number box and types into it as the user does.
void type(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

// Types any text, Cyrillic too, a key at a time.
void typeText(QWidget* w, const QString& text)
{
    for (QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Picks the first row of a book whose search field starts with `prefix`.
void pickNext(ListWindow* book, const QString& prefix)
{
    whenModal([book, prefix](QWidget*) {
        typeText(book->Edit1, prefix);
        QTest::keyClick(book->Edit1, Qt::Key_Return);
    });
}

}  // namespace

class EntryRoadTest : public QObject {
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
        takeDownWindows();
        delete db;
    }

    void oneEntryFromAddToTimeSheet()
    {
        QVERIFY(startOn(*db));
        createOtherWindows();
        MessageRecorder rec;
        QStringList inEditor, inJournal;
        whileSignedIn("8629", [&] {
            // Saturday 9 March 2024, shift 3.
            Form1->DateT->setFocus();
            Form1->DateT->setSelectedSection(QDateTimeEdit::DaySection);
            QTest::keyClicks(Form1->DateT, "09032024");
            QTest::keyClick(Form1->DateT, Qt::Key_Return);
            QTest::mouseClick(Form1->RadioButton3, Qt::LeftButton);
            inJournal << QString("day off %1").arg(Form1->CBox1->isChecked());

            whenModal([&](QWidget* editor) {
                inEditor << editor->windowTitle() << QString("focus %1").arg(editor->focusWidget() == Form11->Button3);
                ListWindow* workers = Form5;
                pickNext(workers, "Бор");
                QTest::keyClick(Form11->Button3, Qt::Key_Space);
                ListWindow* operations = Form4;
                pickNext(operations, "ШК");
                QTest::mouseClick(Form11->Button4, Qt::LeftButton);
                inEditor << Form11->Edit1->text() << Form11->Edit2->text()
                         << QString("colour %1 %2").arg(Form11->Edit5->isEnabled()).arg(Form11->Label6->isEnabled())
                         << Form11->Edit8->text() << Form11->Edit7->text();
                // Back in the editor from the pickers; leaving a box is what recomputes the sum.
                QApplication::setActiveWindow(editor);
                type(Form11->Edit3, "10");
                type(Form11->Edit6, "7");
                type(Form11->Edit5, "12");
                type(Form11->Edit4, "1");
                inEditor << Form11->Edit9->text();
                QTest::keyClick(Form11->Edit4, Qt::Key_Return);
                inEditor << QString("open %1").arg(Form11->isVisible());
            });
            QTest::mouseClick(Form1->Button1, Qt::LeftButton);

            inJournal << Form1->DBGrid2->rowValue(0, "fio").toString() + " " + Form1->DBGrid2->rowValue(0, "ok").toString().trimmed()
                      << Form1->DBGrid2->rowValue(0, "summa").toString() << okColour(0).name();
            doubleClickRow(0);
            inJournal << Form1->DBGrid2->rowValue(0, "ok").toString().trimmed() << okColour(0).name();
        });
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(inEditor, QStringList({"Заведение новой позиции", "focus 1", "Борисов Б.Б.", "ШК-2; Покраска; Готовая продукция",
                                        "colour 1 1", "2,5", "6", "60", "open 0"}));
        QCOMPARE(inJournal, QStringList({"day off 1", "Борисов Б.Б. no", "54", "#ff0000", "ok", "#008000"}));
        QCOMPARE(db->rows("select w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, ok from accounts_dep.smena"),
                 QStringList{"2|11|21|6|10|1|2024-03-09|3|12|7|ok"});
        QCOMPARE(db->rows("select w_id, smena, month, year, d9 from accounts_dep.h_tabel"), QStringList{"2|3|3|2024|7"});
    }
};

QTEST_MAIN(EntryRoadTest)
#include "tst_entry_road.moc"
