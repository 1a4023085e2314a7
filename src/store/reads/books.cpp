#include "store/reads/books.h"

#include "store/books_store.h"

namespace store::reads {

namespace {

Read lookupTable(const QString& name, const QString& table)
{
    return {name, {bookssql::wholeTable(table)}, {}, {}, {}};
}

}  // namespace

Read workers()
{
    return {QStringLiteral("Workers"),
            {QStringLiteral("select * from accounts_dep.person order by fio")},
            {{"id", FieldType::Integer}, {"fio", FieldType::Text}, {"s_staffpos_hl", FieldType::Text}},
            {},
            {}};
}

Read products()
{
    return {QStringLiteral("Izdel"),
            {QStringLiteral("select marka, id, nom, round(massa::numeric, 5) massa  from accounts_dep.IZDEL order by marka")},
            {{"MARKA", FieldType::Text}, {"nom", FieldType::Text}, {"massa", FieldType::Double}, {"id", FieldType::Decimal, false, 0}},
            QStringLiteral("accounts_dep.izdel"),
            {QStringLiteral("id")}};
}

Read operationKinds()
{
    return {QStringLiteral("Vid_oper"),
            {QStringLiteral("select * from accounts_dep.VID_OPER order by vid")},
            {{"VID", FieldType::Text}, {"ID", FieldType::Integer, true}},
            QStringLiteral("accounts_dep.vid_oper"),
            {QStringLiteral("id")}};
}

Read operations()
{
    return {QStringLiteral("Oper"),
            {
                QStringLiteral("select izdel.MARKA, vid_oper.VID, oper.NAIMEN, ") + kProductKindColumn + u',',
                QStringLiteral("count(o_id) norma, min(price)::numeric cena,"),
                QStringLiteral("oper.id, oper.i_id, oper.VID as oper_vid from accounts_dep.norm,accounts_dep.OPER,accounts_dep.IZDEL,"
                               "accounts_dep.VID_OPER where OPER.i_id=IZDEL.id and norm.o_id=oper.id"),
                QStringLiteral("and oper.vid=vid_oper.id group by izdel.MARKA, vid_oper.VID, oper.NAIMEN, oper.id, oper.i_id, oper.VID "
                               "order by izdel.marka, vid_oper.vid, oper.naimen"),
            },
            {{"id", FieldType::Integer, true}, {"MARKA", FieldType::Text}, {"VID", FieldType::Text},
             {"NAIMEN", FieldType::SmallInt}, {"nmn", FieldType::Text}, {"norma", FieldType::LargeInt, true},
             {"cena", FieldType::Decimal, true, 4}, {"i_id", FieldType::Integer}, {"oper_vid", FieldType::Integer}},
            {},
            {}};
}

Read norms()
{
    return {QStringLiteral("norm"),
            {bookssql::wholeTable(kNormTable)},
            {{"id", FieldType::AutoInc, true},
             {"o_id", FieldType::Integer},
             {"norma", FieldType::Integer},
             {"prize", FieldType::Integer},
             {"price", FieldType::Double, false, 0, QStringLiteral("#0.00#")}},
            kNormTable,
            {QStringLiteral("id")}};
}

Read priceList()
{
    return {QStringLiteral("XLS_Rep"),
            bookssql::priceList(),
            {{"MARKA", FieldType::Text, true},
             {"VID", FieldType::Text, true},
             {"NAIMEN", FieldType::SmallInt, true},
             {"nmn", FieldType::Text, true},
             {"CENA", FieldType::Decimal, true},
             {"id", FieldType::Integer, true},
             {"i_id", FieldType::Integer, true},
             {"oper_vid", FieldType::Integer, true}},
            {},
            {}};
}

Read roles()
{
    return lookupTable(QStringLiteral("roles"), QStringLiteral("adm_role.roles"));
}

Read staffPositions()
{
    return lookupTable(QStringLiteral("staffpos"), QStringLiteral("hrms_staffpos.staffpos"));
}

Read departments()
{
    return lookupTable(QStringLiteral("department"), QStringLiteral("cmn_department.department"));
}

}  // namespace store::reads
