// The month rebuild of the time sheet on a month of 100,000 journal entries (300 workers, 4 shifts,
// 36,000 worker-shift-days), measured in one run against
//   - the plain set-based pair (delete, then insert ... select ... group by) in one transaction through
//     psql, timed by psql itself, and
//   - the old statement-per-row rebuild (a count and an update or insert per worker, shift and day)
//     through the program's connection.
// Checks that the old way and the rebuild leave the same rows. Prints figures; asserts nothing.
//   timesheet_bench [runs]        (default 5; the statement-per-row rebuild runs once)
#include "core/application.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "store/store.h"
#include "store/time_sheet_rebuild.h"
#include "support/test_database.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kMonth = 4;
constexpr int kYear = 2024;

// Entry g goes to cell (g - 1) mod 36,000: every worker works every day of April in every shift, a few
// entries a day; one in 97 has no hours. March holds as many entries again, which the month leaves alone.
const char* kJournal = R"(
insert into accounts_dep.person (id, fio) select g, 'Работник ' || g from generate_series(1, 300) g;
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, time, ok)
select 1 + c % 300, 1, 1, 1, 0, date '2024-04-01' + c / 1200, 1 + (c / 300) % 4, 1,
       case when g % 97 = 0 then null else 1 + g % 8 end, 'no'
from (select g, (g - 1) % 36000 as c from generate_series(1, 100000) g) s;
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, time, ok)
select w_id, i_id, o_id, kol_vo, brak, data - 31, smena, cena, time, ok from accounts_dep.smena;
analyze;
)";

// The plain set-based pair: the day columns summed straight from the entries.
QString plainPair()
{
    QStringList columns, days;
    for (int d = 1; d <= 31; ++d) {
        columns << QStringLiteral("d%1").arg(d);
        days << QStringLiteral("sum(case when extract(day from data)=%1 then coalesce(time,0) else 0 end)").arg(d);
    }
    return QStringLiteral(
               "\\timing on\nbegin;\ndelete from accounts_dep.h_tabel where month=%1 and year=%2;\n"
               "insert into accounts_dep.h_tabel(smena, w_id, month, year, %3)\nselect smena, w_id, %1, %2, %4\n"
               "from accounts_dep.smena where data>='%2-%1-01' and data<('%2-%1-01'::date + interval '1 month') "
               "and smena is not null and w_id is not null\ngroup by w_id, smena;\ncommit;\n")
        .arg(kMonth)
        .arg(kYear)
        .arg(columns.join(u','), days.join(u','));
}

// The rebuild's own two statements with the month's values in place of the parameters.
QString rebuildPair()
{
    QString script = QStringLiteral("\\timing on\nbegin;\n") + store::timesheetsql::deleteMonth() + QStringLiteral(";\n")
                     + store::timesheetsql::insertMonth() + QStringLiteral(";\ncommit;\n");
    script.replace(QStringLiteral(":mnth"), QString::number(kMonth));
    script.replace(QStringLiteral(":yea"), QString::number(kYear));
    script.replace(QStringLiteral(":data1"), QStringLiteral("date '2024-04-01'"));
    script.replace(QStringLiteral(":data2"), QStringLiteral("date '2024-05-01'"));
    return script;
}

// Seconds psql reports for the statements of `script`, summed.
double psqlSeconds(const TestDatabase& db, const QString& script)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PGPASSWORD"), QStringLiteral("vomtrak"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("psql"), {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-h", "localhost", "-U", "sys", "-d", db.name()});
    p.write(script.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(600000);
    if (p.exitCode() != 0) {
        std::fprintf(stderr, "psql: %s\n", p.readAllStandardError().constData());
        return -1;
    }
    double ms = 0;
    static const QRegularExpression time(QStringLiteral("Time: ([\\d.]+) ms"));
    for (auto it = time.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); it.hasNext();)
        ms += it.next().captured(1).toDouble();
    return ms / 1000;
}

