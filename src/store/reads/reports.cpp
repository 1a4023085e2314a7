#include "store/reads/reports.h"

#include "store/price_factors.h"
#include "store/sql_text.h"

namespace store::reads {

namespace {

// The factor an entry's shift adds to its price, as a number of the statement.
QString shiftFactor()
{
    using namespace store::pricefactor;
    return QStringLiteral("(case smena.smena when 3 then %1 when 4 then %2 else 1 end)")
        .arg(sqltext::number(kShift3), sqltext::number(kOvertime));
}

// An entry priced for a day off: its price is its operation's lowest norm price, as it is now, times the
// factors the entry editor applies, within the editor's rounding to four decimals. A price typed otherwise,
// or a norm changed since, matches nothing, and no day off is guessed. In decimals, which do not overflow
// where a norm price near the largest number would; a norm price of no number or an endless one matches
// nothing.
QString dayOff()
{
    return QStringLiteral("(case when norm.lowest>0 and norm.lowest<'Infinity' "
                          "then abs(smena.cena::numeric-norm.lowest::numeric*%1*%2)<=0.0000500001 else false end)")
        .arg(sqltext::number(store::pricefactor::kDayOff), shiftFactor());
}

// The earnings of the entries summed, as a double: a sum beyond any double is refused by the database,
// as it always was, rather than printed as an endless number.
QString earningsSum()
{
    return QStringLiteral("sum(") + kEntryEarnings + QStringLiteral("::float8)");
}

}  // namespace

Read workersReport()
{
    return {QStringLiteral("t_Report"),
            {
                QStringLiteral("select person.s_caption fio, sum(smena.kol_vo-smena.brak)::numeric as kolvo, "),
                earningsSum() + QStringLiteral(" as summa,vid_oper.vid,"),
                QStringLiteral("izdel.nom, oper.naimen, color from cmn_contractor.person person,accounts_dep.smena,accounts_dep.izdel,accounts_dep.vid_oper,"),
                QStringLiteral("accounts_dep.oper where w_id=s_code::integer and izdel.id=smena.i_id and vid_oper.id=oper.vid"),
                QStringLiteral("and oper.id=smena.o_id and smena.data<:data2 and smena.data>=:data1 "),
                QStringLiteral("group by fio, izdel.nom, oper.naimen, vid_oper.vid, color order by fio, izdel.nom"),
            },
            {
                {QStringLiteral("fio"), FieldType::Text, true},      {QStringLiteral("kolvo"), FieldType::Decimal, true},
                {QStringLiteral("summa"), FieldType::Double, true},  {QStringLiteral("vid"), FieldType::Text, true},
                {QStringLiteral("nom"), FieldType::Text, true},      {QStringLiteral("naimen"), FieldType::SmallInt, true},
                {QStringLiteral("color"), FieldType::Integer, true},
            },
            {},
            {}};
}

Read productsReport()
{
    return {QStringLiteral("t_Report"),
            {
                QStringLiteral("select sum(smena.kol_vo-smena.brak)::numeric as kolvo, vid_oper.vid,"),
                QStringLiteral("izdel.nom, oper.naimen, color,  round((izdel.massa*sum(smena.kol_vo-smena.brak))::numeric,2) as mass"),
                QStringLiteral("from accounts_dep.smena,accounts_dep.izdel,accounts_dep.vid_oper, accounts_dep.oper where izdel.id=smena.i_id and vid_oper.id=oper.vid"),
                QStringLiteral("and oper.id=smena.o_id and smena.data<:data2 and smena.data>=:data1 "),
                QStringLiteral("group by izdel.nom,color, oper.naimen, vid_oper.vid, izdel.massa order by izdel.nom"),
            },
            {
                {QStringLiteral("kolvo"), FieldType::Decimal, true}, {QStringLiteral("vid"), FieldType::Text, true},
                {QStringLiteral("nom"), FieldType::Text, true},      {QStringLiteral("naimen"), FieldType::SmallInt, true},
                {QStringLiteral("color"), FieldType::Integer, true}, {QStringLiteral("mass"), FieldType::Double, true},
            },
            {},
            {}};
}

Read workersDetailReport()
{
    return {QStringLiteral("w_Report"),
            {
                QStringLiteral("select s_caption fio, izdel.marka, vid_oper.vid, oper.naimen, "),
                QStringLiteral("sum(smena.kol_vo)::numeric as kolvo, sum(smena.brak) as brk, ") + earningsSum()
                    + QStringLiteral(" as summa, color, sum(prize*(kol_vo-brak)*cena/100) as s_prize "),
                QStringLiteral("from cmn_contractor.person person,accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper where "),
                QStringLiteral("smena.o_id=oper.id and smena.w_id=s_code::integer and smena.i_id=izdel.id "),
                QStringLiteral("and smena.o_id=oper.id and w_id=s_code::integer and oper.vid=vid_oper.id "),
                QStringLiteral("and smena.data<:data2 and smena.data>=:data1 group by fio, marka, "),
                QStringLiteral("vid_oper.vid, oper.naimen, color order by fio, marka, vid_oper.vid, oper.naimen"),
            },
            {
                {QStringLiteral("fio"), FieldType::Text, true},       {QStringLiteral("marka"), FieldType::Text, true},
                {QStringLiteral("vid"), FieldType::Text, true},       {QStringLiteral("naimen"), FieldType::SmallInt, true},
                {QStringLiteral("kolvo"), FieldType::Decimal, true},  {QStringLiteral("brk"), FieldType::LargeInt, true},
                {QStringLiteral("summa"), FieldType::Double, true},   {QStringLiteral("color"), FieldType::Integer, true},
                {QStringLiteral("s_prize"), FieldType::Double, true},
            },
            {},
            {}};
}

Read productsDetailReport()
{
    return {QStringLiteral("i_Report"),
            {
                QStringLiteral("select izdel.marka, vid_oper.vid vid, oper.naimen, izdel.nom,"),
                QStringLiteral("sum(smena.kol_vo)::numeric as kolvo, sum(smena.brak) as brk, "),
                earningsSum()
                    + QStringLiteral(" as summa, color, round((izdel.massa*sum(smena.kol_vo))::numeric,2) as mass "),
                QStringLiteral("from accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper where smena.o_id=oper.id and smena.i_id=izdel.id "),
                QStringLiteral("and smena.o_id=oper.id and oper.vid=vid_oper.id and smena.data<:data2 and "),
                QStringLiteral("smena.data>=:data1 group by izdel.nom, marka, vid_oper.vid, oper.naimen, color,massa "),
                QStringLiteral("order by izdel.nom,marka, vid_oper.vid, oper.naimen"),
            },
            {
                {QStringLiteral("marka"), FieldType::Text, true},     {QStringLiteral("vid"), FieldType::Text, true},
                {QStringLiteral("naimen"), FieldType::SmallInt, true}, {QStringLiteral("nom"), FieldType::Text, true},
                {QStringLiteral("kolvo"), FieldType::Decimal, true},  {QStringLiteral("brk"), FieldType::LargeInt, true},
                {QStringLiteral("summa"), FieldType::Double, true},   {QStringLiteral("color"), FieldType::Integer, true},
                {QStringLiteral("mass"), FieldType::Double, true},
            },
            {},
            {}};
}

Read outputByProducts()
{
    return {QStringLiteral("XLS_Rep"),
            {
                QStringLiteral("select sum(smena.kol_vo-smena.brak)::numeric as kolvo, vid_oper.vid,"),
                QStringLiteral("izdel.nom, oper.naimen, color,izdel.massa*sum(smena.kol_vo-smena.brak) as mass "),
                QStringLiteral("from accounts_dep.smena,accounts_dep.izdel,accounts_dep.vid_oper, accounts_dep.oper where izdel.id=smena.i_id and vid_oper.id=oper.vid"),
                QStringLiteral("and oper.id=smena.o_id and smena.data<:data2 and smena.data>=:data1 "),
                QStringLiteral("group by izdel.nom,color, oper.naimen, vid_oper.vid, izdel.massa order by izdel.nom"),
            },
            {{QStringLiteral("kolvo"), FieldType::Decimal, true},
             {QStringLiteral("vid"), FieldType::Text, true},
             {QStringLiteral("nom"), FieldType::Text, true},
             {QStringLiteral("naimen"), FieldType::SmallInt, true},
             {QStringLiteral("color"), FieldType::Integer, true},
             {QStringLiteral("mass"), FieldType::Double, true}},
            {},
            {}};
}

Read payStatementLines()
{
    // From the workers, so that a worker asked for by code has a statement even without entries; the
    // entries join as the report by workers joins them (code to w_id, the product, the operation and its
    // kind), so that both count the same entries.
    return {QStringLiteral("PayLines"),
            {
                QStringLiteral("select person.s_code::integer as code, person.s_caption as fio, smena.data, smena.smena,"),
                QStringLiteral("izdel.marka, izdel.nom, vid_oper.vid, smena.color, smena.kol_vo, smena.brak,"),
                QStringLiteral("smena.kol_vo-smena.brak as good, smena.cena, smena.time as hours, smena.ok,"),
                QStringLiteral("case when %1 then 1 else 0 end as day_off,").arg(dayOff()),
                QStringLiteral("nullif(case when %1 then %2 else 1 end*%3, 1)::float8 as factor,")
                    .arg(dayOff(), sqltext::number(store::pricefactor::kDayOff), shiftFactor()),
                kEntryEarnings + QStringLiteral("::float8 as summa,"),
                QStringLiteral("case when coalesce(smena.prize,0)<>0 then round(") + kEntryEarnings
                    + QStringLiteral("*smena.prize::numeric/100, 2)::float8 end as bonus,"),
                // A statement of a whole closed month tells so, with the totals kept at the close, so that
                // a difference from the journal's shows.
                QStringLiteral("case when cm.year is null then '' else 'Месяц закрыт ' || to_char(cm.closed_at, 'DD.MM.YYYY') || "
                               "'. При закрытии: часов ' || coalesce(ct.hours, 0) || ', годных ' || coalesce(ct.good_pieces, 0) || "
                               "', начислено ' || replace(to_char(coalesce(ct.earnings, 0), 'FM999999999999990.00'), '.', ',') "
                               "end as closed_note,"),
                QStringLiteral("case when smena.id is not null and row_number() over (partition by smena.w_id, smena.data "
                               "order by smena.smena, smena.id)=1 then 1 else 0 end as new_day"),
                QStringLiteral("from cmn_contractor.person person left join (accounts_dep.smena"),
                QStringLiteral("join accounts_dep.izdel on izdel.id=smena.i_id join accounts_dep.oper on oper.id=smena.o_id"),
                QStringLiteral("join accounts_dep.vid_oper on vid_oper.id=oper.vid"),
                QStringLiteral("left join (select o_id, min(price) as lowest from accounts_dep.norm group by o_id) norm on norm.o_id=smena.o_id)"),
                QStringLiteral("on smena.w_id=person.s_code::integer and smena.data>=:data1 and smena.data<:data2"),
                QStringLiteral("and (cast(:accepted as integer)=0 or smena.ok='ok')"),
                QStringLiteral("left join piecework.closed_month cm on extract(day from cast(:data1 as date))=1 "
                               "and cast(:data2 as date)=cast(:data1 as date)+interval '1 month' "
                               "and cm.year=extract(year from cast(:data1 as date)) and cm.month=extract(month from cast(:data1 as date))"),
                QStringLiteral("left join piecework.closed_total ct on ct.year=cm.year and ct.month=cm.month and ct.w_id=person.s_code::integer"),
                QStringLiteral("where (cast(:worker as integer)=0 and smena.id is not null) or person.s_code::integer=cast(:worker as integer)"),
                QStringLiteral("order by fio, code, smena.data, smena.smena, smena.id"),
            },
            {
                {QStringLiteral("code"), FieldType::Integer, true},   {QStringLiteral("fio"), FieldType::Text, true},
                {QStringLiteral("data"), FieldType::Date, true},      {QStringLiteral("smena"), FieldType::Integer, true},
                {QStringLiteral("marka"), FieldType::Text, true},     {QStringLiteral("nom"), FieldType::Text, true},
                {QStringLiteral("vid"), FieldType::Text, true},       {QStringLiteral("color"), FieldType::Integer, true},
                {QStringLiteral("kol_vo"), FieldType::Integer, true}, {QStringLiteral("brak"), FieldType::Integer, true},
                {QStringLiteral("good"), FieldType::Integer, true},   {QStringLiteral("cena"), FieldType::Double, true},
                {QStringLiteral("hours"), FieldType::Integer, true},  {QStringLiteral("ok"), FieldType::Text, true},
                {QStringLiteral("day_off"), FieldType::Integer, true}, {QStringLiteral("factor"), FieldType::Double, true},
                {QStringLiteral("summa"), FieldType::Double, true},   {QStringLiteral("bonus"), FieldType::Double, true},
                {QStringLiteral("closed_note"), FieldType::Text, true}, {QStringLiteral("new_day"), FieldType::Integer, true},
            },
            {},
            {}};
}

}  // namespace store::reads
