// The build stamp read from the compiler's date and time texts, and which of two builds is the newer.
#include "journal/build_stamp.h"
#include "journal/version_gate.h"

#include <QFileInfo>
#include <QtTest>

class BuildStampTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("stampDate");
        QTest::addColumn<int>("stampTime");
        const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        for (int m = 1; m <= 12; ++m)
            QTest::addRow("%s", months[m - 1]) << QString("%1 17 2023").arg(months[m - 1]) << "12:00:00"
                                                << 20230017 + m * 100 << 43200;
        QTest::newRow("day with a leading space") << "Mar  5 2024" << "08:30:00" << 20240305 << 30600;
        QTest::newRow("last second of a day") << "Dec 31 2024" << "23:59:59" << 20241231 << 86399;
        QTest::newRow("nine seconds past midnight") << "Feb 29 2024" << "00:00:09" << 20240229 << 9;
        QTest::newRow("no date from the compiler") << "??? ?? ????" << "10:00:01" << 19000101 << 36001;
    }
    void parse()
    {
        QFETCH(QString, date);
        QFETCH(QString, time);
        QFETCH(int, stampDate);
        QFETCH(int, stampTime);
        const BuildStamp s = parseBuildStamp(date, time);
        QCOMPARE(s.date, stampDate);
        QCOMPARE(s.time, stampTime);
    }

    void builtBefore_data()
    {
        QTest::addColumn<int>("dateA");
        QTest::addColumn<int>("timeA");
        QTest::addColumn<int>("dateB");
        QTest::addColumn<int>("timeB");
        QTest::addColumn<bool>("before");
        QTest::newRow("same date, earlier time") << 20240305 << 100 << 20240305 << 200 << true;
        QTest::newRow("same date, later time") << 20240305 << 200 << 20240305 << 100 << false;
        QTest::newRow("equal") << 20240305 << 100 << 20240305 << 100 << false;
        QTest::newRow("earlier date decides over a later time") << 20240305 << 86000 << 20240306 << 5 << true;
        QTest::newRow("later date decides over an earlier time") << 20240306 << 5 << 20240305 << 86000 << false;
    }
    void builtBefore()
    {
        QFETCH(int, dateA);
        QFETCH(int, timeA);
        QFETCH(int, dateB);
        QFETCH(int, timeB);
        QFETCH(bool, before);
        QCOMPARE(::builtBefore({dateA, timeA}, {dateB, timeB}), before);
    }

    // The module is compiled anew with every build, so its stamp is the time this binary was made.
    void runningBuildIsStampedWhenItWasBuilt()
    {
        const BuildStamp s = compiledBuildStamp();
        const QDateTime stamped(QDate(s.date / 10000, s.date / 100 % 100, s.date % 100), QTime(0, 0).addSecs(s.time));
        const QDateTime linked = QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
        QVERIFY2(stamped <= linked.addSecs(2) && stamped >= linked.addSecs(-600),
                 qPrintable(stamped.toString(Qt::ISODate) + " vs " + linked.toString(Qt::ISODate)));
    }
};

QTEST_GUILESS_MAIN(BuildStampTest)
#include "tst_build_stamp.moc"
