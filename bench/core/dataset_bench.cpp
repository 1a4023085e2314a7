// Opening a large snapshot against a bare ODBC fetch loop of the same statement, and one keystroke of a
// prefix filter over it. Prints figures; asserts nothing.
//   dataset_bench [rows] [runs]
#include "core/application.h"
#include "core/data_module.h"
#include "support/test_database.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <sql.h>
#include <sqlext.h>
#include <vector>

namespace {

const char* kStatement =
    "select id, w_id, kol_vo, brak, cena, data, fio, marka, vid, summa from bench_rows order by id";

// The floor: SQLFetch and SQLGetData of every column, nothing kept.
double bareOdbc(const QString& odbcString, int* rowsOut)
{
    SQLHENV env;
    SQLHDBC dbc;
    SQLHSTMT st;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    const QByteArray cs = odbcString.toUtf8();
    if (!SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, (SQLCHAR*)cs.constData(), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT))) {
        std::fprintf(stderr, "bare ODBC connect failed\n");
        return -1;
    }
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st);
    QElapsedTimer t;
    t.start();
    SQLExecDirect(st, (SQLCHAR*)kStatement, SQL_NTS);
    SQLSMALLINT cols = 0;
    SQLNumResultCols(st, &cols);
    int rows = 0;
    SQLWCHAR text[512];
    double d;
    SQLLEN ind;
    while (SQL_SUCCEEDED(SQLFetch(st))) {
        for (SQLUSMALLINT c = 1; c <= cols; ++c) {
            if (c == 6 || c >= 7)
                SQLGetData(st, c, SQL_C_WCHAR, text, sizeof text, &ind);
            else
                SQLGetData(st, c, SQL_C_DOUBLE, &d, sizeof d, &ind);
        }
        ++rows;
    }
    const double secs = t.nsecsElapsed() / 1e9;
    SQLFreeHandle(SQL_HANDLE_STMT, st);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    *rowsOut = rows;
    return secs;
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
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    TestDatabase db(QString(R"(
create table bench_rows as
select g as id, g % 97 as w_id, (g % 50)::integer as kol_vo, (g % 3)::integer as brak, (g % 1000) / 7.0::float8 as cena,
       date '2024-01-01' + (g % 300) as data, 'Фамилия ' || (g % 997) || ' И.О.' as fio, 'ПЛ-' || (g % 400) as marka,
       'Сварка шва ' || (g % 13) as vid, round((g % 1000) / 3.0, 2) as summa
from generate_series(1, %1) g;
analyze bench_rows;)").arg(rows));
    db.connectProgram();

    Dataset ds("Bench");
    ds.setConnectionName(TDataModule6::kConnection);
    ds.setSql({kStatement});

    std::vector<double> bare, layer, keystroke;
    int fetched = 0;
    for (int r = 0; r < runs; ++r) {
        bare.push_back(bareOdbc(db.odbcString(), &fetched));
        QElapsedTimer t;
        t.start();
        ds.open();
        layer.push_back(t.nsecsElapsed() / 1e9);
        // One keystroke: the filter text grows by a letter and the visible rows are rebuilt.
        for (const char* prefix : {"ф", "фа", "фам"}) {
            QElapsedTimer k;
            k.start();
            ds.setFilter(RecordFilter::prefix("fio", QString::fromUtf8(prefix)));
            ds.setFiltered(true);
            keystroke.push_back(k.nsecsElapsed() / 1e6);
        }
        ds.setFiltered(false);
        ds.close();
    }
    std::printf("rows %d x 10 columns, %d runs (medians)\n", fetched, runs);
    std::printf("bare ODBC SQLFetch+SQLGetData: %.3f s\n", median(bare));
    std::printf("Dataset::open (snapshot):      %.3f s\n", median(layer));
    std::printf("ratio open / bare:             %.2f\n", median(layer) / median(bare));
    std::printf("prefix filter keystroke:       %.1f ms (max %.1f ms)\n", median(keystroke),
                *std::max_element(keystroke.begin(), keystroke.end()));
    return 0;
}
