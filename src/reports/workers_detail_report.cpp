#include "reports/workers_detail_report.h"

#include "reports/report_layout.h"

using namespace report_layout;

namespace {

const QStringList kSql{
    QStringLiteral("select s_caption fio, izdel.marka, vid_oper.vid, oper.naimen, "),
    QStringLiteral("sum(smena.kol_vo)::numeric as kolvo, sum(smena.brak) as brk, sum((kol_vo-brak)*"),
    QStringLiteral("smena.cena) as summa, color, sum(prize*(kol_vo-brak)*cena/100) as s_prize "),
    QStringLiteral("from cmn_contractor.person person,accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper where "),
    QStringLiteral("smena.o_id=oper.id and smena.w_id=s_code::integer and smena.i_id=izdel.id "),
    QStringLiteral("and smena.o_id=oper.id and w_id=s_code::integer and oper.vid=vid_oper.id "),
    QStringLiteral("and smena.data<:data2 and smena.data>=:data1 group by fio, marka, "),
    QStringLiteral("vid_oper.vid, oper.naimen, color order by fio, marka, vid_oper.vid, oper.naimen"),
};

const QList<FieldDef> kFields{
    {QStringLiteral("fio"), FieldType::Text, true},       {QStringLiteral("marka"), FieldType::Text, true},
    {QStringLiteral("vid"), FieldType::Text, true},       {QStringLiteral("naimen"), FieldType::SmallInt, true},
    {QStringLiteral("kolvo"), FieldType::Decimal, true},  {QStringLiteral("brk"), FieldType::LargeInt, true},
    {QStringLiteral("summa"), FieldType::Double, true},   {QStringLiteral("color"), FieldType::Integer, true},
    {QStringLiteral("s_prize"), FieldType::Double, true},
};

re::ReportDefinition reportLayout()
{
    re::ReportDefinition d = frame(QStringLiteral("Детальный отчет по рабочим"), 7.7, 10,
                                   {{124.1, QStringLiteral("Брак")}, {133.3, QStringLiteral("Количество")},
                                    {157.4, QStringLiteral("Сумма")}},
                                   9, 5.8, 106.1,
                                   {grandTotal(132.0, 11.4, QStringLiteral("sum(brk)")),
                                    grandTotal(145.0, 19.3, QStringLiteral("sum(kolvo)")),
                                    grandTotal(165.9, 23.5, QStringLiteral("sum(summa)"), QStringLiteral("#0.00"))});
    d.groups.push_back(group(QStringLiteral("fio"), QStringLiteral("fio"), 5.3, true, true, 6.3,
                             {total(128.3, 9.0, QStringLiteral("sum(brk)")),
                              total(145.5, 19.3, QStringLiteral("sum(kolvo)")),
                              total(169.9, 19.6, QStringLiteral("sum(summa)"), QStringLiteral("#0.00"))}));

    d.detail.height = 4.2;
    d.detail.elements = {
        field(0.3, 41.0, QStringLiteral("marka"), 8),
        field(42.9, 29.1, QStringLiteral("vid"), 8, Qt::AlignHCenter),
        field(73.6, 16.1, QStringLiteral("color"), 8, Qt::AlignHCenter),
        field(91.3, 29.9, kProductKind, 8),
        field(128.1, 9.0, QStringLiteral("brk"), 8, Qt::AlignHCenter),
        field(146.3, 17.5, QStringLiteral("kolvo"), 8, Qt::AlignHCenter),
        field(169.9, 19.6, QStringLiteral("summa"), 8, Qt::AlignHCenter, QStringLiteral("#0.00")),
    };
    return d;
}

}  // namespace

TForm20::TForm20(TDataModule6& data, QWidget* parent)
    : SummaryReport(data, QStringLiteral("Form20"), QStringLiteral("w_Report"), kSql, kFields, reportLayout(), parent)
{
}
