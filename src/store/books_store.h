#pragma once
#include "store/row_check.h"
#include "store/row_writer.h"
#include "store/store.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The reference books' writes and look-ups. Every write is a verb: one unit of work that managing the
// books allows. A book with a duplicate check (products, kinds, operations) takes that book's lock first,
// counts inside the transaction and writes only when nothing like the row is there, so two workstations
// saving the same row at once end with one row and one Duplicate.
namespace store {

// Workers: typed texts go in as bound values, so a quote in a name is stored as typed.
void addWorker(const Session& s, const QString& fio, const QString& department);
void changeWorker(const Session& s, int id, const QString& fio, const QString& department);
void deleteWorker(const Session& s, int id);

// A change or delete of a book's row as its list showed it (the columns as its table names them): when
// another workstation changed or deleted the row since, nothing is written and the answer is Changed or
// Gone, with how the row stands now. A change counts duplicates as the others do.
Answer changeWorker(const Session& s, const RowAsRead& worker, const QString& fio, const QString& department);
Answer deleteWorker(const Session& s, const RowAsRead& worker);

// Products: the mark (unique whatever its letter case), its group and the boxes (massa).
struct ProductValues {
    QString mark;
    QString group;
    double boxes = 0;
};
Outcome addProduct(const Session& s, const ProductValues& v);
Outcome changeProduct(const Session& s, qint64 id, const ProductValues& v);
void deleteProduct(const Session& s, qint64 id);
Answer changeProduct(const Session& s, const RowAsRead& product, const ProductValues& v);
Answer deleteProduct(const Session& s, const RowAsRead& product);

// Kinds of operation: a name, unique whatever its letter case.
Outcome addKind(const Session& s, const QString& name);
Outcome changeKind(const Session& s, int id, const QString& name);
void deleteKind(const Session& s, int id);
Answer changeKind(const Session& s, const RowAsRead& kind, const QString& name);
Answer deleteKind(const Session& s, const RowAsRead& kind);

// Operations: a product, a kind of work and a group (naimen), unique together. The database gives a new
// operation its first norm.
Outcome addOperation(const Session& s, int kind, int group, int product);
Outcome changeOperation(const Session& s, int id, int kind, int group, int product);
void deleteOperation(const Session& s, int id);
Answer changeOperation(const Session& s, const RowAsRead& operation, int kind, int group, int product);
Answer deleteOperation(const Session& s, const RowAsRead& operation);

// Norms, edited row by row in the norms grid: the grid's row goes to the norm table whatever table it
// names. storeNorm inserts a new row (answering the key the database gave it) or updates the changed
// columns of a stored one (answering nothing).
QVariantList storeNorm(const Session& s, const RowWrite& row, bool inserting);
void deleteNorm(const Session& s, const RowWrite& row);
// The grid's change or delete of a stored norm, written only while the norm stands as the grid read it
// (the row's original values); otherwise Changed or Gone and nothing written.
Answer changeNorm(const Session& s, const RowWrite& row);
Answer removeNorm(const Session& s, const RowWrite& row);

// For race tests: called inside a book's verb between its duplicate count and its write, with the
// connection the verb runs on. Empty: nothing is called.
void setBookCheckHook(std::function<void(const Db&)> hook);

// The product's mark as the database has it now; empty when there is no such product.
QString productMark(const Db& db, int productId);

namespace bookssql {

// The count statement of a book's duplicate check on a name column, whatever its letter case:
//   select count(*) as cnt from accounts_dep.<table> where upper(<column>)='<TEXT>'[ and id<><id>]
// The text goes in upper-cased (Cyrillic too) as a quoted literal. When changing a row, `except` is that
// row's id.
QString sameNameCount(const QString& table, const QString& column, const QString& text, std::optional<qint64> except);

// The count of other operations with this kind, group and product; when changing, the operation itself
// is left out.
QString sameOperationCount(int kind, int group, int product, std::optional<int> except);

QString addOperation(int kind, int group, int product);
QString changeOperation(int id, int kind, int group, int product);
QString deleteOperation();  // parameter :id

// Every row of an enterprise table, for the worker editor's look-up boxes.
QString wholeTable(const QString& table);

// Every operation at its own price, for the price list.
QStringList priceList();

}  // namespace bookssql

// Tables written row by row through a dataset.
inline const QString kNormTable = QStringLiteral("accounts_dep.norm");
inline const QString kVersionTable = QStringLiteral("accounts_dep.ver");

}  // namespace store
