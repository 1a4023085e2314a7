#include "store/reads/time_sheet.h"

namespace store::reads {

Read timeSheet(int shift)
{
    QList<FieldDef> fields{{"fio", FieldType::Text, true},     {"w_id", FieldType::Integer, true},
                           {"month", FieldType::Integer, true}, {"year", FieldType::Integer, true},
                           {"smena", FieldType::Integer, true}, {"id", FieldType::Integer, true}};
    for (int d = 1; d <= 31; ++d) fields.append({QStringLiteral("d%1").arg(d), FieldType::Integer, true});
    // A bigint: the month's total of cells another writer filled to the brim is beyond an integer, and an
    // integer sum would fail the whole window.
    fields.append({"summ", FieldType::LargeInt, true});
    return {QStringLiteral("H_Tabel_%1").arg(shift),
            {
                QStringLiteral("select person.s_caption fio, h_tabel.*,(d1::bigint+d2+d3+d4+d5+d6+d7+d8+d9+d10+d11"),
                QStringLiteral("+d12+d13+d14+d15+d16+d17+d18+d19+d20+d21+d22+d23+d24+d25"),
                QStringLiteral("+d26+d27+d28+d29+d30+d31) as summ from accounts_dep.h_tabel, cmn_contractor.person where "),
                QStringLiteral("h_tabel.w_id=person.s_code::integer and h_tabel.smena=%1 and month=:mnth and ").arg(shift),
                QStringLiteral("year=:yea order by fio"),
            },
            fields,
            {},
            {}};
}

Read monthSummary()
{
    QList<FieldDef> fields{{QStringLiteral("fio"), FieldType::Text, true}};
    for (int d = 1; d <= 31; ++d) fields.append({QStringLiteral("sd%1").arg(d), FieldType::LargeInt, true});
    return {QStringLiteral("H_Tabel"),
            {
                QStringLiteral("select person.s_caption fio,sum(d1) as sd1,sum(d2) as sd2,sum(d3) as sd3,sum(d4) as sd4,"),
                QStringLiteral("sum(d5) as sd5,sum(d6) as sd6,sum(d7) as sd7,sum(d8) as sd8,sum(d9) as sd9,"),
                QStringLiteral("sum(d10) as sd10,sum(d11) as sd11,sum(d12) as sd12,sum(d13) as sd13,"),
                QStringLiteral("sum(d14) as sd14,sum(d15) as sd15,sum(d16) as sd16,sum(d17) as sd17,"),
                QStringLiteral("sum(d18) as sd18,sum(d19) as sd19,sum(d20) as sd20,sum(d21) as sd21,"),
                QStringLiteral("sum(d22) as sd22,sum(d23) as sd23,sum(d24) as sd24,sum(d25) as sd25,"),
                QStringLiteral("sum(d26) as sd26,sum(d27) as sd27,sum(d28) as sd28,sum(d29) as sd29,"),
                QStringLiteral("sum(d30) as sd30,sum(d31) as sd31 from accounts_dep.h_tabel, cmn_contractor.person person where"),
                QStringLiteral("h_tabel.w_id=person.s_code::t_integer and month=:mnth and"),
                QStringLiteral("year=:yea group by fio order by fio"),
            },
            fields,
            {},
            {}};
}

}  // namespace store::reads