// The old rebuild, statement by statement on the program's connection, without a transaction: per day
// the day's hours per shift and worker, then per row a count and an update or an insert. Answers the
// number of statements it sent.
int statementPerRow()
{
    int statements = 0;
    TDataModule6& dm = *DataModule6;
    const store::Db program = store::programDb();
    const QString month = QString::number(kMonth);
    const QString year = QString::number(kYear);
    store::exec(program, "delete from accounts_dep.h_tabel where month=" + month + " and year=" + year);
    ++statements;
    Dataset dt(QStringLiteral("dt"));
    dt.setConnectionName(TDataModule6::kConnection);
    dt.setSql({QStringLiteral("select smena, w_id, sum(time) as tim from accounts_dep.smena where data=:data group by smena,w_id;")});
    dt.setFields({{"smena", FieldType::SmallInt}, {"w_id", FieldType::Integer}, {"tim", FieldType::LargeInt}});
    const int days = QDate(kYear, kMonth, 1).daysInMonth();
    for (int day = 1; day <= days; ++day) {
        const QString d = QString::number(day);
        dt.setParam(QStringLiteral("data"), QDate(kYear, kMonth, day));
        dt.open();
        ++statements;
        for (dt.first(); !dt.eof(); dt.next()) {
            const QString s = dt.fieldByName("smena").asString();
            const QString w = dt.fieldByName("w_id").asString();
            // No hours at all: written as 0, as the rebuild does.
            const QString t = dt.fieldByName("tim").isNull() ? QStringLiteral("0") : dt.fieldByName("tim").asString();
            dm.Control->close();
            dm.Control->clearSql();
            dm.Control->addSql("select count(w_id) as cnt from accounts_dep.h_tabel h_tabel where w_id=" + w + " and smena=" + s
                               + " and month=" + month + " and year=" + year);
            dm.Control->open();
            const int cnt = dm.Control->fieldByName("cnt").asInteger();
            dm.Control->close();
            if (cnt != 0)
                store::exec(program, "update accounts_dep.h_tabel set d" + d + "='" + t + "' where w_id=" + w + " and smena=" + s
                                         + " and month=" + month + " and year=" + year);
            else
                store::exec(program, "insert into accounts_dep.h_tabel(smena, w_id, month, year, d" + d + ") values(" + s + ", " + w
                                         + ", " + month + ", " + year + ", " + t + ")");
            statements += 2;
        }
        dt.close();
    }
    return statements;
}

// The month's rows without their keys, as one fingerprint.
QString monthFingerprint(const TestDatabase& db)
{
    return db.value(QStringLiteral("select count(*) || ' rows, ' || md5(string_agg(t::text, ';' order by smena, w_id)) from "
                                   "(select smena, w_id, month, year, d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, d11, d12, d13, d14, "
                                   "d15, d16, d17, d18, d19, d20, d21, d22, d23, d24, d25, d26, d27, d28, d29, d30, d31 "
                                   "from accounts_dep.h_tabel where month=%1 and year=%2) t")
                        .arg(kMonth)
                        .arg(kYear));
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setWorkstationLocale();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    TestDatabase db(kJournal);
    db.connectProgram();
    const store::Session program{store::programDb(), store::Actor::here(store::Role::Full)};
    std::printf("journal: %s entries in the month, %s worker-shift-days\n",
                qPrintable(db.value("select count(*) from accounts_dep.smena where data >= '2024-04-01' and data < '2024-05-01'")),
                qPrintable(db.value("select count(*) from (select distinct w_id, smena, data from accounts_dep.smena "
                                    "where data >= '2024-04-01' and data < '2024-05-01') c")));

    std::vector<double> pair, samePair, rebuild;
    for (int r = 0; r < runs; ++r) {
        pair.push_back(psqlSeconds(db, plainPair()));
        samePair.push_back(psqlSeconds(db, rebuildPair()));
        int days = 0;
        QElapsedTimer t;
        t.start();
        store::rebuildMonth(program, kMonth, kYear, [&days](int) { ++days; });
        rebuild.push_back(t.nsecsElapsed() / 1e9);
        if (days != 30) std::printf("progress told %d days\n", days);
    }
    const QString byRebuild = monthFingerprint(db);

    QElapsedTimer t;
    t.start();
    const int statements = statementPerRow();
    const double perRow = t.nsecsElapsed() / 1e9;
    const QString byRows = monthFingerprint(db);
    psqlSeconds(db, plainPair());
    const QString byPair = monthFingerprint(db);

    std::printf("%d runs (medians); the statement-per-row rebuild once\n", runs);
    std::printf("set-based pair through psql:        %.3f s\n", median(pair));
    std::printf("the rebuild's pair through psql:    %.3f s\n", median(samePair));
    std::printf("rebuildMonth through ODBC:          %.3f s\n", median(rebuild));
    std::printf("statement per row through ODBC:     %.3f s (%d statements)\n", perRow, statements);
    std::printf("ratio rebuild / psql pair:          %.2f  (at most 2)\n", median(rebuild) / median(pair));
    std::printf("ratio rebuild / its pair in psql:   %.2f\n", median(rebuild) / median(samePair));
    std::printf("ratio statement per row / rebuild:  %.1f  (at least 20)\n", perRow / median(rebuild));
    std::printf("rows: rebuild %s; per row %s; psql pair %s -> %s\n", qPrintable(byRebuild), qPrintable(byRows), qPrintable(byPair),
                byRebuild == byRows && byRows == byPair ? "the same" : "DIFFERENT");
    return 0;
}
