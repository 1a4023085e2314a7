#include "core/data_module.h"

#include "store/connection.h"
#include "core/messages.h"

#include <QSqlDatabase>

TDataModule6* DataModule6 = nullptr;

namespace {

const QString kNmn = QStringLiteral("(SELECT (CASE naimen WHEN 0 THEN 'Готовая продукция' ELSE 'Заготовки' END)) as nmn");

QList<FieldDef> journalFields()
{
    return {
        {"id", FieldType::Integer, true},
        {"data", FieldType::DateTime},
        {"smena", FieldType::SmallInt},
        {"i_id", FieldType::Integer},
        {"o_id", FieldType::Integer},
        {"w_id", FieldType::Integer},
        {"cena", FieldType::Double},
        {"fio", FieldType::Text},
        {"marka", FieldType::Text},
        {"vid", FieldType::Text},
        {"naimen", FieldType::SmallInt},
        {"nmn", FieldType::Text},
        {"brak", FieldType::SmallInt},
        {"kol_vo", FieldType::Decimal, true},
        {"summa", FieldType::Double},
        {"prize", FieldType::Double, true},
        {"color", FieldType::Integer},
        {"time", FieldType::Integer},
        {"ok", FieldType::Text},
        {"vvod", FieldType::DateTime},
        {"id_doc", FieldType::Decimal, true},
        {"id_doc_item", FieldType::Decimal, true},
        {"f_gds_qty_use", FieldType::Double, true},
        {"id_gds_use", FieldType::Decimal, true},
        {"id_cons_use", FieldType::Decimal, true},
    };
}

// Shifts 2, 3 and overtime share one statement but for the shift number and the caption column's name.
QStringList otherShiftSql(int shift, const QString& captionColumn)
{
    return {
        QStringLiteral("select smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, "),
        QStringLiteral("smena.cena, %1 fio, izdel.marka, vid_oper.vid, ").arg(captionColumn) + kNmn
            + QStringLiteral(", oper.naimen, smena.kol_vo::numeric, smena.brak, "),
        QStringLiteral("round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, smena.id, color,time,smena.ok,vvod, "
                       "smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, smena.id_gds_use, smena.id_cons_use  "),
        QStringLiteral("from cmn_contractor.person person,accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper "),
        QStringLiteral("where smena.i_id=izdel.id and smena.o_id=oper.id and w_id=s_code::t_integer and "),
        QStringLiteral("oper.vid=vid_oper.id and smena.smena=%1 and smena.data=:data and ok<>:ok order by fio").arg(shift),
    };
}

QStringList timeSheetSql(int shift)
{
    return {
        QStringLiteral("select person.s_caption fio, h_tabel.*,(d1::bigint+d2+d3+d4+d5+d6+d7+d8+d9+d10+d11"),
        QStringLiteral("+d12+d13+d14+d15+d16+d17+d18+d19+d20+d21+d22+d23+d24+d25"),
        QStringLiteral("+d26+d27+d28+d29+d30+d31) as summ from accounts_dep.h_tabel, cmn_contractor.person where "),
        QStringLiteral("h_tabel.w_id=person.s_code::integer and h_tabel.smena=%1 and month=:mnth and ").arg(shift),
        QStringLiteral("year=:yea order by fio"),
    };
}

QList<FieldDef> timeSheetFields()
{
    QList<FieldDef> f{{"fio", FieldType::Text, true},   {"w_id", FieldType::Integer, true},
                      {"month", FieldType::Integer, true}, {"year", FieldType::Integer, true},
                      {"smena", FieldType::Integer, true}, {"id", FieldType::Integer, true}};
    for (int d = 1; d <= 31; ++d) f.append({QStringLiteral("d%1").arg(d), FieldType::Integer, true});
    // A bigint: the month's total of cells another writer filled to the brim is beyond an integer.
    f.append({"summ", FieldType::LargeInt, true});
    return f;
}

}  // namespace

