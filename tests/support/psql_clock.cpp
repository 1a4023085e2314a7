#include "support/psql_clock.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <cstdio>
#include <cstdlib>

double psqlSeconds(const QString& server, const QString& database, const QString& statement)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PGPASSWORD"), QStringLiteral("vomtrak"));
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("psql"), {"-X", "-q", "-h", server, "-U", "sys", "-d", database, "-o", "/dev/null", "-c", statement});
    p.waitForFinished(-1);
    const double s = t.nsecsElapsed() / 1e9;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "psql failed: %s\n", p.readAllStandardError().constData());
        std::exit(1);
    }
    return s;
}

QString withPeriod(QString statement, const QDate& from, const QDate& to)
{
    statement.replace(QStringLiteral(":data1"), QStringLiteral("date '%1'").arg(from.toString(Qt::ISODate)));
    statement.replace(QStringLiteral(":data2"), QStringLiteral("date '%1'").arg(to.toString(Qt::ISODate)));
    return statement;
}
