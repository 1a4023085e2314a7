// Signing in by name: the program learns the mode from the server, each person gets the role of their
// group, a wrong name and a wrong password read alike, a retired shared user opens nothing, and a server
// without TLS is refused.
#include "core/application.h"
#include "journal/people_window.h"
#include "store/journal_store.h"
#include "store/personal.h"
#include "support/message_recorder.h"
#include "program_fixture.h"

#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <unistd.h>

namespace {

struct Person {
    QString suffix;
    QString role;
    QString password;
};

// Names and passwords holding what a connection string or a statement could misread.
const QList<Person> kPeople{
    {"bursar", "bursar", "b;1 {x}"},
    {"foreman", "foreman", "Мастер=2}"},
    {"depot", "depot", "d'e\\p;o}t"},
    {"full ;{x}=y z", "full", "полный {доступ};4"},
};

QString passwordOf(const QString& suffix)
{
    for (const Person& p : kPeople)
        if (p.suffix == suffix) return p.password;
    return {};
}

// psql as a person, over TLS; the exit status.
int psqlAs(const TestDatabase& db, const QString& name, const QString& password, const QString& sql)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PGPASSWORD", password);
    env.insert("PGSSLMODE", "require");
    p.setProcessEnvironment(env);
    p.start("psql", {"-X", "-q", "-h", "localhost", "-U", name, "-d", db.name(), "-c", sql});
    p.waitForFinished(60000);
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void typeAndEnter(const QString& name, const QString& password)
{
    Form23->NameEdit->setText(name);
    Form23->Edit1->setText(password);
    QTest::keyClick(Form23->Edit1, Qt::Key_Return);
}

// Signs in; while the journal is shown, `body` runs, then the journal is closed as the user would.
bool signInAs(const QString& name, const QString& password, const std::function<void()>& body = {})
{
    bool shown = false;
    whenModal([&shown, body](QWidget*) {
        shown = true;
        if (body) body();
        QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    });
    typeAndEnter(name, password);
    return shown;
}

// An attempt that must not open the journal.
bool refused(const QString& name, const QString& password)
{
    typeAndEnter(name, password);
    return !Form1->isVisible() && Form23->isVisible();
}

// A server of the test's own on another loopback address, without TLS, run as the postgres user when
// this runs as root. Its shared user is refused like any unknown name.
class ServerWithoutTls {
public:
    ServerWithoutTls()
    {
        if (!dir_.isValid()) return;
        const QString bin = QDir("/usr/lib/postgresql").entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name).value(0);
        bin_ = "/usr/lib/postgresql/" + bin + "/bin/";
        if (geteuid() == 0) QProcess::execute("chown", {"-R", "postgres:postgres", dir_.path()});
        data_ = dir_.path() + "/data";
        ok_ = run(bin_ + "initdb", {"-D", data_, "-U", "postgres", "--auth-local=trust", "--auth-host=scram-sha-256"})
              && run(bin_ + "pg_ctl", {"-D", data_, "-w", "-l", dir_.path() + "/log", "-o",
                                       "-p 5432 -k " + dir_.path() + " -c listen_addresses=127.0.0.27 -c ssl=off", "start"});
    }
    ~ServerWithoutTls()
    {
        if (ok_) run(bin_ + "pg_ctl", {"-D", data_, "-m", "immediate", "stop"});
    }
    bool ok() const { return ok_; }

private:
    bool run(const QString& program, const QStringList& args)
    {
        QProcess p;
        if (geteuid() == 0)
            p.start("runuser", QStringList{"-u", "postgres", "--", program} + args);
        else
            p.start(program, args);
        return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    QTemporaryDir dir_;
    QString bin_, data_;
    bool ok_ = false;
};

}  // namespace

class PersonalSignInTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    QDateTime started;

    QString name(const QString& suffix) const { return db->personName(suffix); }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        started = QDateTime::currentDateTime();
        db = new TestDatabase(
            "insert into accounts_dep.person (fio) values ('Иванов');"
            "insert into accounts_dep.izdel (marka) values ('М-1');"
            "insert into accounts_dep.vid_oper (vid) values ('Сварка');"
            "insert into accounts_dep.oper (vid, naimen, i_id, cena_new) select v.id, 0, i.id, 10 from accounts_dep.vid_oper v, accounts_dep.izdel i;"
            "select piecework.enable_personal();");
        for (const Person& p : kPeople)
            db->exec(QString("select piecework.add_person(%1, '%2', '%3')")
                         .arg(TestDatabase::quoted(name(p.suffix)), p.role, personal::scramVerifier(p.password)));
    }
    void cleanupTestCase() { delete db; }
    void init() { QVERIFY(startOn(*db)); createOtherWindows(); }
    void cleanup() { takeDownWindows(); }

    // The described window keeps its caption, buttons and keys; the name box stands above the password.
    void windowAsksForNameAndPassword()
    {
        QVERIFY(Form23->NameEdit);
        QCOMPARE(Form23->NameLabel->buddy(), Form23->NameEdit);
        QCOMPARE(Form23->Label1->buddy(), Form23->Edit1);
        QVERIFY(Form23->NameEdit->geometry().bottom() < Form23->Edit1->geometry().top());
        QVERIFY(Form23->windowTitle().startsWith("Авторизация (build: "));
        QCOMPARE(Form23->Button1->text(), QString("Вход"));
        QVERIFY(Form23->Button1->isDefault());
        QCOMPARE(Form23->Button2->text(), QString("Отмена"));
        QCOMPARE(Form23->Edit1->echoMode(), QLineEdit::Password);
    }

    void personGetsTheGroupsRole_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("addEnabled");     // journal "Добавить"
        QTest::addColumn<bool>("booksEnabled");   // menu "Справочники"
        QTest::newRow("bursar") << "bursar" << int(store::Role::Bursar) << false << false;
        QTest::newRow("foreman") << "foreman" << int(store::Role::Foreman) << true << false;
        QTest::newRow("depot") << "depot" << int(store::Role::Depot) << false << false;
        QTest::newRow("full") << "full ;{x}=y z" << int(store::Role::Full) << true << true;
    }
    void personGetsTheGroupsRole()
    {
        QFETCH(QString, suffix);
        QFETCH(int, role);
        QFETCH(bool, addEnabled);
        QFETCH(bool, booksEnabled);
        MessageRecorder rec;
        bool add = false, books = false, people = false;
        store::Actor actor;
        QVERIFY(signInAs(name(suffix), passwordOf(suffix), [&] {
            add = Form1->Button1->isEnabled();
            people = Form1->N15->isVisible();
            books = Form1->N2->isEnabled();
            actor = DataModule6->actor();
        }));
        QVERIFY2(rec.seen.isEmpty(), qPrintable(rec.seen.value(0).text));
        QCOMPARE(int(actor.role), role);
        QCOMPARE(actor.person, name(suffix));
        QCOMPARE(Form1->Role, store::roleWord(store::Role(role)));
        QCOMPARE(add, addEnabled);
        QCOMPARE(books, booksEnabled);
        QCOMPARE(people, actor.role == store::Role::Full);  // "Пользователи"
        QVERIFY(Form23->Edit1->text().isEmpty());  // the password is not kept in the window
    }

    // The foreman's entry goes through the program's own verb with the foreman's grants alone, and the
    // history names the person twice: as the program tells it and as the server knows the login.
    void foremansEntryNamesThePerson()
    {
        const QString foreman = name("foreman");
        QVERIFY(signInAs(foreman, passwordOf("foreman"), [&] {
            store::EntryValues v;
            v.worker = db->idOf("person", "fio", "Иванов");
            v.product = db->idOf("izdel", "marka", "М-1");
            v.operation = db->value("select min(id) from accounts_dep.oper").toInt();
            v.price = "10";
            v.quantity = "5";
            v.rejects = "0";
            v.hours = "0";  // no hours: the day's cell is written, never deleted
            v.date = QDate::currentDate();
            v.entered = QDate::currentDate();
            QCOMPARE(store::saveEntry(DataModule6->session(), v, std::nullopt), store::Outcome::Saved);
        }));
        QCOMPARE(db->rows("select actor, db_user, role from piecework.history where tbl = 'smena' and op = 'insert'"),
                 QStringList{foreman + "|" + foreman + "|foreman"});
    }

    // Full access adds a person from the program; the server then lets that person in with the role.
    void fullAccessManagesPeople()
    {
        const QString added = name("added");
        const QString password = "новый; {пароль}";
        QStringList listed;
        MessageRecorder rec;
        QVERIFY(signInAs(name("full ;{x}=y z"), passwordOf("full ;{x}=y z"), [&] {
            whenModal([&](QWidget* window) {
                whenModal([&](QWidget* dialog) {
                    auto* d = qobject_cast<PersonDialog*>(dialog);
                    QVERIFY(d);
                    d->NameEdit->setText(added);
                    d->RoleBox->setCurrentIndex(2);  // "Склад"
                    d->PasswordEdit->setText(password);
                    d->RepeatEdit->setText(password);
                    QTest::mouseClick(d->SaveButton, Qt::LeftButton);
                });
                QTest::mouseClick(Form27->AddButton, Qt::LeftButton);
                for (int i = 0; i < Form27->PeopleGrid->rowCount(); ++i)
                    listed << Form27->PeopleGrid->item(i, 0)->text() + "|" + Form27->PeopleGrid->item(i, 1)->text();
                QTest::keyClick(window, Qt::Key_Escape);
            });
            Form1->N15->trigger();
        }));
        QVERIFY2(rec.seen.isEmpty(), qPrintable(rec.seen.value(0).text));
        QVERIFY2(listed.contains(added + "|Склад"), qPrintable(listed.join(", ")));
        QCOMPARE(psqlAs(*db, added, password, "select 1"), 0);
        QCOMPARE(db->value(QString("select role from piecework.people() where name = %1").arg(TestDatabase::quoted(added))),
                 QString("depot"));
    }

    void wrongNameAndWrongPasswordReadAlike()
    {
        MessageRecorder rec;
        QVERIFY(refused(name("bursar"), "not the password"));
        QVERIFY(refused(name("nobody"), "not the password"));
        QVERIFY(refused("", ""));
        QCOMPARE(rec.seen.size(), 3);
        for (const msg::Request& r : rec.seen) {
            QCOMPARE(r.text, QString("Введены неверные данные."));
            QCOMPARE(r.caption, QString("Ошибка"));
            QCOMPARE(r.icon, msg::Icon::Stop);
        }
        QVERIFY(Form23->isVisible());
    }

    // Retired, the shared user opens nothing: the program is told so by the server and asks for a name,
    // the described word is no password, and psql as that user is refused.
    void retiredSharedLoginOpensNothing()
    {
        const QString full = name("full ;{x}=y z");
        takeDownWindows();
        QCOMPARE(psqlAs(*db, full, passwordOf("full ;{x}=y z"), "select piecework.retire_shared()"), 0);
        bool restored = false;
        auto restore = qScopeGuard([&] {
            if (!restored) psqlAs(*db, full, passwordOf("full ;{x}=y z"), "select piecework.restore_shared()");
        });
        DataModule6->setPersonalAddress(std::nullopt);
        QVERIFY(startOn(*db));
        createOtherWindows();
        QVERIFY(Form23->NameEdit);
        MessageRecorder rec;
        QVERIFY(refused("", "8629"));
        QVERIFY(refused("sys", "vomtrak"));
        QCOMPARE(rec.seen.size(), 2);
        QCOMPARE(rec.seen.last().text, QString("Введены неверные данные."));
        QVERIFY(signInAs(full, passwordOf("full ;{x}=y z")));
        QCOMPARE(psqlAs(*db, "sys", "vomtrak", "select 1"), 2);
        QCOMPARE(psqlAs(*db, full, passwordOf("full ;{x}=y z"), "select piecework.restore_shared()"), 0);
        restored = true;
    }

    void serverWithoutTlsIsRefused()
    {
        ServerWithoutTls server;
        if (!server.ok()) QSKIP("no private server could be started here");
        takeDownWindows();
        DataModule6->setPersonalAddress(std::nullopt);
        programWindows() = std::make_unique<ProgramWindows>();
        MessageRecorder rec;
        // Its shared user is refused, so the program asks for a name there.
        QVERIFY(programWindows()->start({"plantdb", "127.0.0.27"}));
        QVERIFY(Form23->NameEdit);
        createOtherWindows();
        QVERIFY(refused("someone", "secret"));
        QCOMPARE(rec.seen.size(), 1);
        QVERIFY2(rec.seen.first().text.contains("TLS"), qPrintable(rec.seen.first().text));
    }

    // No password anywhere after all of the above: no driver log, no file of the program's own, nothing in
    // the server's log (where it can be read).
    void noPasswordInFilesTheProgramWrites()
    {
        QStringList places{QDir::tempPath(), QDir::homePath() + "/.cache", "/var/log/postgresql"};
        for (const QString& place : places) {
            QDirIterator it(place, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                const QFileInfo info(path);
                if (info.lastModified() < started || info.size() > 10'000'000 || !info.isReadable()) continue;
                QFile f(path);
                if (!f.open(QIODevice::ReadOnly)) continue;
                const QByteArray content = f.readAll();
                for (const Person& p : kPeople)
                    QVERIFY2(!content.contains(p.password.toUtf8()), qPrintable(path));
            }
        }
    }
};

QTEST_MAIN(PersonalSignInTest)
#include "tst_personal_signin.moc"
