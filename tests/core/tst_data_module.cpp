// The shared datasets open on the schema, and the duplicate check answers as callers expect.
#include "core/application.h"
#include "store/connection.h"
#include "core/data_module.h"
#include "support/message_recorder.h"
#include "support/books_fixture.h"
#include "support/test_database.h"

#include <QtTest>

namespace {
// Worker 900 has two enterprise persons: one matched by id (shift 1), one by personal code (other shifts).
const char* kFixture = R"(
insert into cmn_contractor.person (id, s_code, s_caption) values (900, '901', 'По номеру'), (901, '900', 'По коду');
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok, vvod)
values (1, 10, 20, 10, 1, '2024-03-05', 1, 2.5, 0, 8, 'no', '2024-03-05'),
       (1, 10, 20, 10, 0, '2024-03-05', 1, 2.5, 0, 8, 'ta', '2024-03-05'),
       (900, 10, 20, 4, 0, '2024-03-05', 1, 1, 0, 2, 'ok', '2024-03-05'),
       (900, 10, 20, 4, 0, '2024-03-05', 2, 1, 0, 2, 'да', '2024-03-05'),
       (1, 10, 20, 3, 0, '2024-03-05', 3, 1, 0, 2, 'no', '2024-03-05'),
       (1, 10, 20, 3, 0, '2024-03-05', 4, 1, 0, 2, 'no', '2024-03-05');
insert into accounts_dep.h_tabel (w_id, smena, month, year, d5) values (1, 1, 3, 2024, 8);
)";
}

class DataModuleTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(booksFixture("Иванов И.И.") + kFixture);
        db->connectProgram();
        for (Dataset* ds : DataModule6->journalDatasets()) {
            ds->setParam("data", QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
            ds->setParam("ok", QString("ta"));
        }
    }
    void cleanupTestCase() { delete db; }

    void everySharedDatasetOpens()
    {
        TDataModule6* m = DataModule6;
        for (Dataset* ds : {m->H_Tabel_1, m->H_Tabel_2, m->H_Tabel_3}) {
            ds->setParam("mnth", 3);
            ds->setParam("yea", 2024);
        }
        for (Dataset* ds : {m->Workers, m->Izdel, m->Vid_oper, m->Oper, m->Smena1, m->Smena2, m->Smena3, m->Smena4,
                            m->H_Tabel_1, m->H_Tabel_2, m->H_Tabel_3}) {
            ds->open();
            QVERIFY2(ds->isOpen(), qPrintable(ds->name()));
        }
        QCOMPARE(m->Oper->recordCount(), 1);  // its first norm came from the database
        QCOMPARE(m->Oper->fieldByName("cena").asDouble(), 3.5);
        QCOMPARE(m->Oper->fieldByName("nmn").asString(), QString("Готовая продукция"));
        QCOMPARE(m->H_Tabel_1->recordCount(), 1);
        QCOMPARE(m->H_Tabel_1->fieldByName("summ").asInteger(), 8);
        QCOMPARE(m->H_Tabel_1->fieldByName("d4").asInteger(), 0);
        QCOMPARE(m->Smena1->fieldByName("summa").asDouble(), 22.5);
        for (Dataset* ds : m->findChildren<Dataset*>()) ds->close();
    }

    // The lowest price is kept with its 4 declared fraction digits, rounded as written, so the piece price
    // computed from it is the same on every workstation: 2.04165 is 2.0417, and x1.5 for overtime 3.06255.
    void operationPriceKeepsFourDigits()
    {
        db->exec("update accounts_dep.norm set price = 2.04165");
        TDataModule6* m = DataModule6;
        m->Oper->open();
        QCOMPARE(m->Oper->fieldByName("cena").asDouble(), 2.0417);
        QCOMPARE(m->Oper->fieldByName("cena").asString(), QString("2,0417"));
        m->Oper->close();
        db->exec("update accounts_dep.norm set price = 3.5");
    }

    void journalLeavesOutTaAndJoinsNamesPerShift()
    {
        TDataModule6* m = DataModule6;
        m->Smena1->open();
        m->Smena2->open();
        QStringList shift1;
        for (m->Smena1->first(); !m->Smena1->eof(); m->Smena1->next())
            shift1 << m->Smena1->fieldByName("fio").asString() + "/" + m->Smena1->fieldByName("ok").asString().trimmed();
        QCOMPARE(shift1, QStringList({"Иванов И.И./no", "По номеру/ok"}));
        QCOMPARE(m->Smena2->recordCount(), 1);
        QCOMPARE(m->Smena2->fieldByName("fio").asString(), QString("По коду"));
        QCOMPARE(m->Smena2->fieldByName("ok").asString().trimmed(), QString("да"));
        m->Smena1->close();
        m->Smena2->close();
    }

    void unreachableDatabaseIsAnError()
    {
        QVERIFY_THROWS_EXCEPTION(std::exception, openConnection("other", connectionString("pw_no_such_database", "localhost")));
        QVERIFY(DataModule6->connected());
    }
};

QTEST_MAIN(DataModuleTest)
#include "tst_data_module.moc"
