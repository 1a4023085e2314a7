// Record filters: any text through RecordFilter::parse, bound to a dataset's columns and run over rows;
// typed search texts through prefix(). Input: line 1 is the filter; lines 2 and 3 are texts for the
// matching checks.
#include "store/db_error.h"
#include "core/record_filter.h"
#include "fuzz_support.h"

namespace {

const QStringList columns{"fio", "marka", "naimen", "kol_vo"};

int column(const QString& field)
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).compare(field, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

bool matches(const RecordFilter& f, const QString& value)
{
    return f.compile([](const QString&) { return 0; })({value});
}

bool hasWildcard(const QString& s)
{
    return s.contains(u'%') || s.contains(u'_');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::startOnce();
    const QString input = fuzz::text(data, size);
    const QStringList l = fuzz::lines(input, 3);

    const QVector<RecordFilter::Row> rows{
        {QString("Иванов И.И."), QString("КР-12"), 0, 1.5},
        {QString("О'Брайен"), QString("5%_'x"), QString("0"), QString("2,5")},
        {QVariant(), QString(), -1, QVariant()},
        {l.at(1), l.at(2), l.at(1), l.at(2)},
    };
    for (const QString& expression : {input, l.at(0)}) {
        try {
            const RecordFilter::Predicate p = RecordFilter::parse(expression).compile(column);
            for (const RecordFilter::Row& row : rows) p(row);
        } catch (const DbError&) {
            // a filter it cannot read, or a field the dataset does not have
        }
    }

    // The LIKE matcher: every text matches itself as a pattern (its % and _ match themselves too), and a
    // pattern followed by % matches the pattern followed by anything.
    const QString& a = l.at(1);
    const QString& b = l.at(2);
    FUZZ_CHECK(RecordFilter::like(a, a), a);
    FUZZ_CHECK(RecordFilter::like(a, QStringLiteral("%")), a);
    FUZZ_CHECK(RecordFilter::like(a + b, a + u'%'), a + u'|' + b);

    // A typed search text is data: it matches what starts with it, agrees with LIKE when it holds no
    // wildcard, and the filter's own text reads back as the same filter.
    const RecordFilter typed = RecordFilter::prefix(QStringLiteral("fio"), a);
    FUZZ_CHECK(matches(typed, a + b), a + u'|' + b);
    try {
        const RecordFilter reread = RecordFilter::parse(typed.text());
        for (const QString& v : {a + b, b, b + a, a.left(a.size() / 2)}) {
            if (!hasWildcard(a)) {
                FUZZ_CHECK(matches(typed, v) == RecordFilter::like(v, a + u'%'), a + u'|' + v);
                FUZZ_CHECK(matches(reread, v) == matches(typed, v), typed.text() + u'|' + v);
            }
        }
    } catch (const DbError&) {
        FUZZ_CHECK(false, QStringLiteral("prefix filter text does not read back: ") + typed.text());
    }
    return 0;
}
