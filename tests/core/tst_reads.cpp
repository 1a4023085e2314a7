// The store's catalog of reads: every text is the statement the program has always sent, line for line,
// and every read opens on the schema with the fields it declares.
#include "core/application.h"
#include "core/data_module.h"
#include "store/reads/books.h"
#include "store/reads/journal.h"
#include "store/reads/reports.h"
#include "store/reads/time_sheet.h"
#include "support/test_database.h"

#include <QtTest>

Q_DECLARE_METATYPE(store::Read)

namespace {

const QString kKind = QStringLiteral("(SELECT (CASE naimen WHEN 0 THEN 'Готовая продукция' ELSE 'Заготовки' END)) as nmn");

const QStringList kJournalFields{"id",    "data", "smena", "i_id", "o_id",          "w_id",       "cena",
                                 "fio",   "marka", "vid",  "naimen", "nmn",         "brak",       "kol_vo",
                                 "summa", "prize", "color", "time", "ok",           "vvod",       "id_doc",
                                 "id_doc_item", "f_gds_qty_use", "id_gds_use", "id_cons_use"};

QStringList otherShift(int shift, const QString& caption)
{
    return {
        "select smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, ",
        "smena.cena, " + caption + " fio, izdel.marka, vid_oper.vid, " + kKind + ", oper.naimen, smena.kol_vo::numeric, smena.brak, ",
        "round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, smena.id, color,time,smena.ok,vvod, smena.id_doc, "
        "smena.id_doc_item, smena.f_gds_qty_use, smena.id_gds_use, smena.id_cons_use  ",
        "from cmn_contractor.person person,accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper ",
        "where smena.i_id=izdel.id and smena.o_id=oper.id and w_id=s_code::t_integer and ",
        QString("oper.vid=vid_oper.id and smena.smena=%1 and smena.data=:data and ok<>:ok order by fio").arg(shift),
    };
}

QStringList timeSheetLines(int shift)
{
    return {
        // The total is summed as a bigint, so that cells at the integer's limit do not fail the window.
        "select person.s_caption fio, h_tabel.*,(d1::bigint+d2+d3+d4+d5+d6+d7+d8+d9+d10+d11",
        "+d12+d13+d14+d15+d16+d17+d18+d19+d20+d21+d22+d23+d24+d25",
        "+d26+d27+d28+d29+d30+d31) as summ from accounts_dep.h_tabel, cmn_contractor.person where ",
        QString("h_tabel.w_id=person.s_code::integer and h_tabel.smena=%1 and month=:mnth and ").arg(shift),
        "year=:yea order by fio",
    };
}

QStringList days(const QString& prefix)
{
    QStringList names;
    for (int d = 1; d <= 31; ++d) names << prefix + QString::number(d);
    return names;
}

QStringList fieldNames(const store::Read& read)
{
    QStringList names;
    for (const FieldDef& f : read.fields) names << f.name;
    return names;
}

QList<store::Read> catalog()
{
    using namespace store::reads;
    return {workers(),      products(),        operationKinds(),   operations(),    norms(),
            priceList(),    roles(),           staffPositions(),   departments(),   journalShift(1),
            journalShift(2), journalShift(3),  journalShift(4),    versionStamp(),  timeSheet(1),
            timeSheet(2),   timeSheet(3),      monthSummary(),     workersReport(), productsReport(),
            workersDetailReport(), productsDetailReport(), outputByProducts()};
}

}  // namespace

