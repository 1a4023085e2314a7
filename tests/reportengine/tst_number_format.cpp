#include "reportengine/memory_row_source.h"
#include "reportengine/number_format.h"
#include "reportengine/report.h"
#include "reportengine/value.h"

#include <QTest>

using namespace re;

class NumberFormatTest : public QObject {
    Q_OBJECT

private slots:
    void mask_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");

        QTest::newRow("whole") << 12.0 << "#0" << "," << "12";
        QTest::newRow("whole rounds half away from zero") << 2.5 << "#0" << "," << "3";
        QTest::newRow("negative rounds away from zero") << -2.5 << "#0" << "," << "-3";
        QTest::newRow("below half rounds down") << 2.4999 << "#0" << "," << "2";
        QTest::newRow("zero keeps one digit") << 0.0 << "#0" << "," << "0";
        QTest::newRow("two decimals padded") << 0.5 << "#0.00" << "," << "0,50";
        QTest::newRow("three decimals padded") << 12.0 << "#0.000" << "," << "12,000";
        QTest::newRow("two decimals rounded") << 1234.5678 << "#0.00" << "," << "1234,57";
        QTest::newRow("rounding carries into the whole part") << 999.995 << "#0.00" << "," << "1000,00";
        QTest::newRow("money held below the half still rounds up") << 2.345 << "#0.00" << "," << "2,35";
        QTest::newRow("binary noise of a sum") << 0.1 + 0.2 << "#0.00" << "," << "0,30";
        QTest::newRow("price of four decimals") << 1.2345 << "#0.00##" << "," << "1,2345";
        QTest::newRow("kopecks of a sum") << 135.6 << "#0.00" << "," << "135,60";
        QTest::newRow("negative kopecks") << -0.07 << "#0.00" << "," << "-0,07";
        QTest::newRow("tiny negative prints no minus") << -0.004 << "#0.00" << "," << "0,00";
        QTest::newRow("large number keeps its digits") << 123456789.125 << "#0.000" << "," << "123456789,125";
        QTest::newRow("halfway at the 16th digit goes away from zero") << 1234567890123.125 << "#0.00" << "," << "1234567890123,13";
        QTest::newRow("decimal point when asked") << 3.14159 << "#0.000" << "." << "3.142";
        QTest::newRow("optional decimals dropped") << 1.5 << "0.0#" << "," << "1,5";
        QTest::newRow("optional decimals kept") << 1.555 << "0.0#" << "," << "1,56";
        QTest::newRow("thousands grouped") << 1234567.891 << "#,##0.00" << "," << QString("1\u00A0234\u00A0567,89");
        QTest::newRow("literal suffix") << 5.0 << "#0.0' кг'" << "," << "5,0 кг";
    }

    void mask()
    {
        QFETCH(double, value);
        QFETCH(QString, mask);
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        QCOMPARE(NumberFormat::parse(mask).format(value, separator.at(0), QChar(0x00A0)), expected);
    }

    // Fields without a mask print like this.
    void defaultForm_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole") << 12.0 << "12";
        QTest::newRow("decimal with comma") << 12.5 << "12,5";
        QTest::newRow("noise of a sum hidden") << 0.1 + 0.2 << "0,3";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("fifteen digits") << 1.0 / 3 << "0,333333333333333";
        QTest::newRow("negative whole") << -2147483648.0 << "-2147483648";
        QTest::newRow("whole of fifteen digits") << 999999999999999.0 << "999999999999999";
        QTest::newRow("whole of sixteen digits") << 1e15 << "1e+15";
    }

    void defaultForm()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(Value::numberText(value, u','), expected);
    }

    // What a masked field prints for each kind of value a row may hold.
    void maskedField_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");
        QTest::newRow("double") << QVariant(10.125) << "," << "10,13";
        QTest::newRow("64-bit integer") << QVariant(qlonglong(7)) << "," << "7,00";
        QTest::newRow("numeric held as text") << QVariant(QString("12.5")) << "," << "12,50";
        QTest::newRow("point when the report asks") << QVariant(3.14159) << "." << "3.14";
        QTest::newRow("plain text unchanged") << QVariant(QString("нет")) << "," << "нет";
        QTest::newRow("null prints nothing") << QVariant() << "," << "";
    }

    void maskedField()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        ReportDefinition d;
        d.numbers.decimalSeparator = separator.at(0);
        d.detail.height = 5;
        d.detail.elements = {expr(0, 30, "summa").withMask("#0.00")};
        const MemoryRowSource rows("q", {"summa"}, {{value}});
        Report report(d, rows);
        report.prepare();
        const auto& texts = report.document().pages.at(0).texts;
        QCOMPARE(texts.empty() ? QString() : texts.front().text, expected);
    }

    void badMask_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::newRow("no placeholder") << "abc";
        QTest::newRow("placeholders split by text") << "#0 x 00";
        QTest::newRow("open quote") << "#0' kg";
    }

    void badMask()
    {
        QFETCH(QString, mask);
        QVERIFY_THROWS_EXCEPTION(NumberFormat::MaskError, NumberFormat::parse(mask));
    }
};

QTEST_MAIN(NumberFormatTest)
#include "tst_number_format.moc"
