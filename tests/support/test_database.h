#pragma once
#include "store/store.h"

#include <QString>

// A fresh database for one test binary: created from db/schema.sql and the upgrades in db/upgrade, as
// piecework-db makes a new one, plus the test's own fixture; reached by the program's own connection
// string, dropped at the end.
class TestDatabase {
public:
    // How far the schema goes: this version's, or only the tables an earlier version made (no upgrades).
    enum class Schema { Current, BeforeUpgrades };

    // `ctype` is the database's LC_CTYPE; an enterprise database may have "C", where the database's
    // upper() and lower() change Latin letters only.
    explicit TestDatabase(const QString& fixtureSql = QString(), const QString& ctype = QStringLiteral("C.UTF-8"),
                          Schema schema = Schema::Current);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    QString name() const { return name_; }
    QString odbcString() const;

    // Runs SQL through psql (outside the program's connection); throws on failure.
    void exec(const QString& sql) const;
    // The first column of the first row, as psql prints it ("" for no row).
    QString value(const QString& sql) const;
    // Every row, columns joined by '|'.
    QStringList rows(const QString& sql) const;
    // The id of the row of accounts_dep.<table> whose <column> is exactly `text` (0 when there is none).
    int idOf(const QString& table, const QString& column, const QString& text) const;
    // A text as an SQL literal for fixtures: between single quotes, quotes doubled.
    static QString quoted(QString text);

    // A name for a person of this database's personal sign-in; the server's roles of that name, and the
    // database's group roles, are dropped with the database.
    QString personName(const QString& suffix) const;

    // Opens the program's data module connection (DataModule6 is created when absent).
    void connectProgram() const;

    static QString sourceDir();

private:
    QString psql(const QString& database, const QStringList& args, const QString& input = QString()) const;
    QString name_;
};

// A session with full access on a connection (the program's own by default), for tests that call the
// store's verbs directly.
store::Session fullAccess(const QString& connection = store::kProgramConnection);
