// Start-up, the sign-in word and its role, and the ways the program ends from the sign-in window.
#include "core/application.h"
#include "store/schema_version.h"
#include "core/data_grid.h"
#include "reports/reports_window.h"
#include "timesheet/time_sheet_window.h"
#include "support/message_recorder.h"
#include "program_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QTimer>

namespace {

// Every control of the role table, and a few that no role may lose.
const QStringList kControls{
    "Form1.Button1", "Form1.Button2", "Form1.Button3", "Form1.Button8", "Form1.Button4",
    "Form1.RadioButton1", "Form1.RadioButton2", "Form1.RadioButton3", "Form1.RadioButton4",
    "Form1.CBox1", "Form1.DBGrid2", "Form1.DateT", "Form1.N2", "Form1.N11", "Form1.N7", "Form1.N5",
    "Form18.Button1", "Form18.Button2", "Form18.Button3", "Form18.Button4", "Form18.Button6", "Form18.RadioGroup1",
};

QWidget* windowNamed(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name) return w;
    return nullptr;
}

QStringList disabledControls()
{
    QStringList off;
    for (const QString& name : kControls) {
        QWidget* window = windowNamed(name.section('.', 0, 0));
        QObject* o = window ? window->findChild<QObject*>(name.section('.', 1)) : nullptr;
        bool enabled = true;
        if (auto* w = qobject_cast<QWidget*>(o)) enabled = w->isEnabled();
        if (auto* a = qobject_cast<QAction*>(o)) enabled = a->isEnabled();
        if (!o) off << name + " (missing)";
        else if (!enabled) off << name;
    }
    return off;
}

// Runs the program's message loop until the program ends; false when it has not ended in time.
bool runUntilProgramEnds(int ms = 5000)
{
    bool late = false;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [&late] {
        late = true;
        QCoreApplication::exit(1);
    });
    limit.start(ms);
    QCoreApplication::exec();
    return !late;
}

const QStringList kBursar{"Form1.Button1", "Form1.Button2", "Form1.Button3", "Form1.Button8", "Form1.RadioButton1",
                          "Form1.RadioButton2", "Form1.RadioButton3", "Form1.RadioButton4", "Form1.CBox1",
                          "Form1.DBGrid2", "Form1.DateT", "Form1.N2", "Form1.N11"};
const QStringList kForeman{"Form1.Button2", "Form1.Button3", "Form1.N2", "Form1.N11", "Form18.Button1",
                           "Form18.Button2", "Form18.Button4", "Form18.Button6"};
const QStringList kDepot{"Form1.Button1", "Form1.Button2", "Form1.Button3", "Form1.N2", "Form1.N11", "Form18.Button1",
                         "Form18.Button2", "Form18.Button4", "Form18.Button6", "Form18.RadioGroup1"};

}  // namespace

class SignInTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase;
    }
    void cleanupTestCase() { delete db; }
    void init()
    {
        QVERIFY(startOn(*db));
        createOtherWindows();
    }
    void cleanup() { takeDownWindows(); }

    void wordSelectsRole_data()
    {
        QTest::addColumn<QStringList>("words");     // typed one after the other
        QTest::addColumn<bool>("journalShown");     // after the last word
        QTest::addColumn<QStringList>("disabled");
        QTest::addColumn<int>("refusals");
        QTest::newRow("bursar") << QStringList{"bursar"} << true << kBursar << 0;
        QTest::newRow("foreman") << QStringList{"foreman"} << true << kForeman << 0;
        QTest::newRow("depot") << QStringList{"depot"} << true << kDepot << 0;
        QTest::newRow("full access 61730428") << QStringList{"61730428"} << true << QStringList() << 0;
        QTest::newRow("full access 8629") << QStringList{"8629"} << true << QStringList() << 0;
        QTest::newRow("blanks around the word") << QStringList{"  depot "} << true << kDepot << 0;
        QTest::newRow("control characters around") << QStringList{"\tforeman\r\n"} << true << kForeman << 0;
        QTest::newRow("letter case counts") << QStringList{"Depot"} << false << QStringList() << 1;
        QTest::newRow("empty") << QStringList{""} << false << QStringList() << 1;
        QTest::newRow("blanks only") << QStringList{"   "} << false << QStringList() << 1;
        QTest::newRow("inner blank") << QStringList{"86 29"} << false << QStringList() << 1;
        QTest::newRow("wrong, then right") << QStringList{"FOREMAN", "bursar"} << true << kBursar << 1;
    }
    void wordSelectsRole()
    {
        QFETCH(QStringList, words);
        QFETCH(bool, journalShown);
        QFETCH(QStringList, disabled);
        QFETCH(int, refusals);
        MessageRecorder rec;
        for (int i = 0; i + 1 < words.size(); ++i) {
            Form23->Edit1->setText(words[i]);
            QTest::keyClick(Form23->Edit1, Qt::Key_Return);
        }
        bool shown = false;
        QStringList seen;
        if (journalShown) {
            whileSignedIn(words.last(), [&] {
                shown = true;
                seen = disabledControls();
            });
            QVERIFY(shown);
            QCOMPARE(Form1->Role, words.last().trimmed());
            QCOMPARE(Form1->ShiftNumber, 1);
            QVERIFY(!Form23->isVisible());
        } else {
            Form23->Edit1->setText(words.last());
            QTest::keyClick(Form23->Edit1, Qt::Key_Return);
            seen = disabledControls();
            QVERIFY(Form23->isVisible());
            QCOMPARE(Form23->Edit1->text(), words.last());  // kept for another try
        }
        QCOMPARE(seen, disabled);
        // The warehouse prints finished products only.
        QCOMPARE(Form18->productKindItem(1)->isChecked(), disabled.contains("Form18.RadioGroup1"));
        QCOMPARE(rec.seen.size(), refusals);
        for (const msg::Request& r : rec.seen) {
            QCOMPARE(r.text, QString("Введены неверные данные."));
            QCOMPARE(r.caption, QString("Ошибка"));
            QCOMPARE(r.icon, msg::Icon::Stop);
        }
    }

    // The journal's menu opens the reports window on the previous month, by today's date.
    void menuOpensTheReports()
    {
        QString opened;
        QDate from, to;
        whileSignedIn("8629", [&] {
            whenModal([&](QWidget* w) {
                opened = w->objectName();
                from = Form18->DTPicker1->date();
                to = Form18->DTPicker2->date();
                QTest::keyClick(w, Qt::Key_Escape);
            });
            Form1->N10->trigger();
        });
        const QDate today = QDate::currentDate();
        QCOMPARE(opened, QString("Form18"));
        QCOMPARE(from, QDate(today.year(), today.month(), 1).addMonths(-1));
        QCOMPARE(to, QDate(today.year(), today.month(), 1));
    }

    // The journal's menu opens the time sheet on the month and year of the journal's date, this year too.
    void menuOpensTheTimeSheet()
    {
        QString opened, year;
        int month = -1;
        whileSignedIn("8629", [&] {
            whenModal([&](QWidget* w) {
                opened = w->objectName();
                month = Form19->ComboBox1->currentIndex();
                year = Form19->ComboBox2->currentText();
                QTest::keyClick(w, Qt::Key_Escape);
            });
            Form1->N11->trigger();
        });
        const QDate today = QDate::currentDate();
        QCOMPARE(opened, QString("Form19"));
        QCOMPARE(month, today.month() - 1);
        QCOMPARE(year, QString::number(today.year()));
    }

    void signInEndsTheProgram_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Отмена") << "cancel button";
        QTest::newRow("Esc") << "escape";
        QTest::newRow("journal closed with Выход") << "exit button";
        QTest::newRow("journal closed from the menu") << "exit menu";
        QTest::newRow("journal closed with Esc") << "journal escape";
    }
    void signInEndsTheProgram()
    {
        QFETCH(QString, how);
        MessageRecorder rec;
        QTimer::singleShot(0, [how] {
            if (how == "cancel button") {
                QTest::mouseClick(Form23->Button2, Qt::LeftButton);
                return;
            }
            if (how == "escape") {
                QTest::keyClick(Form23->Edit1, Qt::Key_Escape);
                return;
            }
            whenModal([how](QWidget*) {
                if (how == "exit button") QTest::mouseClick(Form1->Button4, Qt::LeftButton);
                if (how == "exit menu") Form1->N5->trigger();
                if (how == "journal escape") QTest::keyClick(Form1->DBGrid2, Qt::Key_Escape);
            });
            Form23->Edit1->setText("8629");
            QTest::keyClick(Form23->Edit1, Qt::Key_Return);
        });
        QVERIFY(runUntilProgramEnds());
        QVERIFY(!Form23->isVisible());
        QVERIFY(!Form1->isVisible());
        QVERIFY(rec.seen.isEmpty());
    }

    void noDatabaseNoSignIn()
    {
        takeDownWindows();
        MessageRecorder rec;
        if (!DataModule6) DataModule6 = new TDataModule6(QCoreApplication::instance());
        programWindows() = std::make_unique<ProgramWindows>();
        QVERIFY(!programWindows()->start({"pw_no_such_database", "localhost"}));
        QCoreApplication::processEvents();
        QCOMPARE(rec.seen.size(), 1);
        QCOMPARE(rec.seen[0].text, QString("Подключение к БД отсутсвует!!!"));
        QCOMPARE(rec.seen[0].caption, QString("Ошибка!"));
        QCOMPARE(rec.seen[0].icon, msg::Icon::Stop);
        QCOMPARE(Form23, nullptr);
        QVERIFY(!Form1->isVisible());
    }

    // A database the previous version prepared: the program names the command that upgrades it and ends,
    // instead of failing at the first write into what it lacks.
    void olderDatabaseNamesItsUpgrade()
    {
        takeDownWindows();
        TestDatabase older(QString(), QStringLiteral("C.UTF-8"), TestDatabase::Schema::BeforeUpgrades);
        MessageRecorder rec;
        if (!DataModule6) DataModule6 = new TDataModule6(QCoreApplication::instance());
        programWindows() = std::make_unique<ProgramWindows>();
        QVERIFY(!programWindows()->start({older.name(), "localhost"}));
        QCoreApplication::processEvents();
        QCOMPARE(rec.seen.size(), 1);
        QVERIFY2(rec.seen[0].text.contains("piecework-db " + older.name() + " localhost"), qPrintable(rec.seen[0].text));
        QVERIFY(rec.seen[0].text.contains(QString("(версия схемы 0, нужна %1)").arg(store::kSchemaVersion)));
        QCOMPARE(rec.seen[0].caption, QString("Ошибка!"));
        QCOMPARE(Form23, nullptr);
        QVERIFY(!Form1->isVisible());
    }
};

QTEST_MAIN(SignInTest)
#include "tst_signin.moc"