class ReadsTest : public QObject {
    Q_OBJECT

private slots:
    void textsAreTheProgramsStatements_data()
    {
        using namespace store::reads;
        QTest::addColumn<store::Read>("read");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("writtenBackTo");

        QTest::newRow("workers") << workers() << "Workers" << QStringList{"select * from accounts_dep.person order by fio"}
                                 << QStringList{"id", "fio", "s_staffpos_hl"} << "";
        QTest::newRow("products")
            << products() << "Izdel"
            << QStringList{"select marka, id, nom, round(massa::numeric, 5) massa  from accounts_dep.IZDEL order by marka"}
            << QStringList{"MARKA", "nom", "massa", "id"} << "accounts_dep.izdel";
        QTest::newRow("kinds") << operationKinds() << "Vid_oper" << QStringList{"select * from accounts_dep.VID_OPER order by vid"}
                               << QStringList{"VID", "ID"} << "accounts_dep.vid_oper";
        QTest::newRow("operations")
            << operations() << "Oper"
            << QStringList{"select izdel.MARKA, vid_oper.VID, oper.NAIMEN, " + kKind + ",",
                           "count(o_id) norma, min(price)::numeric cena,",
                           "oper.id, oper.i_id, oper.VID as oper_vid from accounts_dep.norm,accounts_dep.OPER,accounts_dep.IZDEL,"
                           "accounts_dep.VID_OPER where OPER.i_id=IZDEL.id and norm.o_id=oper.id",
                           "and oper.vid=vid_oper.id group by izdel.MARKA, vid_oper.VID, oper.NAIMEN, oper.id, oper.i_id, oper.VID "
                           "order by izdel.marka, vid_oper.vid, oper.naimen"}
            << QStringList{"id", "MARKA", "VID", "NAIMEN", "nmn", "norma", "cena", "i_id", "oper_vid"} << "";
        QTest::newRow("norms") << norms() << "norm" << QStringList{"select * from accounts_dep.norm"}
                               << QStringList{"id", "o_id", "norma", "prize", "price"} << "accounts_dep.norm";
        QTest::newRow("price list")
            << priceList() << "XLS_Rep"
            << QStringList{"select izdel.MARKA, vid_oper.VID, oper.NAIMEN," + kKind + ", oper.CENA_new as cena, oper.id, oper.i_id,",
                           " oper.VID as oper_vid from accounts_dep.OPER,accounts_dep.IZDEL,accounts_dep.VID_OPER where OPER.i_id=IZDEL.id ",
                           "and oper.vid=vid_oper.id order by izdel.marka, vid_oper.vid, oper.naimen"}
            << QStringList{"MARKA", "VID", "NAIMEN", "nmn", "CENA", "id", "i_id", "oper_vid"} << "";
        QTest::newRow("roles") << roles() << "roles" << QStringList{"select * from adm_role.roles"} << QStringList{} << "";
        QTest::newRow("positions") << staffPositions() << "staffpos" << QStringList{"select * from hrms_staffpos.staffpos"}
                                   << QStringList{} << "";
        QTest::newRow("departments") << departments() << "department" << QStringList{"select * from cmn_department.department"}
                                     << QStringList{} << "";

        QTest::newRow("shift 1")
            << journalShift(1) << "Smena1"
            << QStringList{"select smena.id, smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, ",
                           "smena.cena,person.s_caption fio, izdel.marka, vid_oper.vid, " + kKind
                               + ", oper.naimen,  smena.brak, smena.kol_vo::numeric,",
                           "round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, color,time, smena.ok, vvod, "
                           "smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, smena.id_gds_use, smena.id_cons_use",
                           "from cmn_contractor.person person, accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper ",
                           "where smena.i_id=izdel.id and smena.o_id=oper.id and w_id=person.id and ",
                           "oper.vid=vid_oper.id and smena.smena=1 and smena.data=:data and ok!=:ok order by ",
                           "fio, izdel.marka, vid_oper.vid, oper.naimen, color"}
            << kJournalFields << "";
        QTest::newRow("shift 2") << journalShift(2) << "Smena2" << otherShift(2, "s_caption") << kJournalFields << "";
        QTest::newRow("shift 3") << journalShift(3) << "Smena3" << otherShift(3, "s_caption") << kJournalFields << "";
        QTest::newRow("overtime") << journalShift(4) << "Smena4" << otherShift(4, "person.s_caption") << kJournalFields << "";
        QTest::newRow("build stamp") << versionStamp() << "ver" << QStringList{"select * from accounts_dep.ver"}
                                     << QStringList{"d", "t", "delim"} << "accounts_dep.ver";

        for (int shift = 1; shift <= 3; ++shift)
            QTest::addRow("time sheet %d", shift) << store::reads::timeSheet(shift) << QString("H_Tabel_%1").arg(shift)
                                                  << timeSheetLines(shift)
                                                  << QStringList{"fio", "w_id", "month", "year", "smena", "id"} + days("d") + QStringList{"summ"}
                                                  << "";
        QTest::newRow("month summary")
            << monthSummary() << "H_Tabel"
            << QStringList{"select person.s_caption fio,sum(d1) as sd1,sum(d2) as sd2,sum(d3) as sd3,sum(d4) as sd4,",
                           "sum(d5) as sd5,sum(d6) as sd6,sum(d7) as sd7,sum(d8) as sd8,sum(d9) as sd9,",
                           "sum(d10) as sd10,sum(d11) as sd11,sum(d12) as sd12,sum(d13) as sd13,",
                           "sum(d14) as sd14,sum(d15) as sd15,sum(d16) as sd16,sum(d17) as sd17,",
                           "sum(d18) as sd18,sum(d19) as sd19,sum(d20) as sd20,sum(d21) as sd21,",
                           "sum(d22) as sd22,sum(d23) as sd23,sum(d24) as sd24,sum(d25) as sd25,",
                           "sum(d26) as sd26,sum(d27) as sd27,sum(d28) as sd28,sum(d29) as sd29,",
                           "sum(d30) as sd30,sum(d31) as sd31 from accounts_dep.h_tabel, cmn_contractor.person person where",
                           "h_tabel.w_id=person.s_code::t_integer and month=:mnth and",
                           "year=:yea group by fio order by fio"}
            << QStringList{"fio"} + days("sd") << "";

        // The summary reports add each entry's earnings rounded to the kopeck, as the journal and the pay
        // statements show them, so that a statement's total and the report agree to the kopeck.
        QTest::newRow("report by workers")
            << workersReport() << "t_Report"
            << QStringList{"select person.s_caption fio, sum(smena.kol_vo-smena.brak)::numeric as kolvo, ",
                           "sum(round((kol_vo-brak)*smena.cena::numeric, 2)::float8) as summa,vid_oper.vid,",
                           "izdel.nom, oper.naimen, color from cmn_contractor.person person,accounts_dep.smena,accounts_dep.izdel,accounts_dep.vid_oper,",
                           "accounts_dep.oper where w_id=s_code::integer and izdel.id=smena.i_id and vid_oper.id=oper.vid",
                           "and oper.id=smena.o_id and smena.data<:data2 and smena.data>=:data1 ",
                           "group by fio, izdel.nom, oper.naimen, vid_oper.vid, color order by fio, izdel.nom"}
            << QStringList{"fio", "kolvo", "summa", "vid", "nom", "naimen", "color"} << "";
        QTest::newRow("report by products")
            << productsReport() << "t_Report"
            << QStringList{"select sum(smena.kol_vo-smena.brak)::numeric as kolvo, vid_oper.vid,",
                           "izdel.nom, oper.naimen, color,  round((izdel.massa*sum(smena.kol_vo-smena.brak))::numeric,2) as mass",
                           "from accounts_dep.smena,accounts_dep.izdel,accounts_dep.vid_oper, accounts_dep.oper where izdel.id=smena.i_id and vid_oper.id=oper.vid",
                           "and oper.id=smena.o_id and smena.data<:data2 and smena.data>=:data1 ",
                           "group by izdel.nom,color, oper.naimen, vid_oper.vid, izdel.massa order by izdel.nom"}
            << QStringList{"kolvo", "vid", "nom", "naimen", "color", "mass"} << "";
        QTest::newRow("detailed by workers")
            << workersDetailReport() << "w_Report"
            << QStringList{"select s_caption fio, izdel.marka, vid_oper.vid, oper.naimen, ",
                           "sum(smena.kol_vo)::numeric as kolvo, sum(smena.brak) as brk, sum(round((kol_vo-brak)*smena.cena::numeric, 2)::float8) as summa, color, sum(prize*(kol_vo-brak)*cena/100) as s_prize ",
                           "from cmn_contractor.person person,accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper where ",
                           "smena.o_id=oper.id and smena.w_id=s_code::integer and smena.i_id=izdel.id ",
                           "and smena.o_id=oper.id and w_id=s_code::integer and oper.vid=vid_oper.id ",
                           "and smena.data<:data2 and smena.data>=:data1 group by fio, marka, ",
                           "vid_oper.vid, oper.naimen, color order by fio, marka, vid_oper.vid, oper.naimen"}
            << QStringList{"fio", "marka", "vid", "naimen", "kolvo", "brk", "summa", "color", "s_prize"} << "";
        QTest::newRow("detailed by products")
            << productsDetailReport() << "i_Report"
            << QStringList{"select izdel.marka, vid_oper.vid vid, oper.naimen, izdel.nom,",
                           "sum(smena.kol_vo)::numeric as kolvo, sum(smena.brak) as brk, ",
                           "sum(round((kol_vo-brak)*smena.cena::numeric, 2)::float8) as summa, color, round((izdel.massa*sum(smena.kol_vo))::numeric,2) as mass ",
                           "from accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper where smena.o_id=oper.id and smena.i_id=izdel.id ",
                           "and smena.o_id=oper.id and oper.vid=vid_oper.id and smena.data<:data2 and ",
                           "smena.data>=:data1 group by izdel.nom, marka, vid_oper.vid, oper.naimen, color,massa ",
                           "order by izdel.nom,marka, vid_oper.vid, oper.naimen"}
            << QStringList{"marka", "vid", "naimen", "nom", "kolvo", "brk", "summa", "color", "mass"} << "";
        QTest::newRow("output export")
            << outputByProducts() << "XLS_Rep"
            << QStringList{"select sum(smena.kol_vo-smena.brak)::numeric as kolvo, vid_oper.vid,",
                           "izdel.nom, oper.naimen, color,izdel.massa*sum(smena.kol_vo-smena.brak) as mass ",
                           "from accounts_dep.smena,accounts_dep.izdel,accounts_dep.vid_oper, accounts_dep.oper where izdel.id=smena.i_id and vid_oper.id=oper.vid",
                           "and oper.id=smena.o_id and smena.data<:data2 and smena.data>=:data1 ",
                           "group by izdel.nom,color, oper.naimen, vid_oper.vid, izdel.massa order by izdel.nom"}
            << QStringList{"kolvo", "vid", "nom", "naimen", "color", "mass"} << "";
    }
    void textsAreTheProgramsStatements()
    {
        QFETCH(store::Read, read);
        QFETCH(QString, name);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, fields);
        QFETCH(QString, writtenBackTo);
        QCOMPARE(read.name, name);
        QCOMPARE(read.sql, lines);
        QCOMPARE(read.text(), lines.join(u'\n'));
        QCOMPARE(fieldNames(read), fields);
        QCOMPARE(read.table, writtenBackTo);
    }

    // Each read runs on the schema and finds every field it declares (a missing one fails the open).
    void everyReadOpensWithItsFields()
    {
        setWorkstationLocale();
        TestDatabase db;
        db.connectProgram();
        for (const store::Read& read : catalog()) {
            Dataset ds(read);
            ds.setConnectionName(TDataModule6::kConnection);
            ds.setParam("data", QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
            ds.setParam("ok", QString("ta"));
            ds.setParam("mnth", 3);
            ds.setParam("yea", 2024);
            ds.setParam("data1", QDate(2024, 3, 1));
            ds.setParam("data2", QDate(2024, 4, 1));
            try {
                ds.open();
            } catch (const std::exception& e) {
                QFAIL(qPrintable(read.name + ": " + QString::fromUtf8(e.what())));
            }
            for (const FieldDef& f : read.fields) QVERIFY2(ds.fieldIndex(f.name) >= 0, qPrintable(read.name + "." + f.name));
            ds.close();
        }
    }
};

QTEST_MAIN(ReadsTest)
#include "tst_reads.moc"
