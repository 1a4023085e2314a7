// Hostile texts pasted into every box a user types into, on a server that reads backslashes in quoted
// texts as text and on one that reads them as escapes: each text is stored and found again exactly as it
// was typed, or refused with a message before anything is sent; no statement fails and no other row changes.
#include "core/application.h"
#include "core/data_grid.h"
#include "core/error_report.h"
#include "store/store.h"
#include "hostile_texts.h"
#include "journal/entry_editor.h"
#include "journal/program_fixture.h"
#include "refbooks/books_fixture.h"
#include "refbooks/kind_editor.h"
#include "refbooks/kinds_list.h"
#include "refbooks/norms_window.h"
#include "refbooks/operations_list.h"
#include "refbooks/product_editor.h"
#include "refbooks/products_list.h"
#include "refbooks/worker_editor.h"
#include "refbooks/workers_list.h"
#include "reliability_fixture.h"
#include "support/message_recorder.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

using namespace reliability;

namespace {

// A small shop with one journal entry and its time-sheet day: a statement that broke out of its quotes
// to delete or change anything would show in the fingerprint.
const char* kShop = R"(
truncate accounts_dep.person, accounts_dep.izdel, accounts_dep.vid_oper, accounts_dep.oper, accounts_dep.norm,
    accounts_dep.smena, accounts_dep.h_tabel restart identity;
delete from cmn_contractor.person;
insert into accounts_dep.person (id, fio, s_staffpos_hl) values (1, 'Алексеев А.А.', 'Сварочный участок');
select setval('accounts_dep.person_id_seq', 100);
insert into accounts_dep.izdel (id, marka, nom, massa) values (10, 'ПЛ-10', 'Платик', 1.5);
select setval('accounts_dep.izdel_id_seq', 100);
insert into accounts_dep.vid_oper (id, vid) values (5, 'Сварка'), (6, 'Покраска');
select setval('accounts_dep.vid_oper_id_seq', 100);
insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (20, 5, 0, 10, 3.5), (21, 6, 0, 10, 2);
select setval('accounts_dep.oper_id_seq', 100);
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok, vvod)
    values (1, 10, 20, 4, 0, '2024-03-11', 1, 3.5, 0, 8, 'no', '2024-03-11');
insert into accounts_dep.h_tabel (w_id, smena, month, year, d11) values (1, 1, 3, 2024, 8);
)";

// The server's reading of backslashes in quoted texts: its default, a shop's server configured the old
// way (a setting of the database, in force for every new session), and the program's own session switched
// after connecting (only the form of the quoted texts can help then).
const QStringList kSettings{"on", "off for the database", "off in the session"};

// A text book: where a typed name is stored, the list that shows it and the editor that writes it.
struct TextBook {
    const char* name;
    const char* table;
    const char* column;
};
const TextBook kTextBooks[] = {{"worker", "person", "fio"}, {"product", "izdel", "marka"}, {"kind", "vid_oper", "vid"}};

// Every message the program may answer a refused text with; a statement error would be none of these.
bool isRefusal(const QString& message)
{
    static const QStringList known{
        "Текст содержит символ, который нельзя сохранить в базе данных",
        "Текст не может содержать перевод строки",
        "is not a valid floating point value",
        "is not a valid integer value",
        "должно быть целое число от ",
        "должно быть число, например 1234,5.",
        "Все поля должны быть заполнены!",
    };
    for (const QString& k : known)
        if (message.contains(k)) return true;
    return false;
}

}  // namespace

class HostileTextTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    QString setting;
    QString untouched;  // the fingerprint of the shop as the fixture made it
    int cases = 0;

    void useSetting(const QString& wanted)
    {
        if (wanted == setting) return;
        db->exec(QString("alter database %1 %2").arg(db->name(), wanted == "off for the database" ? "set standard_conforming_strings = off"
                                                                                                  : "reset standard_conforming_strings"));
        DataModule6->openDatabase(db->odbcString());
        DataModule6->setActor(store::Actor::here(store::Role::Full));
        if (wanted == "off in the session") store::exec(store::programDb(), "set standard_conforming_strings to off");
        setting = wanted;
    }

    ListWindow* listOf(const QString& book) const
    {
        return book == "worker" ? static_cast<ListWindow*>(Form5) : book == "product" ? static_cast<ListWindow*>(Form3) : Form8;
    }
    Dataset* datasetOf(const QString& book) const
    {
        return book == "worker" ? DataModule6->Workers : book == "product" ? DataModule6->Izdel : DataModule6->Vid_oper;
    }
    QLineEdit* editorBox(const QString& book) const
    {
        return book == "worker" ? Form2->Edit1 : book == "product" ? Form7->Edit1 : Form9->Edit1;
    }
    QPushButton* editorSave(const QString& book) const
    {
        return book == "worker" ? Form2->Button1 : book == "product" ? Form7->Button1 : Form9->Button1;
    }

    // "Добавить" in the managed list, the text pasted into the editor, "Записать"; answers whether the
    // editor closed.
    bool addThroughTheBook(const QString& book, const QString& text)
    {
        bool closed = false;
        whileManaging(listOf(book), datasetOf(book), [&] {
            onNextModal([&](QDialog* editor) {
                paste(editorBox(book), text);
                if (book == "product") paste(Form7->Edit2, "2,5");
                editorSave(book)->click();
                closed = !editor->isVisible();
            });
            listOf(book)->Button1->click();
        });
        return closed;
    }

    // "Изменить" on the row, and "Записать" without touching the box; answers what the box showed.
    QString changeWithoutTouching(const QString& book, int id)
    {
        QString shown;
        whileManaging(listOf(book), datasetOf(book), [&] {
            Dataset* list = datasetOf(book);
            QVERIFY(list->locate("id", id));
            onNextModal([&](QDialog* editor) {
                shown = editorBox(book)->text();
                editorSave(book)->click();
                QVERIFY(!editor->isVisible());
            });
            if (book == "product")
                doubleClickRow(Form3->DBGrid1, list->recNo() - 1);
            else
                listOf(book)->Button2->click();
        });
        return shown;
    }

    // The whole text pasted into the book's search box in pick mode, and the first row chosen.
    std::optional<PickedRow> pickBySearch(const QString& book, const QString& text)
    {
        const std::optional<PickedRow> picked = whilePicking(listOf(book), [&] {
            paste(listOf(book)->Edit1, text);
            if (book == "product")
                doubleClickRow(Form3->DBGrid1, 0);
            else
                QTest::keyClick(listOf(book)->Edit1, Qt::Key_Return);
        });
        // The search stays on the list's dataset until the box is cleared.
        listOf(book)->Edit1->clear();
        return picked;
    }

    void deleteThroughTheBook(const QString& book, int id)
    {
        whileManaging(listOf(book), datasetOf(book), [&] {
            QVERIFY(datasetOf(book)->locate("id", id));
            listOf(book)->Button3->click();
        });
    }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(kShop);
        QVERIFY(startOn(*db));
        createOtherWindows();
        Form23->hide();
        for (Dataset* ds : DataModule6->journalDatasets()) ds->setParam("ok", "ta");
        Form1->DateT->setDate(QDate(2024, 3, 11));
        Form1->loadDate();
        untouched = fingerprint(*db);
    }
    // A case that failed may have left rows behind: the next starts from the shop as it was.
    void cleanup()
    {
        if (QTest::currentTestFailed()) db->exec(kShop);
    }
    void cleanupTestCase()
    {
        qInfo("hostile texts: %d cases (%d texts)", cases, int(hostileTexts().size()));
        takeDownWindows();
        delete db;
    }

    // Names, marks and kinds: added through the book, read back byte for byte, found again by the book's
    // search, rewritten unchanged by "Изменить", deleted; or refused with a message, nothing written.
    void storedAndFoundAgain_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("book");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("refused");
        for (const QString& s : kSettings)
            for (const TextBook& b : kTextBooks)
                for (const HostileText& h : hostileTexts())
                    QTest::addRow("%s, %s, %s", qPrintable(s), b.name, h.name) << s << QString(b.name) << h.text << h.refused;
    }
    void storedAndFoundAgain()
    {
        QFETCH(QString, setting);
        QFETCH(QString, book);
        QFETCH(QString, text);
        QFETCH(bool, refused);
        ++cases;
        useSetting(setting);
        const TextBook& b = *std::find_if(std::begin(kTextBooks), std::end(kTextBooks), [&](const TextBook& t) { return book == t.name; });
        const QString newest = QString("select %1 from accounts_dep.%2 where id = (select max(id) from accounts_dep.%2)").arg(b.column, b.table);
        const QString before = storedHex(*db, newest);
        MessageRecorder rec;

        const bool closed = addThroughTheBook(book, text);
        if (refused) {
            QCOMPARE(rec.seen.size(), 1);
            QVERIFY2(isRefusal(rec.seen[0].text), qPrintable(rec.seen[0].text));
            QVERIFY(!closed);
            QCOMPARE(fingerprint(*db), untouched);
            return;
        }
        QVERIFY2(rec.seen.isEmpty(), qPrintable(rec.texts().join(" | ")));
        QVERIFY(closed);
        const QString typed = text.trimmed();
        const QString stored = storedHex(*db, newest);
        QVERIFY(stored != before);
        QCOMPARE(stored, hexOf(typed));
        const int id = db->value(QString("select max(id) from accounts_dep.%1").arg(b.table)).toInt();

        // Found again: the search finds it, and the pick hands back the text as typed.
        const std::optional<PickedRow> picked = pickBySearch(book, typed);
        QVERIFY(picked);
        QCOMPARE(picked->id, id);
        QCOMPARE(hexOf(picked->text), hexOf(typed));

        // "Изменить" shows it as stored, and "Записать" writes it back unchanged.
        QCOMPARE(hexOf(changeWithoutTouching(book, id)), hexOf(typed));
        QVERIFY2(rec.seen.isEmpty(), qPrintable(rec.texts().join(" | ")));
        QCOMPARE(storedHex(*db, newest), hexOf(typed));

        deleteThroughTheBook(book, id);
        QCOMPARE(fingerprint(*db), untouched);
    }

    // Boxes that hold numbers: the product's rate, the entry editor's quantity, rejects, hours and colour,
    // and the norms grid's cells. None of the texts is a number: each is refused with a message.
    void numberBoxesRefuseIt_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        const QStringList boxes{"rate", "quantity", "rejects", "hours", "colour", "norm", "price", "bonus"};
        for (const QString& s : kSettings)
            for (const QString& box : boxes)
                for (const HostileText& h : hostileTexts())
                    QTest::addRow("%s, %s, %s", qPrintable(s), qPrintable(box), h.name) << s << box << h.text;
    }
    void numberBoxesRefuseIt()
    {
        QFETCH(QString, setting);
        QFETCH(QString, box);
        QFETCH(QString, text);
        ++cases;
        useSetting(setting);
        MessageRecorder rec;
        if (box == "rate") {
            QVERIFY(!addThroughTheBookWithRate(text));
        } else if (box == "norm" || box == "price" || box == "bonus") {
            typeIntoNorms(box == "norm" ? 0 : box == "price" ? 1 : 2, text);
        } else {
            saveEntryWith(box, text);
        }
        QCOMPARE(rec.seen.size(), 1);
        QVERIFY2(isRefusal(rec.seen[0].text), qPrintable(rec.seen[0].text));
        QCOMPARE(fingerprint(*db), untouched);
    }

