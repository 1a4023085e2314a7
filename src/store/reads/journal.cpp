#include "store/reads/journal.h"

#include "store/books_store.h"

namespace store::reads {

namespace {

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

QStringList firstShiftSql()
{
    return {
        QStringLiteral("select smena.id, smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, "),
        QStringLiteral("smena.cena,person.s_caption fio, izdel.marka, vid_oper.vid, ") + kProductKindColumn
            + QStringLiteral(", oper.naimen,  smena.brak, smena.kol_vo::numeric,"),
        kEntryEarnings + QStringLiteral(" as summa, smena.prize, color,time, smena.ok, vvod, "
                                        "smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, smena.id_gds_use, smena.id_cons_use"),
        QStringLiteral("from cmn_contractor.person person, accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper "),
        QStringLiteral("where smena.i_id=izdel.id and smena.o_id=oper.id and w_id=person.id and "),
        QStringLiteral("oper.vid=vid_oper.id and smena.smena=1 and smena.data=:data and ok!=:ok order by "),
        QStringLiteral("fio, izdel.marka, vid_oper.vid, oper.naimen, color"),
    };
}

// Shifts 2, 3 and overtime share one statement but for the shift number and the caption column's name.
QStringList otherShiftSql(int shift, const QString& captionColumn)
{
    return {
        QStringLiteral("select smena.data, smena.smena, smena.i_id, smena.o_id, smena.w_id, "),
        QStringLiteral("smena.cena, %1 fio, izdel.marka, vid_oper.vid, ").arg(captionColumn) + kProductKindColumn
            + QStringLiteral(", oper.naimen, smena.kol_vo::numeric, smena.brak, "),
        kEntryEarnings + QStringLiteral(" as summa, smena.prize, smena.id, color,time,smena.ok,vvod, "
                                        "smena.id_doc, smena.id_doc_item, smena.f_gds_qty_use, smena.id_gds_use, smena.id_cons_use  "),
        QStringLiteral("from cmn_contractor.person person,accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper "),
        QStringLiteral("where smena.i_id=izdel.id and smena.o_id=oper.id and w_id=s_code::t_integer and "),
        QStringLiteral("oper.vid=vid_oper.id and smena.smena=%1 and smena.data=:data and ok<>:ok order by fio").arg(shift),
    };
}

}  // namespace

Read journalShift(int shift)
{
    QStringList sql;
    switch (shift) {
    case 1: sql = firstShiftSql(); break;
    case 4: sql = otherShiftSql(4, QStringLiteral("person.s_caption")); break;
    default: sql = otherShiftSql(shift, QStringLiteral("s_caption")); break;
    }
    return {QStringLiteral("Smena%1").arg(shift), sql, journalFields(), {}, {}};
}

Read journalEntry()
{
    // The first shift's statement for one entry, whatever its date, shift or mark.
    QStringList sql = firstShiftSql();
    sql[sql.size() - 2] = QStringLiteral("oper.vid=vid_oper.id and smena.id=:id");
    sql.removeLast();
    return {QStringLiteral("Entry"), sql, journalFields(), {}, {}};
}

Read versionStamp()
{
    return {QStringLiteral("ver"),
            {bookssql::wholeTable(kVersionTable)},
            {{QStringLiteral("d"), FieldType::Integer}, {QStringLiteral("t"), FieldType::Integer}, {QStringLiteral("delim"), FieldType::Text}},
            kVersionTable,
            {}};
}

}  // namespace store::reads
