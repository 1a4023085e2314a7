#include "support/test_database.h"

#include "store/connection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QThread>
#include <stdexcept>

QString TestDatabase::sourceDir()
{
    const QByteArray dir = qgetenv("PIECEWORK_SOURCE_DIR");
    return dir.isEmpty() ? QStringLiteral(".") : QString::fromLocal8Bit(dir);
}

QString TestDatabase::psql(const QString& database, const QStringList& args, const QString& input) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PGPASSWORD"), QStringLiteral("vomtrak"));
    env.insert(QStringLiteral("PGOPTIONS"), QStringLiteral("-c client_min_messages=warning"));
    p.setProcessEnvironment(env);
    QStringList all{QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                    QStringLiteral("-h"), QStringLiteral("localhost"), QStringLiteral("-U"), QStringLiteral("sys"),
                    QStringLiteral("-d"), database};
    all += args;
    p.start(QStringLiteral("psql"), all);
    if (!input.isNull()) {
        p.write(input.toUtf8());
        p.closeWriteChannel();
    }
    p.waitForFinished(120000);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw std::runtime_error(("psql failed: " + QString::fromUtf8(p.readAllStandardError()) + " args: " + args.join(' ')).toStdString());
    return out;
}

TestDatabase::TestDatabase(const QString& fixtureSql, const QString& ctype, Schema schema)
{
    QString app = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toLower();
    app.replace(QRegularExpression(QStringLiteral("[^a-z0-9_]")), QStringLiteral("_"));
    name_ = QStringLiteral("pw_test_%1_%2").arg(app).arg(QCoreApplication::applicationPid());
    // A test may keep an older database beside its own.
    if (schema == Schema::BeforeUpgrades) name_ += QStringLiteral("_older");
    psql(QStringLiteral("postgres"), {QStringLiteral("-c"), QStringLiteral("drop database if exists %1").arg(name_)});
    psql(QStringLiteral("postgres"),
         {QStringLiteral("-c"), QStringLiteral("create database %1 template template0 encoding 'UTF8' "
                                               "lc_collate 'C.UTF-8' lc_ctype '%2'").arg(name_, ctype)});
    QStringList files{QStringLiteral("--single-transaction"), QStringLiteral("-f"), sourceDir() + QStringLiteral("/db/schema.sql")};
    if (schema == Schema::Current) {
        const QDir upgrades(sourceDir() + QStringLiteral("/db/upgrade"));
        for (const QString& f : upgrades.entryList({QStringLiteral("[0-9][0-9][0-9]-*.sql")}, QDir::Files, QDir::Name))
            files << QStringLiteral("-f") << upgrades.filePath(f);
    }
    psql(name_, files);
    if (!fixtureSql.isEmpty()) exec(fixtureSql);
}

TestDatabase::~TestDatabase()
{
    for (const QString& c : QSqlDatabase::connectionNames()) QSqlDatabase::database(c, false).close();
    try {
        // Roles belong to the whole server: the database's groups (named after its oid) and the people a
        // test made (named after the database) go with it.
        const QString oid = psql(QStringLiteral("postgres"), {QStringLiteral("-A"), QStringLiteral("-t"), QStringLiteral("-c"),
                                                              QStringLiteral("select oid from pg_database where datname = '%1'").arg(name_)})
                                .trimmed();
        // A session of a person (another role, which sys may not end) can still be closing: try again.
        for (int attempt = 0;; ++attempt) {
            try {
                psql(QStringLiteral("postgres"), {QStringLiteral("-c"), QStringLiteral("drop database if exists %1 with (force)").arg(name_)});
                break;
            } catch (...) {
                if (attempt == 4) throw;
                QThread::sleep(1);
            }
        }
        if (!oid.isEmpty())
            psql(QStringLiteral("postgres"), {}, QStringLiteral(
                "do $$ declare r name; begin for r in select rolname from pg_roles where rolname like 'piecework\\_%1\\_%' "
                "or rolname like '%2\\_%' loop execute format('drop role %I', r); end loop; end $$;")
                                                   .arg(oid, QString(name_).replace(u'_', QStringLiteral("\\_"))));
    } catch (...) {
    }
}

QString TestDatabase::personName(const QString& suffix) const
{
    return name_ + u'_' + suffix;
}

QString TestDatabase::odbcString() const
{
    return connectionString(name_, QStringLiteral("localhost"));
}

void TestDatabase::exec(const QString& sql) const
{
    psql(name_, {}, sql);
}

QString TestDatabase::value(const QString& sql) const
{
    const QStringList r = rows(sql);
    return r.isEmpty() ? QString() : r.first().section(u'|', 0, 0);
}

QStringList TestDatabase::rows(const QString& sql) const
{
    const QString out = psql(name_, {QStringLiteral("-A"), QStringLiteral("-t"), QStringLiteral("-c"), sql});
    return out.split(u'\n', Qt::SkipEmptyParts);
}

int TestDatabase::idOf(const QString& table, const QString& column, const QString& text) const
{
    return value(QStringLiteral("select id from accounts_dep.%1 where %2 = %3").arg(table, column, quoted(text))).toInt();
}

QString TestDatabase::quoted(QString text)
{
    return u'\'' + text.replace(u'\'', QStringLiteral("''")) + u'\'';
}

store::Session fullAccess(const QString& connection)
{
    return store::Session{store::Db{connection}, store::Actor::here(store::Role::Full)};
}
