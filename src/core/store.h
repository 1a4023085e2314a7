#pragma once
#include <QHash>
#include <QString>
#include <QVariant>
#include <optional>

// The store: every write that workstations share goes through its verbs (journal_store.h,
// time_sheet_store.h, books_store.h), which own the statement texts, the transaction and the locks.
// Windows call verbs; they never build SQL or open a transaction.
namespace store {

using Params = QHash<QString, QVariant>;

// The connection a verb runs on: the program's own ("ADO_DB"), or a second workstation in a test.
struct Db {
    QString connection;
};

// The program's own connection.
Db programDb();

// Runs a statement that returns no rows; answers the number of rows it changed.
int exec(const Db& db, const QString& sql, const Params& params = {});

// The first column of the first row of a query; nothing when it returns no row.
std::optional<QVariant> firstValue(const Db& db, const QString& sql, const Params& params = {});

// The same, with a null QVariant for no row.
QVariant scalar(const Db& db, const QString& sql, const Params& params = {});

// A whole number read with scalar(): 0 for no row or a null.
qint64 scalarInt(const Db& db, const QString& sql, const Params& params = {});

// All statements between its start and commit() take effect together or not at all; leaving the scope
// without commit() rolls back.
class Work {
public:
    explicit Work(const Db& db);
    ~Work();
    void commit();
    Work(const Work&) = delete;
    Work& operator=(const Work&) = delete;

private:
    QString connection_;
    bool done_ = false;
};

}  // namespace store
