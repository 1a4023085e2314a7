#include "reports/products_detail_report.h"

#include "reports/report_layout.h"

using namespace report_layout;

namespace {

const QStringList kSql{
    QStringLiteral("select izdel.marka, vid_oper.vid vid, oper.naimen, izdel.nom,"),
    QStringLiteral("sum(smena.kol_vo)::numeric as kolvo, sum(smena.brak) as brk, "),
    QStringLiteral("sum((kol_vo-brak)*smena.cena) as summa, color, round((izdel.massa*sum(smena.kol_vo))::numeric,2) as mass "),
    QStringLiteral("from accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper where smena.o_id=oper.id and smena.i_id=izdel.id "),
    QStringLiteral("and smena.o_id=oper.id and oper.vid=vid_oper.id and smena.data<:data2 and "),
    QStringLiteral("smena.data>=:data1 group by izdel.nom, marka, vid_oper.vid, oper.naimen, color,massa "),
    QStringLiteral("order by izdel.nom,marka, vid_oper.vid, oper.naimen"),
};

const QList<FieldDef> kFields{
    {QStringLiteral("marka"), FieldType::Text, true},     {QStringLiteral("vid"), FieldType::Text, true},
    {QStringLiteral("naimen"), FieldType::SmallInt, true}, {QStringLiteral("nom"), FieldType::Text, true},
    {QStringLiteral("kolvo"), FieldType::Decimal, true},  {QStringLiteral("brk"), FieldType::LargeInt, true},
    {QStringLiteral("summa"), FieldType::Double, true},   {QStringLiteral("color"), FieldType::Integer, true},
    {QStringLiteral("mass"), FieldType::Double, true},
};

re::ReportDefinition reportLayout()
{
    re::ReportDefinition d = frame(QStringLiteral("Детальный отчет по продукции"), 7.7, 9,
                                   {{124.4, QStringLiteral("Брак")}, {134.9, QStringLiteral("Коробки")},
                                    {153.5, QStringLiteral("Кол-во")}, {173.8, QStringLiteral("Сумма")}},
                                   10, 6.6, 99.7,
                                   {grandTotal(124.4, 8.5, QStringLiteral("sum(brk)")),
                                    grandTotal(132.8, 18.8, QStringLiteral("sum(mass)")),
                                    grandTotal(152.1, 16.7, QStringLiteral("sum(kolvo)")),
                                    grandTotal(169.9, 19.1, QStringLiteral("sum(summa)"), QStringLiteral("#0.00"))});
    d.groups.push_back(group(QStringLiteral("nom"), QStringLiteral("nom"), 5.3, true, true, 5.3,
                             {total(124.4, 8.7, QStringLiteral("sum(brk)")),
                              total(132.8, 18.8, QStringLiteral("sum(mass)"), QStringLiteral("#0.00")),
                              total(152.1, 16.7, QStringLiteral("sum(kolvo)")),
                              total(169.9, 20.1, QStringLiteral("sum(summa)"), QStringLiteral("#0.00"))}));

    d.detail.height = 4.2;
    d.detail.elements = {
        field(1.1, 52.1, QStringLiteral("marka"), 9),
        field(52.9, 27.8, QStringLiteral("vid"), 9),
        field(81.2, 16.7, QStringLiteral("color"), 9, Qt::AlignHCenter),
        field(99.5, 27.0, kProductKind, 9),
        field(125.4, 6.6, QStringLiteral("brk"), 9, Qt::AlignHCenter),
        field(133.6, 18.8, QStringLiteral("mass"), 9, Qt::AlignHCenter),
        field(152.1, 16.7, QStringLiteral("kolvo"), 9, Qt::AlignHCenter),
        field(169.9, 19.1, QStringLiteral("summa"), 9, Qt::AlignHCenter, QStringLiteral("#0.000")),
    };
    return d;
}

}  // namespace

TForm21::TForm21(TDataModule6& data, QWidget* parent)
    : SummaryReport(data, QStringLiteral("Form21"), QStringLiteral("i_Report"), kSql, kFields, reportLayout(), parent)
{
}
