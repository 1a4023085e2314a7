// The version gate: the stored stamp against this build's, and the end of an older build.
#include "core/application.h"
#include "support/message_recorder.h"
#include "journal/program_end.h"
#include "program_fixture.h"
#include "journal/version_gate.h"
#include "support/books_fixture.h"

#include <QElapsedTimer>
#include <QTimer>

namespace {

const char* kFixture = R"(
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, time, ok, vvod)
values (1, 10, 20, 10, 0, current_date, 1, 2.5, 8, 'no', current_date);
insert into accounts_dep.h_tabel (w_id, smena, month, year)
values (1, 1, extract(month from current_date), extract(year from current_date));
)";

const QString kGateMessage = "Версия программы не соответсвует БД! Запустите программу через 5 мин.";

int stampDateAfterDays(int stampDate, int days)
{
    const QDate d = QDate(stampDate / 10000, stampDate / 100 % 100, stampDate % 100).addDays(days);
    return d.year() * 10000 + d.month() * 100 + d.day();
}

}  // namespace

class VersionGateTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    int endRequests = 0;

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(booksFixture() + kFixture);
    }
    void cleanupTestCase() { delete db; }
    void init()
    {
        endRequests = 0;
        programend::setAction([this] { ++endRequests; });
        QVERIFY(startOn(*db));
    }
    void cleanup()
    {
        takeDownWindows();
        programend::setAction({});
        // The next start checks again; a stamp left newer than this build would end it at once.
        db->exec("delete from accounts_dep.ver");
    }

    void firstCheckCreatesTheRowAndShowsTheStamp()
    {
        takeDownWindows();
        db->exec("delete from accounts_dep.ver");
        MessageRecorder rec;
        QVERIFY(startOn(*db));
        const BuildStamp build = compiledBuildStamp();
        QCOMPARE(db->rows("select d, t from accounts_dep.ver"), QStringList{QString("%1|%2").arg(build.date).arg(build.time)});
        QCOMPARE(Form23->windowTitle(), QString("Авторизация (build: %1.%2)").arg(build.date).arg(build.time));
        QVERIFY(rec.seen.isEmpty());
        QCOMPARE(endRequests, 0);
    }

    void storedStampAgainstThisBuild_data()
    {
        QTest::addColumn<int>("days");      // stored date relative to the build date
        QTest::addColumn<int>("seconds");   // stored time relative to the build time
        QTest::addColumn<bool>("raised");   // the stored stamp becomes this build's
        QTest::addColumn<bool>("ends");
        QTest::newRow("same date, earlier time") << 0 << -60 << true << false;
        QTest::newRow("earlier date, later time") << -1 << 3600 << true << false;
        QTest::newRow("equal") << 0 << 0 << false << false;
        QTest::newRow("same date, later time") << 0 << 60 << false << true;
        QTest::newRow("next day, earlier time") << 1 << -3600 << false << true;
    }
    void storedStampAgainstThisBuild()
    {
        QFETCH(int, days);
        QFETCH(int, seconds);
        QFETCH(bool, raised);
        QFETCH(bool, ends);
        const BuildStamp build = compiledBuildStamp();
        const QString stored = QString("%1|%2").arg(stampDateAfterDays(build.date, days)).arg(build.time + seconds);
        db->exec(QString("delete from accounts_dep.ver; insert into accounts_dep.ver (d, t, delim) values (%1, '-');")
                     .arg(QString(stored).replace('|', ", ")));
        MessageRecorder rec;
        checkVersion();
        const QString thisBuild = QString("%1|%2").arg(build.date).arg(build.time);
        QCOMPARE(db->rows("select d, t from accounts_dep.ver"), QStringList{raised ? thisBuild : stored});
        QCOMPARE(rec.texts(), ends ? QStringList{kGateMessage} : QStringList());
        if (ends) {
            QCOMPARE(rec.seen[0].caption, QString("Ошибка"));
            QCOMPARE(rec.seen[0].icon, msg::Icon::Stop);
        }
        QCOMPARE(endRequests, ends ? 1 : 0);
        QCOMPARE(Form23->Timer1->isActive(), ends);
        Form23->Timer1->stop();
    }

    // A newer build starts elsewhere while this one waits on a question in the journal: the next check
    // tells the user, and the program ends 5 seconds later although nobody answers either box; the
    // entry the question was about stays.
    void olderBuildEndsWithinFiveSecondsUnderModalWindows()
    {
        programend::setAction({});  // the real end: every event loop is left
        QElapsedTimer clock;
        qint64 gateShown = -1;
        QStringList asked;
        msg::setHandler([&](const msg::Request& r) {
            asked << r.text;
            if (r.text == kGateMessage) gateShown = clock.elapsed();
            QEventLoop unanswered;
            unanswered.exec();
            // Whatever the box would answer when the program ends under it, nothing may be saved.
            return (r.buttons & msg::Yes) ? int(msg::Yes) : int(msg::Ok);
        });
        whenModal([this](QWidget*) {
            db->exec("update accounts_dep.ver set d = d + 1");
            Form1->Timer1->start(100);
            QTest::mouseClick(Form1->Button3, Qt::LeftButton);
        });
        QTimer::singleShot(0, [] {
            Form23->Edit1->setText("8629");
            QTest::keyClick(Form23->Edit1, Qt::Key_Return);
        });
        bool late = false;
        QTimer limit;
        limit.setSingleShot(true);
        connect(&limit, &QTimer::timeout, [&late] {
            late = true;
            QCoreApplication::exit(1);
        });
        limit.start(20000);
        clock.start();
        QCoreApplication::exec();
        const qint64 ended = clock.elapsed();
        msg::setHandler({});

        QVERIFY(!late);
        QCOMPARE(asked, QStringList({"Удалить позицию из списка?", kGateMessage}));
        // The box stays until the gate's 5-second timer closes it (a timer may fire a little early or late).
        QVERIFY2(ended - gateShown >= 4700 && ended - gateShown <= 6000, qPrintable(QString::number(ended - gateShown)));
        QVERIFY(programend::requested());
        QVERIFY(!Form23->isVisible());
        QCOMPARE(db->value("select count(*) from accounts_dep.smena"), QString("1"));
        QCOMPARE(db->value("select count(*) from accounts_dep.h_tabel"), QString("1"));
    }
};

QTEST_MAIN(VersionGateTest)
#include "tst_version_gate.moc"
