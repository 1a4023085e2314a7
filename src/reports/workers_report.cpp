#include "reports/workers_report.h"

#include "reports/report_layout.h"

using namespace report_layout;

namespace {

const QStringList kSql{
    QStringLiteral("select person.s_caption fio, sum(smena.kol_vo-smena.brak)::numeric as kolvo, "),
    QStringLiteral("sum((kol_vo-brak)*smena.cena) as summa,vid_oper.vid,"),
    QStringLiteral("izdel.nom, oper.naimen, color from cmn_contractor.person person,accounts_dep.smena,accounts_dep.izdel,accounts_dep.vid_oper,"),
    QStringLiteral("accounts_dep.oper where w_id=s_code::integer and izdel.id=smena.i_id and vid_oper.id=oper.vid"),
    QStringLiteral("and oper.id=smena.o_id and smena.data<:data2 and smena.data>=:data1 "),
    QStringLiteral("group by fio, izdel.nom, oper.naimen, vid_oper.vid, color order by fio, izdel.nom"),
};

const QList<FieldDef> kFields{
    {QStringLiteral("fio"), FieldType::Text, true},      {QStringLiteral("kolvo"), FieldType::Decimal, true},
    {QStringLiteral("summa"), FieldType::Double, true},  {QStringLiteral("vid"), FieldType::Text, true},
    {QStringLiteral("nom"), FieldType::Text, true},      {QStringLiteral("naimen"), FieldType::SmallInt, true},
    {QStringLiteral("color"), FieldType::Integer, true},
};

re::ReportDefinition reportLayout()
{
    re::ReportDefinition d = frame(QStringLiteral("Отчет по рабочим"), 4.2, 10, {}, 10, 5.8, 137.8,
                                   {grandTotal(160.9, 28.0, QStringLiteral("sum(summa)"), QStringLiteral("#0.00"))});
    re::Group worker = group(QStringLiteral("t_Report.fio"), QStringLiteral("fio"), 6.6, true, false, 6.1,
                             {total(163.0, 23.8, QStringLiteral("sum(summa)"), QStringLiteral("#0.00"))});
    worker.footer.frame = re::Frame::below();
    re::Group product = group(QStringLiteral("t_Report.nom"), QStringLiteral("nom"), 5.3, false, true, 5.3,
                              {total(137.8, 19.3, QStringLiteral("sum(kolvo)")),
                               total(163.0, 23.8, QStringLiteral("sum(summa)"), QStringLiteral("#0.000"))});
    d.groups.push_back(std::move(worker));
    d.groups.push_back(std::move(product));

    d.detail.height = 4.2;
    d.detail.elements = {
        field(13.2, 42.1, kProductKind, 9),
        field(56.9, 43.1, QStringLiteral("vid"), 9, Qt::AlignHCenter),
        field(101.6, 34.7, kColourNote, 9),
        field(137.8, 19.3, QStringLiteral("kolvo"), 9, Qt::AlignHCenter),
        field(163.0, 23.5, QStringLiteral("summa"), 9, Qt::AlignHCenter, QStringLiteral("#0.000")),
    };
    return d;
}

}  // namespace

TForm16::TForm16(TDataModule6& data, QWidget* parent)
    : SummaryReport(data, QStringLiteral("Form16"), QStringLiteral("t_Report"), kSql, kFields, reportLayout(), parent)
{
}