TDataModule6::TDataModule6(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("DataModule6"));

    Workers = makeDataset(QStringLiteral("Workers"));
    Workers->setSql({QStringLiteral("select * from accounts_dep.person order by fio")});
    Workers->setFields({{"id", FieldType::Integer}, {"fio", FieldType::Text}, {"s_staffpos_hl", FieldType::Text}});

    Izdel = makeDataset(QStringLiteral("Izdel"));
    Izdel->setSql({QStringLiteral("select marka, id, nom, round(massa::numeric, 5) massa  from accounts_dep.IZDEL order by marka")});
    Izdel->setFields({{"MARKA", FieldType::Text}, {"nom", FieldType::Text}, {"massa", FieldType::Double},
                      {"id", FieldType::Decimal, false, 0}});
    Izdel->setUpdateTable(QStringLiteral("accounts_dep.izdel"), {QStringLiteral("id")});

    Vid_oper = makeDataset(QStringLiteral("Vid_oper"));
    Vid_oper->setSql({QStringLiteral("select * from accounts_dep.VID_OPER order by vid")});
    Vid_oper->setFields({{"VID", FieldType::Text}, {"ID", FieldType::Integer, true}});
    Vid_oper->setUpdateTable(QStringLiteral("accounts_dep.vid_oper"), {QStringLiteral("id")});

    Oper = makeDataset(QStringLiteral("Oper"));
    Oper->setSql({
        QStringLiteral("select izdel.MARKA, vid_oper.VID, oper.NAIMEN, ") + kNmn + u',',
        QStringLiteral("count(o_id) norma, min(price)::numeric cena,"),
        QStringLiteral("oper.id, oper.i_id, oper.VID as oper_vid from accounts_dep.norm,accounts_dep.OPER,accounts_dep.IZDEL,"
                       "accounts_dep.VID_OPER where OPER.i_id=IZDEL.id and norm.o_id=oper.id"),
        QStringLiteral("and oper.vid=vid_oper.id group by izdel.MARKA, vid_oper.VID, oper.NAIMEN, oper.id, oper.i_id, oper.VID "
                       "order by izdel.marka, vid_oper.vid, oper.naimen"),
    });
    Oper->setFields({{"id", FieldType::Integer, true}, {"MARKA", FieldType::Text}, {"VID", FieldType::Text},
                     {"NAIMEN", FieldType::SmallInt}, {"nmn", FieldType::Text}, {"norma", FieldType::LargeInt, true},
                     {"cena", FieldType::Decimal, true, 4}, {"i_id", FieldType::Integer}, {"oper_vid", FieldType::Integer}});

    Smena1 = makeDataset(QStringLiteral("Smena1"));
    Smena1->setSql({
        QStringLiteral("select smena.id, smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, "),
        QStringLiteral("smena.cena,person.s_caption fio, izdel.marka, vid_oper.vid, ") + kNmn
            + QStringLiteral(", oper.naimen,  smena.brak, smena.kol_vo::numeric,"),
        QStringLiteral("round((kol_vo-brak)*smena.cena::numeric, 2) as summa, smena.prize, color,time, smena.ok, vvod, "
                       "smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, smena.id_gds_use, smena.id_cons_use"),
        QStringLiteral("from cmn_contractor.person person, accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper "),
        QStringLiteral("where smena.i_id=izdel.id and smena.o_id=oper.id and w_id=person.id and "),
        QStringLiteral("oper.vid=vid_oper.id and smena.smena=1 and smena.data=:data and ok!=:ok order by "),
        QStringLiteral("fio, izdel.marka, vid_oper.vid, oper.naimen, color"),
    });
    Smena2 = makeDataset(QStringLiteral("Smena2"));
    Smena2->setSql(otherShiftSql(2, QStringLiteral("s_caption")));
    Smena3 = makeDataset(QStringLiteral("Smena3"));
    Smena3->setSql(otherShiftSql(3, QStringLiteral("s_caption")));
    Smena4 = makeDataset(QStringLiteral("Smena4"));
    Smena4->setSql(otherShiftSql(4, QStringLiteral("person.s_caption")));
    for (Dataset* ds : journalDatasets()) ds->setFields(journalFields());

    H_Tabel_1 = makeDataset(QStringLiteral("H_Tabel_1"));
    H_Tabel_2 = makeDataset(QStringLiteral("H_Tabel_2"));
    H_Tabel_3 = makeDataset(QStringLiteral("H_Tabel_3"));
    int shift = 1;
    for (Dataset* ds : {H_Tabel_1, H_Tabel_2, H_Tabel_3}) {
        ds->setSql(timeSheetSql(shift++));
        ds->setFields(timeSheetFields());
    }

    Control = makeDataset(QStringLiteral("Control"));

    DelSmena = makeCommand(QStringLiteral("DelSmena"));
    H_Tabel_ins = makeCommand(QStringLiteral("H_Tabel_ins"));
    Oper_ins = makeCommand(QStringLiteral("Oper_ins"));
    Oper_ed = makeCommand(QStringLiteral("Oper_ed"));
    Oper_del = makeCommand(QStringLiteral("Oper_del"));
    Oper_del->setText(QStringLiteral("delete from accounts_dep.oper where id=:id"));
}

Dataset* TDataModule6::makeDataset(const QString& name)
{
    auto* ds = new Dataset(name, this);
    ds->setConnectionName(kConnection);
    return ds;
}

Command* TDataModule6::makeCommand(const QString& name)
{
    auto* c = new Command(name, this);
    c->setConnectionName(kConnection);
    return c;
}

void TDataModule6::openDatabase(const QString& odbcString)
{
    openConnection(kConnection, odbcString);
}

void TDataModule6::closeDatabase()
{
    if (QSqlDatabase::contains(kConnection)) QSqlDatabase::database(kConnection, false).close();
}

bool TDataModule6::connected() const
{
    return QSqlDatabase::contains(kConnection) && QSqlDatabase::database(kConnection, false).isOpen();
}

Dataset* TDataModule6::shiftDataset(int shift) const
{
    switch (shift) {
    case 2: return Smena2;
    case 3: return Smena3;
    case 4: return Smena4;
    default: return Smena1;
    }
}

bool TDataModule6::CheckDuplicate(const QString& countStatement, const QString& message)
{
    Control->close();
    Control->clearSql();
    Control->addSql(countStatement);
    Control->open();
    const int count = Control->isEmpty() ? 0 : Control->fieldByName(QStringLiteral("cnt")).asInteger();
    Control->close();
    if (count > 0) {
        msg::error(message);
        return true;
    }
    return false;
}
