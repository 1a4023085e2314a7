#include "reliability_fixture.h"

#include "core/data_grid.h"
#include "core/data_module.h"
#include "refbooks/book_instances.h"
#include "store/store.h"
#include "refbooks/norms_window.h"
#include "support/test_database.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QThread>
#include <QtTest>

namespace reliability {

QString fingerprint(const TestDatabase& db)
{
    QStringList parts;
    for (const char* table : {"accounts_dep.person", "accounts_dep.izdel", "accounts_dep.vid_oper", "accounts_dep.oper",
                              "accounts_dep.norm", "accounts_dep.smena", "accounts_dep.h_tabel", "accounts_dep.ver",
                              "cmn_contractor.person"})
        parts << QStringLiteral("select '%1:' || t::text as r from %1 t").arg(QLatin1String(table));
    return db.value("select md5(coalesce(string_agg(r, '|' order by r), '')) from (" + parts.join(" union all ") + ") x");
}

QString storedHex(const TestDatabase& db, const QString& sql)
{
    return db.value("select encode(convert_to(x, 'UTF8'), 'hex') from (" + sql + ") q(x)");
}

QString hexOf(const QString& text)
{
    return QString::fromLatin1(text.toUtf8().toHex());
}

void paste(QLineEdit* box, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    box->setFocus();
    box->selectAll();
    // As a keyboard sends it: Ctrl+V carries the control character, not a printable "v" (QTest's keyClick
    // would), which the boxes' key filters would take for typing.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)));
    QCoreApplication::sendEvent(box, &press);
    QCoreApplication::sendEvent(box, &release);
}

void openNorms(int operation)
{
    Dataset* oper = DataModule6->Oper;
    oper->close();
    oper->open();
    QVERIFY(oper->locate("id", operation));
    Form22->norm->close();
    Form22->norm->setFilter(QString("o_id=%1").arg(operation));
    Form22->norm->setFiltered(true);
    Form22->norm->open();
    Form22->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form22));
}

QLineEdit* openNormCellEditor(int column)
{
    DataGrid* g = Form22->DBGrid1;
    g->setFocus();
    g->setCurrentIndex(g->model()->index(0, column));
    QCoreApplication::processEvents();
    QTest::keyClick(g, Qt::Key_F2);
    QLineEdit* editor = nullptr;
    for (auto* e : g->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible()) editor = e;
    return editor;
}

QString programBackend()
{
    return store::scalar(store::programDb(), QStringLiteral("select pg_backend_pid()")).toString();
}

OtherWorkstation::OtherWorkstation(const TestDatabase& db, const QString& lockSql, const QString& killWaiter, int holdSeconds)
    : db_(db), psql_(std::make_unique<QProcess>())
{
    static int sessions = 0;
    name_ = QStringLiteral("pw_other_%1_%2").arg(QCoreApplication::applicationPid()).arg(++sessions);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PGPASSWORD"), QStringLiteral("vomtrak"));
    env.insert(QStringLiteral("PGAPPNAME"), name_);
    psql_->setProcessEnvironment(env);
    QString script = QStringLiteral("begin;\n") + lockSql + QStringLiteral(";\n");
    if (killWaiter.isEmpty()) {
        script += QStringLiteral("select pg_sleep(%1), 'pw_hold';\n").arg(holdSeconds);
    } else {
        // pg_locks is read afresh each time (unlike pg_stat_activity inside a transaction).
        script += QStringLiteral(
                      "do $$ begin perform 'pw_hold';\n"
                      "  for i in 1..600 loop\n"
                      "    if exists (select 1 from pg_locks where pid = %1 and not granted) then\n"
                      "      perform pg_terminate_backend(%1); raise notice 'pw_killed'; return;\n"
                      "    end if;\n"
                      "    perform pg_sleep(0.05);\n"
                      "  end loop; end $$;\n")
                      .arg(killWaiter);
    }
    script += QStringLiteral("rollback;\n");
    psql_->start(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                                         QStringLiteral("-h"), QStringLiteral("localhost"), QStringLiteral("-U"), QStringLiteral("sys"),
                                         QStringLiteral("-d"), db.name()});
    // Written out now: nothing else runs this process's pipes while the test waits on the program.
    psql_->waitForStarted();
    psql_->write(script.toUtf8());
    psql_->waitForBytesWritten();
    psql_->closeWriteChannel();
}

OtherWorkstation::~OtherWorkstation()
{
    release();
}

bool OtherWorkstation::holding()
{
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (psql_->state() == QProcess::NotRunning) return false;
        const QString n = db_.value(QStringLiteral("select count(*) from pg_stat_activity where application_name = '%1' "
                                                   "and state = 'active' and query like '%%pw_hold%%'")
                                        .arg(name_));
        if (n == QLatin1String("1")) return true;
        QThread::msleep(20);
    }
    return false;
}

bool OtherWorkstation::killed()
{
    psql_->waitForFinished(40000);
    output_ += QString::fromUtf8(psql_->readAllStandardError());
    return output_.contains(QLatin1String("pw_killed"));
}

void OtherWorkstation::release()
{
    if (psql_->state() != QProcess::NotRunning) {
        db_.exec(QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity where application_name = '%1'").arg(name_));
        psql_->waitForFinished(20000);
    }
    output_ += QString::fromUtf8(psql_->readAllStandardError());
}

QString OtherWorkstation::errors() const
{
    return output_;
}

}  // namespace reliability
