// The data grid follows its dataset, exchanges datasets, and lets a hook change how cells are drawn.
#include "core/application.h"
#include "core/data_grid.h"
#include "core/data_module.h"
#include "support/test_database.h"

#include <QImage>
#include <QScrollBar>
#include <QtTest>

class GridTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    Dataset* a = nullptr;
    Dataset* b = nullptr;

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase("insert into accounts_dep.vid_oper (vid) values ('Сварка'), ('Покраска'), ('Гибка');");
        db->connectProgram();
        a = DataModule6->Vid_oper;
        b = new Dataset("B", this);
        b->setConnectionName(TDataModule6::kConnection);
        b->setSql({"select 'x' as vid, 1.5::float8 as price"});
        b->setFields({{"price", FieldType::Double, false, 0, "#0.00#"}});
    }
    void cleanupTestCase() { delete db; }

    void selectionFollowsTheDatasetBothWays()
    {
        DataGrid grid;
        grid.setColumns({{"vid", "Операция", 120}});
        grid.setDataset(a);
        a->open();
        QCOMPARE(grid.model()->rowCount(), 3);
        QCOMPARE(grid.model()->data(grid.model()->index(0, 0)).toString(), QString("Гибка"));
        a->last();
        QCOMPARE(grid.currentIndex().row(), 2);
        grid.setCurrentIndex(grid.model()->index(1, 0));
        QCOMPARE(a->recNo(), 2);
        QCOMPARE(a->fieldByName("vid").asString(), QString("Покраска"));
        a->setFilter(RecordFilter::prefix("vid", "с"));
        a->setFiltered(true);
        QCOMPARE(grid.model()->rowCount(), 1);
        a->setFiltered(false);

        // Exchanging the data source shows the other dataset with the same columns, formatted by its fields.
        b->open();
        grid.setColumns({{"vid", "Операция", 120}, {"price", "Цена", 60}});
        grid.setDataset(b);
        QCOMPARE(grid.model()->rowCount(), 1);
        QCOMPARE(grid.model()->data(grid.model()->index(0, 1)).toString(), QString("1,50"));
        a->close();
        b->close();
        QCOMPARE(grid.model()->rowCount(), 0);
    }

    // A row stored, added or deleted in a long list changes that row only: the grid keeps where it is
    // scrolled to, its selection and the dataset's current row.
    void aLongGridKeepsItsPlaceWhenARowChanges()
    {
        db->exec("create table accounts_dep.pw_long (id serial primary key, n integer);"
                 "insert into accounts_dep.pw_long (n) select g from generate_series(1, 100000) g");
        Dataset rows("Long");
        rows.setConnectionName(TDataModule6::kConnection);
        rows.setSql({"select id, n from accounts_dep.pw_long order by id"});
        rows.setUpdateTable("accounts_dep.pw_long", {"id"});
        DataGrid grid;
        grid.resize(400, 300);
        grid.setColumns({{"n", "N", 100}});
        grid.setDataset(&rows);
        rows.open();
        grid.show();
        rows.setRecNo(50000);
        const int scrolled = grid.verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        int resets = 0;
        connect(grid.model(), &QAbstractItemModel::modelReset, this, [&resets] { ++resets; });

        rows.edit();
        rows.fieldByName("n").setInteger(-1);
        rows.post();
        QCOMPARE(rows.recNo(), 50000);
        QCOMPARE(grid.verticalScrollBar()->value(), scrolled);
        rows.insert();
        rows.fieldByName("n").setInteger(-2);
        rows.post();
        QCOMPARE(rows.recNo(), 50000);
        QCOMPARE(rows.fieldByName("n").asInteger(), -2);
        rows.remove();
        QCOMPARE(rows.recNo(), 50000);
        QCOMPARE(rows.fieldByName("n").asInteger(), -1);

        QCOMPARE(resets, 0);
        QCOMPARE(grid.model()->rowCount(), 100000);
        // A row in and out again leaves the view where it was, give or take the one row it scrolled to show it.
        QVERIFY2(qAbs(grid.verticalScrollBar()->value() - scrolled) <= 1, qPrintable(QString::number(grid.verticalScrollBar()->value())));
        QCOMPARE(grid.currentIndex().row(), 49999);
        QCOMPARE(grid.selectionModel()->selectedRows().size(), 1);
        QCOMPARE(db->value("select count(*) from accounts_dep.pw_long where n < 0"), QString("1"));
        db->exec("drop table accounts_dep.pw_long");
    }

    void hookPaintsCells()
    {
        DataGrid grid;
        grid.resize(300, 200);
        grid.setColumns({{"vid", "Операция", 150}});
        grid.setDataset(a);
        a->open();
        QStringList seen;
        grid.setDrawCellHook([&](CellDraw& cd, DataGrid& g) {
            seen << g.rowValue(cd.row, cd.field).toString();
            if (cd.row == 1) cd.background = Qt::red;
        });
        grid.show();
        QImage img(grid.viewport()->size(), QImage::Format_ARGB32);
        grid.viewport()->render(&img);
        QVERIFY(seen.contains("Покраска"));
        const QRect second = grid.visualRect(grid.model()->index(1, 0));
        QCOMPARE(QColor(img.pixel(second.left() + 1, second.center().y())), QColor(Qt::red));
        a->close();
    }

    void doubleClickIsReported()
    {
        DataGrid grid;
        grid.setColumns({{"vid", "Операция", 150}});
        grid.setDataset(a);
        a->open();
        grid.show();
        QSignalSpy spy(&grid, &DataGrid::dblClick);
        const QRect r = grid.visualRect(grid.model()->index(0, 0));
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(spy.count(), 1);
        a->close();
    }
};

QTEST_MAIN(GridTest)
#include "tst_grid.moc"
