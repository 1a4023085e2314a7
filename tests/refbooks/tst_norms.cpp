// The norms grid stores what is typed as cells are left, keeps new rows with their operation,
// and never deletes an operation's last norm.
#include "core/application.h"
#include "core/data_grid.h"
#include "core/data_module.h"
#include "support/message_recorder.h"
#include "refbooks/norms_window.h"
#include "support/test_database.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
const char* kFixture = R"(
insert into accounts_dep.izdel (marka, nom, massa) values ('ПЛ-10', 'ПЛ', 1), ('КР-20', 'КР', 2);
insert into accounts_dep.vid_oper (vid) values ('Сварка');
insert into accounts_dep.oper (vid, naimen, i_id, cena_new)
  select v.id, 0, i.id, 10 from accounts_dep.vid_oper v, accounts_dep.izdel i;
)";
}

class NormsTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    TForm22* form = nullptr;
    int operId = 0;

    // What the operations book does before it shows the grid.
    void openFor(const QString& marka)
    {
        Dataset* oper = DataModule6->Oper;
        oper->close();
        oper->open();
        QVERIFY(oper->locate("marka", marka));
        operId = oper->fieldByName("id").asInteger();
        form->norm->close();
        form->norm->setFilter(QString("o_id=%1").arg(operId));
        form->norm->setFiltered(true);
        form->norm->open();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }
    // Types into a cell as a user would, then leaves it with Tab.
    void typeInto(int row, int column, const QString& text)
    {
        DataGrid* g = form->DBGrid1;
        g->setFocus();
        g->setCurrentIndex(g->model()->index(row, column));
        QCoreApplication::processEvents();
        auto openEditor = [g]() -> QLineEdit* {
            for (auto* e : g->viewport()->findChildren<QLineEdit*>())
                if (e->isVisible()) return e;
            return nullptr;
        };
        auto* editor = openEditor();
        if (!editor) {
            QTest::keyClick(g, Qt::Key_F2);
            editor = openEditor();
        }
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Tab);
        QCoreApplication::processEvents();
    }
    // A norm stored by another workstation.
    void addNorm(const QString& marka, int norma, double price, int prize)
    {
        db->exec(QString("insert into accounts_dep.norm (o_id, norma, price, prize) select o.id, %2, %3, %4 "
                         "from accounts_dep.oper o join accounts_dep.izdel i on i.id = o.i_id where i.marka = '%1'")
                     .arg(marka)
                     .arg(norma)
                     .arg(price)
                     .arg(prize));
    }
    // A click on a cell, as the mouse gives it.
    void clickCell(int row, int column)
    {
        DataGrid* g = form->DBGrid1;
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(row, column)).center());
        QCoreApplication::processEvents();
    }
    // Esc in an open cell editor, if a click opened one: the grid is left browsing.
    void closeCellEditor()
    {
        for (auto* open : form->DBGrid1->viewport()->findChildren<QLineEdit*>())
            if (open->isVisible()) QTest::keyClick(open, Qt::Key_Escape);
        QCoreApplication::processEvents();
    }
    // A key to whatever has the focus in the window (the grid, or a cell's editor).
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents();
    }
    QStringList norms() const
    {
        return db->rows(QString("select norma, price, prize from accounts_dep.norm where o_id=%1 order by norma, id").arg(operId));
    }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(kFixture);
        db->connectProgram();
        form = new TForm22(*DataModule6);
    }
    void cleanupTestCase()
    {
        delete form;
        delete db;
    }
    // Every operation starts with its one norm at its own price.
    void init()
    {
        db->exec("truncate accounts_dep.norm restart identity;"
                 "insert into accounts_dep.norm (o_id, norma, prize, price) select id, 0, 0, cena_new from accounts_dep.oper");
    }
    void cleanup()
    {
        if (form->isVisible()) form->Button1->click();
    }

    void typedPriceIsStoredWhenTheCellIsLeft()
    {
        openFor("ПЛ-10");
        QCOMPARE(form->DBGrid1->model()->data(form->DBGrid1->model()->index(0, 1)).toString(), QString("10,00"));
        typeInto(0, 1, "12,345");
        QCOMPARE(norms(), QStringList({"0|12.345|0"}));
        QCOMPARE(form->DBGrid1->model()->data(form->DBGrid1->model()->index(0, 1)).toString(), QString("12,345"));
    }

    // A new row typed below the last is stored with its operation and takes its place in norma order.
    void newRowBelowTheLastKeepsItsOperation()
    {
        addNorm("ПЛ-10", 9, 20, 0);
        openFor("ПЛ-10");
        DataGrid* g = form->DBGrid1;
        g->setFocus();
        g->setCurrentIndex(g->model()->index(1, 0));
        QCoreApplication::processEvents();
        closeCellEditor();
        QTest::keyClick(g, Qt::Key_Down);  // below the last row: a new row
        QCOMPARE(g->model()->rowCount(), 3);
        typeInto(2, 0, "5");
        QCOMPARE(g->currentIndex().row(), 1);
        typeInto(g->currentIndex().row(), 1, "7,5");
        QCOMPARE(norms(), QStringList({"0|10|0", "5|7.5|0", "9|20|0"}));
        QStringList shown;
        for (int row = 0; row < g->model()->rowCount(); ++row) shown << g->model()->index(row, 0).data().toString();
        QCOMPARE(shown, QStringList({"0", "5", "9"}));
        // "Сохранить": the operations book shows the new count and lowest price on the same row.
        QTest::mouseClick(form->Button1, Qt::LeftButton);
        QCOMPARE(DataModule6->Oper->fieldByName("id").asInteger(), operId);
        QCOMPARE(DataModule6->Oper->fieldByName("norma").asInteger(), 3);
        QCOMPARE(DataModule6->Oper->fieldByName("cena").asDouble(), 7.5);
    }

    // A cell's text that is no number its column holds is told in the program's words, naming the column;
    // nothing is stored.
    void lettersAreRefused_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString price = "В поле «Цена» должно быть число, например 1234,5.";
        const QString norm = "В поле «Норматив» должно быть целое число от -2147483648 до 2147483647.";
        QTest::newRow("letters in the norm") << 0 << "abc" << norm;
        QTest::newRow("norm beyond an integer") << 0 << "2147483648" << norm;
        QTest::newRow("thousands with a comma in the price") << 1 << "1,234.5" << price;
        QTest::newRow("letters in the price") << 1 << "abc" << price;
        QTest::newRow("price beyond any number") << 1 << "1e400" << price;
    }
    void lettersAreRefused()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        MessageRecorder rec;
        openFor("КР-20");
        typeInto(0, column, typed);
        QCOMPARE(rec.texts(), QStringList{message});
        QCOMPARE(rec.seen[0].caption, QString("Ошибка"));
        QCOMPARE(norms(), QStringList({"0|10|0"}));
        QVERIFY(form->DBGrid1->isEnabled());
        form->Button1->click();
    }

    // Moving between cells types nothing, so nothing is stored, also when another workstation has added
    // a norm meanwhile or a new row was started; the operation keeps its lowest price.
    void movingThroughCellsStoresNothing()
    {
        openFor("КР-20");
        addNorm("КР-20", 5, 8, 1);
        form->DBGrid1->setFocus();
        clickCell(0, 0);
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        clickCell(0, 1);
        press(Qt::Key_Backtab);
        // A new row below the last, left untyped.
        press(Qt::Key_Down);
        QCOMPARE(form->DBGrid1->model()->rowCount(), 2);
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        QTest::mouseClick(form->Button1, Qt::LeftButton);
        QCOMPARE(norms(), QStringList({"0|10|0", "5|8|1"}));
        QCOMPARE(DataModule6->Oper->fieldByName("id").asInteger(), operId);
        QCOMPARE(DataModule6->Oper->fieldByName("cena").asDouble(), 8.0);
    }

    void deleteNeverRemovesTheLastNorm()
    {
        addNorm("ПЛ-10", 5, 7.5, 0);
        openFor("ПЛ-10");
        QCOMPARE(form->norm->recordCount(), 2);
        form->Button2->click();
        QCOMPARE(norms().size(), 1);
        form->Button2->click();
        QCOMPARE(norms().size(), 1);
        form->Button1->click();
    }

    // Ctrl+Del asks as the program's other deletions do, and never for the last norm.
    void ctrlDeleteAsksUnderTheProgramsCaption()
    {
        MessageRecorder rec;
        rec.answers << msg::Yes;
        addNorm("ПЛ-10", 5, 7.5, 0);
        openFor("ПЛ-10");
        form->DBGrid1->setFocus();
        clickCell(1, 0);
        closeCellEditor();
        QTest::keyClick(form->DBGrid1, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(rec.texts(), QStringList{"Удалить запись?"});
        QCOMPARE(rec.seen[0].caption, QString("Удаление"));
        QCOMPARE(rec.seen[0].icon, msg::Icon::Question);
        QCOMPARE(norms(), QStringList{"0|10|0"});
        QTest::keyClick(form->DBGrid1, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(rec.seen.size(), 1);
        QCOMPARE(norms(), QStringList{"0|10|0"});
    }
};

QTEST_MAIN(NormsTest)
#include "tst_norms.moc"
