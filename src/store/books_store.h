#pragma once
#include "store/store.h"

#include <QString>
#include <QStringList>
#include <optional>

// The reference books' writes and look-ups. Products, kinds and norms are edited row by row through their
// shared datasets, which write back by key; the statements here are the rest.
namespace store {

// Workers: typed texts go in as bound values, so a quote in a name is stored as typed.
void addWorker(const Session& s, const QString& fio, const QString& department);
void changeWorker(const Session& s, int id, const QString& fio, const QString& department);
void deleteWorker(const Session& s, int id);

// Operations: a product, a kind of work and a group (naimen). The database gives a new operation its
// first norm.
void addOperation(const Session& s, int kind, int group, int product);
void changeOperation(const Session& s, int id, int kind, int group, int product);
void deleteOperation(const Session& s, int id);

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
