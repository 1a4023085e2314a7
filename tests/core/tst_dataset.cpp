// The dataset layer against a real database through the ODBC driver.
#include "core/application.h"
#include "core/data_module.h"
#include "store/db_error.h"
#include "support/test_database.h"

#include <QtTest>

namespace {
const char* kFixture = R"(
insert into accounts_dep.person (fio) values ('Иванов И.И.'), ('ивлев П.П.'), ('Сидоров С.С.'), ('О''Брайен Д.'), ('Ивашов А.А.');
insert into accounts_dep.vid_oper (vid) values ('Сварка'), ('Покраска');
insert into accounts_dep.izdel (marka, nom, massa) values ('ПЛ-10', 'ПЛ', 1.234567891);
)";
}

class DatasetTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    TDataModule6* dm() { return DataModule6; }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(kFixture);
        db->connectProgram();
    }
    void cleanupTestCase() { delete db; }
    void cleanup()
    {
        for (Dataset* ds : dm()->findChildren<Dataset*>()) {
            ds->setFiltered(false);
            ds->close();
        }
    }

    void snapshotSeesNewRowsOnlyAfterReopen()
    {
        Dataset* w = dm()->Workers;
        w->open();
        QCOMPARE(w->recordCount(), 5);
        db->exec("insert into accounts_dep.person (fio) values ('Петров П.П.')");
        QCOMPARE(w->recordCount(), 5);
        w->close();
        w->open();
        QCOMPARE(w->recordCount(), 6);
        db->exec("delete from accounts_dep.person where fio='Петров П.П.'");
    }

    void parametersAndRecordNumbers()
    {
        Dataset ds("Q");
        ds.setConnectionName(TDataModule6::kConnection);
        ds.setSql({"select id, fio from accounts_dep.person", "where fio >= :from order by fio"});
        ds.setParam("from", QString("О"));
        ds.open();
        QCOMPARE(ds.recordCount(), 3);  // О'Брайен, Сидоров, ивлев (code-point order)
        QCOMPARE(ds.recNo(), 1);
        QCOMPARE(ds.fieldByName("FIO").asString(), QString("О'Брайен Д."));
        ds.next();
        ds.next();
        QCOMPARE(ds.recNo(), 3);
        QVERIFY(!ds.eof());
        ds.next();
        QVERIFY(ds.eof());
        QCOMPARE(ds.recNo(), 3);
        ds.prior();
        QCOMPARE(ds.recNo(), 2);
        // A new value takes effect at the next open only.
        ds.setParam("from", QString("А"));
        QCOMPARE(ds.recordCount(), 3);
        ds.close();
        ds.open();
        QCOMPARE(ds.recordCount(), 5);
        ds.setRecNo(40);  // past the end: the last row
        QCOMPARE(ds.recNo(), 5);
    }

    void prefixFilterIgnoresLetterCase()
    {
        Dataset* w = dm()->Workers;
        w->open();
        w->last();
        w->setFilter("fio like 'ив%'");
        w->setFiltered(true);
        QCOMPARE(w->recordCount(), 3);
        QCOMPARE(w->recNo(), 1);
        QStringList names;
        for (w->first(); !w->eof(); w->next()) names << w->fieldByName("fio").asString();
        QCOMPARE(names, QStringList({"Иванов И.И.", "Ивашов А.А.", "ивлев П.П."}));
        // A quote typed into the search is data.
        w->setFilter(RecordFilter::prefix("fio", "о'б"));
        QCOMPARE(w->recordCount(), 1);
        QCOMPARE(w->fieldByName("fio").asString(), QString("О'Брайен Д."));
        w->setFilter(RecordFilter::prefix("fio", "%"));
        QCOMPARE(w->recordCount(), 0);
        QVERIFY(w->recNo() < 1);
        w->setFiltered(false);
        QCOMPARE(w->recordCount(), 5);
    }

    void locateIgnoresLetterCase()
    {
        Dataset* w = dm()->Workers;
        w->open();
        QVERIFY(w->locate("fio", QString("СИДОРОВ С.С.")));
        QCOMPARE(w->fieldByName("fio").asString(), QString("Сидоров С.С."));
        QVERIFY(!w->locate("fio", QString("Нет такого")));
        const int id = w->fieldByName("id").asInteger();
        w->first();
        QVERIFY(w->locate("id", id));
        QCOMPARE(w->fieldByName("fio").asString(), QString("Сидоров С.С."));
    }

    void valuesReadByType()
    {
        Dataset& c = *dm()->Control;
        c.setSql({"select null::integer as n, 2.5::numeric as d, 'Ёлка'::text as t, to_date('05.03.2024','DD.MM.YYYY') as dt, 7::int8 as big"});
        c.open();
        QCOMPARE(c.fieldByName("n").asInteger(), 0);
        QVERIFY(c.fieldByName("n").isNull());
        QCOMPARE(c.fieldByName("d").asDouble(), 2.5);
        QCOMPARE(c.fieldByName("d").asString(), QString("2,5"));
        QCOMPARE(c.fieldByName("t").asString(), QString("Ёлка"));
        QCOMPARE(c.fieldByName("dt").asDate(), QDate(2024, 3, 5));
        QCOMPARE(c.fieldByName("dt").asString(), QString("05.03.2024"));
        QCOMPARE(c.fieldByName("BIG").asLargeInt(), 7);
        QVERIFY_THROWS_EXCEPTION(DbError, c.fieldByName("missing"));
        c.close();
        // A text longer than the driver's buffers arrives whole.
        c.setSql({"select repeat('я', 20000) as t from generate_series(1, 3)"});
        c.open();
        QCOMPARE(c.recordCount(), 3);
        QCOMPARE(c.fieldByName("t").asString(), QString(20000, QChar(0x44F)));
        c.close();
        // Wide text columns take a few rows a block: every row arrives, in order, nulls where they were.
        c.setSql({"select g, 'а' || g as a, 'б' || g as b, case when g % 7 = 0 then null else 'в' || g end as c, 'г' as d "
                  "from generate_series(1, 1000) g order by g"});
        c.open();
        QCOMPARE(c.recordCount(), 1000);
        for (int g = 1; g <= 1000; ++g, c.next()) {
            QCOMPARE(c.fieldByName("g").asInteger(), g);
            QCOMPARE(c.fieldByName("b").asString(), QStringLiteral("б%1").arg(g));
            QCOMPARE(c.fieldByName("c").isNull(), g % 7 == 0);
        }
        c.close();
        // The products list reads its numeric key as a whole number and the mass rounded to 5 places.
        dm()->Izdel->open();
        QVERIFY(!dm()->Izdel->fieldByName("id").asString().contains(','));
        QCOMPARE(dm()->Izdel->fieldByName("massa").asDouble(), 1.23457);
    }

    void rejectedStatementRaisesTheDatabaseText()
    {
        Dataset& c = *dm()->Control;
        c.setSql({"select * from accounts_dep.no_such_table"});
        try {
            c.open();
            QFAIL("no error");
        } catch (const DbError& e) {
            QVERIFY2(e.text().contains("no_such_table"), qPrintable(e.text()));
        }
        QVERIFY(!c.isOpen());
    }

    void insertEditDeleteByKey()
    {
        Dataset* v = dm()->Vid_oper;
        v->open();
        const int before = v->recordCount();
        v->insert();
        QVERIFY(v->recNo() < 1);
        v->fieldByName("vid").setString("Резка 'ровная'");
        v->post();
        const int id = v->fieldByName("id").asInteger();
        QVERIFY(id > 0);  // filled by the database
        QCOMPARE(db->value(QString("select vid from accounts_dep.vid_oper where id=%1").arg(id)), QString("Резка 'ровная'"));
        QCOMPARE(v->recordCount(), before + 1);

        v->edit();
        v->fieldByName("VID").setString("Резка");
        v->post();
        QCOMPARE(db->value(QString("select vid from accounts_dep.vid_oper where id=%1").arg(id)), QString("Резка"));

        // A store the database refuses leaves the row pending.
        v->insert();
        v->fieldByName("vid").setString("СВАРКА");
        QVERIFY_THROWS_EXCEPTION(DbError, v->post());
        QCOMPARE(v->state(), Dataset::State::Insert);
        v->cancel();

        QVERIFY(v->locate("id", id));
        v->remove();
        QCOMPARE(db->value(QString("select count(*) from accounts_dep.vid_oper where id=%1").arg(id)), QString("0"));
        QCOMPARE(v->recordCount(), before);

        // Refresh re-reads with the same filter and stays on the same row.
        QVERIFY(v->locate("vid", QString("Сварка")));
        db->exec("insert into accounts_dep.vid_oper (vid) values ('Антикор')");
        v->refresh();
        QCOMPARE(v->recordCount(), before + 1);
        QCOMPARE(v->fieldByName("vid").asString(), QString("Сварка"));
    }

    void numberFieldRefusesLetters()
    {
        Dataset* iz = dm()->Izdel;
        iz->open();
        iz->edit();
        QVERIFY_THROWS_EXCEPTION(DbError, iz->fieldByName("massa").setString("abc"));
        iz->fieldByName("massa").setString("2,5");
        iz->post();
        QCOMPARE(db->value("select massa from accounts_dep.izdel where marka='ПЛ-10'"), QString("2.5"));
    }

    void tableWithoutKeyUpdatesByOriginalValues()
    {
        Dataset ver("ver");
        ver.setConnectionName(TDataModule6::kConnection);
        ver.setTable("accounts_dep.ver", {});
        ver.open();
        QVERIFY(ver.isEmpty());
        ver.edit();  // on an empty table this starts a new row
        ver.fieldByName("d").setInteger(20240105);
        ver.fieldByName("t").setInteger(9);
        ver.post();
        ver.edit();
        ver.fieldByName("t").setInteger(10);
        ver.post();
        QCOMPARE(db->rows("select d, t from accounts_dep.ver"), QStringList({"20240105|10"}));
    }
};

QTEST_MAIN(DatasetTest)
#include "tst_dataset.moc"