private:
    bool addThroughTheBookWithRate(const QString& rate)
    {
        bool closed = false;
        whileManaging(Form3, DataModule6->Izdel, [&] {
            onNextModal([&](QDialog* editor) {
                paste(Form7->Edit1, "Новая марка");
                paste(Form7->Edit2, rate);
                Form7->Button1->click();
                closed = !editor->isVisible();
            });
            Form3->Button1->click();
        });
        return closed;
    }

    // A new entry, complete but for the box: pasting cannot put the text in (the box takes digits only),
    // so it arrives as a value from elsewhere would, and "Запись" is pressed.
    void saveEntryWith(const QString& box, const QString& text)
    {
        Form1->ShiftNumber = 1;
        Form1->ShiftDataset = DataModule6->Smena1;
        Form11->presetForAdd({.shift = 1, .date = QDate(2024, 3, 12)});
        Form11->WorkerId = 1;
        Form11->ProductId = 10;
        Form11->OperId = box == "colour" ? 21 : 20;
        Form11->FinalPrice = 3.5;
        Form11->Edit1->setText("Алексеев А.А.");
        Form11->Edit2->setText(box == "colour" ? "ПЛ-10; Покраска; Готовая продукция" : "ПЛ-10; Сварка; Готовая продукция");
        Form11->enableColour(box == "colour");
        Form11->Edit3->setText("4");
        Form11->Edit6->setText("8");
        Form11->Edit5->setText("3");
        QLineEdit* target = box == "quantity" ? Form11->Edit3 : box == "rejects" ? Form11->Edit4 : box == "hours" ? Form11->Edit6 : Form11->Edit5;
        const QString digits = target->text();
        paste(target, text);
        QCOMPARE(target->text(), digits);
        target->setText(text);
        Form11->Button1->click();
    }

    // The norms of operation 20 in the grid, the text pasted into a cell's editor, the cell left with Tab.
    void typeIntoNorms(int column, const QString& text)
    {
        openNorms(20);
        QLineEdit* editor = openNormCellEditor(column);
        QVERIFY(editor);
        paste(editor, text);
        QTest::keyClick(editor, Qt::Key_Tab);
        QCoreApplication::processEvents();
        Form22->Button1->click();
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(HostileTextTest)
#include "tst_hostile_text.moc"
