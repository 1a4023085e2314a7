// The data grid follows its dataset, exchanges datasets, and lets a hook change how cells are drawn.
#include "core/application.h"
#include "core/data_grid.h"
#include "core/data_module.h"
#include "core/instances.h"
#include "support/test_database.h"

#include <QImage>
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
