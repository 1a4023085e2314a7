// Pure text rules of the core: connection strings, placeholders, record filters, number masks.
#include "core/application.h"
#include "store/connection.h"
#include "store/db_error.h"
#include "core/field_value.h"
#include "core/number_format.h"
#include "core/record_filter.h"
#include "store/sql_text.h"

#include <QtTest>
#include <cfloat>

class TextTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setWorkstationLocale(); }

    void connectionString_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("server");
        QTest::newRow("no arguments") << QStringList{} << "plantdb" << "localhost";
        QTest::newRow("only the database: ignored") << QStringList{"otherdb"} << "plantdb" << "localhost";
        QTest::newRow("both") << QStringList{"shopdb", "10.0.0.5"} << "shopdb" << "10.0.0.5";
        QTest::newRow("spaces kept as typed") << QStringList{" shop db ", " host "} << " shop db " << " host ";
        QTest::newRow("empty server counts as absent") << QStringList{"shopdb", ""} << "plantdb" << "localhost";
    }
    void connectionString()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, database);
        QFETCH(QString, server);
        const QString s = connectionStringForArguments(args);
        QCOMPARE(s, "DRIVER={PostgreSQL UNICODE};DATABASE=" + database + ";SERVER=" + server
                        + ";PORT=5432;UID=sys;PWD=vomtrak;SSLmode=allow;ReadOnly=0;Protocol=7.4;FakeOidIndex=0;"
                          "ShowOidColumn=0;RowVersioning=0;ShowSystemTables=0;Fetch=100;UnknownSizes=0;MaxVarcharSize=255;"
                          "MaxLongVarcharSize=8190;Debug=0;CommLog=0;UseDeclareFetch=0;TextAsLongVarchar=1;"
                          "UnknownsAsLongVarchar=0;BoolsAsChar=1;Parse=0;ExtraSysTablePrefixes=;LFConversion=1;"
                          "UpdatableCursors=1;TrueIsMinus1=0;BI=0;ByteaAsLongVarBinary=1;UseServerSidePrepare=1;"
                          "LowerCaseIdentifier=0;D6=-101;OptionalErrors=0;XaOpt=1");
        QVERIFY(!s.endsWith(';'));
    }

    // Decimals rounded to their declared digits as they are written, half away from zero.
    void roundDecimal_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("scale");
        QTest::addColumn<double>("rounded");
        QTest::newRow("half up on the written digit") << 2.04165 << 4 << 2.0417;
        QTest::newRow("below half") << 2.04164 << 4 << 2.0416;
        QTest::newRow("fewer digits stay") << 3.5 << 4 << 3.5;
        QTest::newRow("carry through nines") << 9.99995 << 4 << 10.0;
        QTest::newRow("negative away from zero") << -1.00005 << 4 << -1.0001;
        QTest::newRow("small, written with an exponent") << 0.000051 << 4 << 0.0001;
        QTest::newRow("whole") << 12.5 << 0 << 13.0;
        QTest::newRow("large, written with an exponent") << 1e306 << 4 << 1e306;
        QTest::newRow("largest double") << DBL_MAX << 2 << DBL_MAX;
    }
    void roundDecimal()
    {
        QFETCH(double, value);
        QFETCH(int, scale);
        QFETCH(double, rounded);
        QCOMPARE(fieldvalue::roundDecimal(value, scale), rounded);
        QCOMPARE(numfmt::roundHalfAway(value, scale), rounded);
    }

    // Typed numbers that no field can hold are conversion errors, not values.
    void typedNumbers_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::newRow("beyond a whole number") << int(FieldType::Integer) << "1e30";
        QTest::newRow("beyond a large whole number") << int(FieldType::LargeInt) << "-1e19";
        QTest::newRow("not a number") << int(FieldType::Double) << "nan";
        QTest::newRow("infinity") << int(FieldType::Decimal) << "-inf";
    }
    void typedNumbers()
    {
        QFETCH(int, type);
        QFETCH(QString, text);
        const FieldDef def{"f", FieldType(type)};
        try {
            fieldvalue::fromText(def, text);
            QFAIL("accepted");
        } catch (const DbError& e) {
            QCOMPARE(e.kind(), DbError::Kind::Conversion);
        }
    }

    void placeholders_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("positional");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("two") << "select 1 where data=:data and ok!=:ok" << "select 1 where data=? and ok!=?" << QStringList{"data", "ok"};
        QTest::newRow("cast is not a parameter") << "select kol_vo::numeric, s_code::t_integer from t where id=:id"
                                                 << "select kol_vo::numeric, s_code::t_integer from t where id=?" << QStringList{"id"};
        QTest::newRow("inside quotes") << "select ':no', \":nor\" from t where a=:a" << "select ':no', \":nor\" from t where a=?" << QStringList{"a"};
        QTest::newRow("time text") << "select to_date('01.02.2024 10:11:12', 'DD.MM.YYYY HH24:MI:SS')"
                                   << "select to_date('01.02.2024 10:11:12', 'DD.MM.YYYY HH24:MI:SS')" << QStringList{};
    }
    void placeholders()
    {
        QFETCH(QString, sql);
        QFETCH(QString, positional);
        QFETCH(QStringList, names);
        QStringList got;
        QCOMPARE(sqltext::toPositional(sql, &got), positional);
        QCOMPARE(got, names);
    }

    void quoting()
    {
        QCOMPARE(sqltext::quote("О'Брайен"), QString("'О''Брайен'"));
        // A backslash reads as itself only in an escape literal, whatever the server's settings.
        QCOMPARE(sqltext::quote("\\'); --"), QString("E'\\\\''); --'"));
        QCOMPARE(sqltext::date(QDate(2024, 3, 5)), QString("to_date('05.03.2024', 'DD.MM.YYYY')"));
        QCOMPARE(sqltext::number(10.1235), QString("10.1235"));
        QCOMPARE(sqltext::number(12.0), QString("12"));
    }

    void filter_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("matches");
        QTest::newRow("cyrillic prefix, lower case") << "fio like 'ив%'" << "Иванов И.И." << true;
        QTest::newRow("latin prefix, upper case") << "marka like 'KR%'" << "kr-12" << true;
        QTest::newRow("not a prefix") << "fio like 'ва%'" << "Иванов" << false;
        QTest::newRow("quote in text") << "fio like 'О''Б%'" << "О'Брайен" << true;
        QTest::newRow("underscore wildcard") << "marka like 'К_-1%'" << "КР-12" << true;
        QTest::newRow("inner percent") << "marka like 'К%2'" << "КР-12" << true;
        QTest::newRow("percent facing a percent of the value") << "marka like '%р%'" << "%кр" << true;
        QTest::newRow("number equal") << "naimen=0" << "0" << true;
        QTest::newRow("number differs") << "naimen=1" << "0" << false;
    }
    void filter()
    {
        QFETCH(QString, expression);
        QFETCH(QString, value);
        QFETCH(bool, matches);
        const auto pred = RecordFilter::parse(expression).compile([](const QString&) { return 0; });
        QVariant v = value;
        if (expression.startsWith("naimen")) v = value.toInt();
        QCOMPARE(pred({v}), matches);
    }

    void prefixTakesTextAsData()
    {
        const auto pred = RecordFilter::prefix("marka", "5%_'").compile([](const QString&) { return 0; });
        QVERIFY(pred({QString("5%_'x")}));
        QVERIFY(!pred({QString("5a_'x")}));
        QVERIFY(!pred({QString("55_'x")}));
    }

    // An empty text may arrive null inside its value; it is still an empty text.
    void emptyTextHeldNull()
    {
        const auto column = [](const QString&) { return 0; };
        const RecordFilter::Row row{QVariant(QString())};
        QVERIFY(RecordFilter::parse("fio like '%'").compile(column)(row));
        QVERIFY(RecordFilter::prefix("fio", "").compile(column)(row));
        QVERIFY(!RecordFilter::prefix("fio", "a").compile(column)(row));
        QVERIFY(RecordFilter::like(u"КР-12%_", u"КР-12%"));
    }

    void badFilter()
    {
        QVERIFY_THROWS_EXCEPTION(std::exception, RecordFilter::parse("fio like 'abc"));
        QVERIFY_THROWS_EXCEPTION(std::exception, RecordFilter::parse("fio ~ 1"));
    }

    void masks_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("#0.00# two") << "#0.00#" << 12.5 << "12,50";
        QTest::newRow("#0.00# three") << "#0.00#" << 0.125 << "0,125";
        QTest::newRow("#0.00# rounds fourth") << "#0.00#" << 1.23456 << "1,235";
        QTest::newRow("#0.00 half away") << "#0.00" << 2.345 << "2,35";
        QTest::newRow("#0") << "#0" << 7.5 << "8";
        QTest::newRow("negative") << "#0.000" << -1.5 << "-1,500";
        QTest::newRow("0.0000") << "0.0000" << 10.123456 << "10,1235";
        QTest::newRow("not a number") << "#0.00#" << qQNaN() << "nan";
        QTest::newRow("infinity") << "#0.00" << -qInf() << "-inf";
    }
    void masks()
    {
        QFETCH(QString, mask);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(numfmt::formatFloat(mask, value), text);
    }

    void generalForm()
    {
        QCOMPARE(numfmt::general(10.5), QString("10,5"));
        QCOMPARE(numfmt::general(123456789.0), QString("123456789"));
        QCOMPARE(numfmt::general(0.1 + 0.2), QString("0,3"));
    }
};

QTEST_MAIN(TextTest)
#include "tst_text.moc"
