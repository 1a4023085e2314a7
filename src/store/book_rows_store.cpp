// The books written row by row: products, kinds and norms. Their statements are the row statements a
// dataset over the table builds (row_writer.h), in the columns' order as the shared datasets read them.
#include "store/books_store.h"

#include "store/book_lock.h"

#include <QSqlDatabase>

namespace store {
namespace {

const QString kProductTable = QStringLiteral("accounts_dep.izdel");
const QString kKindTable = QStringLiteral("accounts_dep.vid_oper");
const QStringList kById = {QStringLiteral("id")};

QSqlDatabase database(const Work& work)
{
    return QSqlDatabase::database(work.db().connection, false);
}

// A product's row in the columns of "select marka, id, nom, massa": every column but the key typed.
RowWrite productRow(std::optional<qint64> id, const ProductValues& v)
{
    return RowWrite{kProductTable,
                    kById,
                    {QStringLiteral("marka"), QStringLiteral("id"), QStringLiteral("nom"), QStringLiteral("massa")},
                    {{QStringLiteral("marka"), FieldType::Text},
                     {QStringLiteral("id"), FieldType::Decimal},
                     {QStringLiteral("nom"), FieldType::Text},
                     {QStringLiteral("massa"), FieldType::Double}},
                    {QVariant(), id ? QVariant(*id) : QVariant(), QVariant(), QVariant()},
                    {v.mark, QVariant(), v.group, v.boxes},
                    {true, false, true, true}};
}

// A kind's row in the columns of "select *": vid, id.
RowWrite kindRow(std::optional<int> id, const QString& name)
{
    return RowWrite{kKindTable,
                    kById,
                    {QStringLiteral("vid"), QStringLiteral("id")},
                    {{QStringLiteral("vid"), FieldType::Text}, {QStringLiteral("id"), FieldType::Integer, true}},
                    {QVariant(), id ? QVariant(*id) : QVariant()},
                    {name, QVariant()},
                    {true, false}};
}

QString sameMark(const QString& mark, std::optional<qint64> except)
{
    return bookssql::sameNameCount(QStringLiteral("izdel"), QStringLiteral("marka"), mark, except);
}

QString sameKind(const QString& name, std::optional<qint64> except)
{
    return bookssql::sameNameCount(QStringLiteral("vid_oper"), QStringLiteral("vid"), name, except);
}

// The norm as the grid read it. A row the grid stored itself holds no value for a column it was not typed
// into, where the table put its default: such a column is not compared.
RowAsRead normAsRead(const RowWrite& norm)
{
    RowAsRead r = rowAsRead(norm.columns, norm.original, QStringLiteral("id"));
    std::erase_if(r.fields, [](const std::pair<QString, QVariant>& f) { return f.second.isNull(); });
    return r;
}

RowWrite normRow(RowWrite row)
{
    row.table = kNormTable;
    row.keyFields = kById;
    return row;
}

}  // namespace

Outcome addProduct(const Session& s, const ProductValues& v)
{
    Work work(s, Action::ManageBooks);
    if (booklock::lockAndFindSame(work, booklock::Book::Products, sameMark(v.mark, std::nullopt))) return Outcome::Duplicate;
    insertRow(database(work), productRow(std::nullopt, v));
    work.commit();
    return Outcome::Saved;
}

Outcome changeProduct(const Session& s, qint64 id, const ProductValues& v)
{
    Work work(s, Action::ManageBooks);
    if (booklock::lockAndFindSame(work, booklock::Book::Products, sameMark(v.mark, id))) return Outcome::Duplicate;
    updateRow(database(work), productRow(id, v));
    work.commit();
    return Outcome::Saved;
}

Answer changeProduct(const Session& s, const RowAsRead& product, const ProductValues& v)
{
    Work work(s, Action::ManageBooks);
    // The book's lock first, as every writer of the book takes it, then the row.
    if (booklock::lockAndFindSame(work, booklock::Book::Products, sameMark(v.mark, product.id))) return {Outcome::Duplicate, {}};
    if (std::optional<Answer> refused = holdAsRead(work, QStringLiteral("izdel"), product)) return *refused;
    updateRow(database(work), productRow(product.id, v));
    work.commit();
    return {};
}

Answer deleteProduct(const Session& s, const RowAsRead& product)
{
    Work work(s, Action::ManageBooks);
    if (std::optional<Answer> refused = holdAsRead(work, QStringLiteral("izdel"), product)) return *refused;
    deleteRow(database(work), productRow(product.id, {}));
    work.commit();
    return {};
}

void deleteProduct(const Session& s, qint64 id)
{
    Work work(s, Action::ManageBooks);
    deleteRow(database(work), productRow(id, {}));
    work.commit();
}

Outcome addKind(const Session& s, const QString& name)
{
    Work work(s, Action::ManageBooks);
    if (booklock::lockAndFindSame(work, booklock::Book::Kinds, sameKind(name, std::nullopt))) return Outcome::Duplicate;
    insertRow(database(work), kindRow(std::nullopt, name));
    work.commit();
    return Outcome::Saved;
}

Outcome changeKind(const Session& s, int id, const QString& name)
{
    Work work(s, Action::ManageBooks);
    if (booklock::lockAndFindSame(work, booklock::Book::Kinds, sameKind(name, id))) return Outcome::Duplicate;
    updateRow(database(work), kindRow(id, name));
    work.commit();
    return Outcome::Saved;
}

Answer changeKind(const Session& s, const RowAsRead& kind, const QString& name)
{
    Work work(s, Action::ManageBooks);
    if (booklock::lockAndFindSame(work, booklock::Book::Kinds, sameKind(name, kind.id))) return {Outcome::Duplicate, {}};
    if (std::optional<Answer> refused = holdAsRead(work, QStringLiteral("vid_oper"), kind)) return *refused;
    updateRow(database(work), kindRow(int(kind.id), name));
    work.commit();
    return {};
}

Answer deleteKind(const Session& s, const RowAsRead& kind)
{
    Work work(s, Action::ManageBooks);
    if (std::optional<Answer> refused = holdAsRead(work, QStringLiteral("vid_oper"), kind)) return *refused;
    deleteRow(database(work), kindRow(int(kind.id), {}));
    work.commit();
    return {};
}

void deleteKind(const Session& s, int id)
{
    Work work(s, Action::ManageBooks);
    deleteRow(database(work), kindRow(id, {}));
    work.commit();
}

QVariantList storeNorm(const Session& s, const RowWrite& row, bool inserting)
{
    Work work(s, Action::ManageBooks);
    QVariantList key;
    if (inserting)
        key = insertRow(database(work), normRow(row));
    else
        updateRow(database(work), normRow(row));
    work.commit();
    return key;
}

void deleteNorm(const Session& s, const RowWrite& row)
{
    Work work(s, Action::ManageBooks);
    deleteRow(database(work), normRow(row));
    work.commit();
}

}  // namespace store

namespace store {

Answer changeNorm(const Session& s, const RowWrite& row)
{
    Work work(s, Action::ManageBooks);
    const RowWrite norm = normRow(row);
    if (std::optional<Answer> refused = holdAsRead(work, QStringLiteral("norm"), normAsRead(norm)))
        return *refused;
    updateRow(database(work), norm);
    work.commit();
    return {};
}

Answer removeNorm(const Session& s, const RowWrite& row)
{
    Work work(s, Action::ManageBooks);
    const RowWrite norm = normRow(row);
    if (std::optional<Answer> refused = holdAsRead(work, QStringLiteral("norm"), normAsRead(norm)))
        return *refused;
    deleteRow(database(work), norm);
    work.commit();
    return {};
}

}  // namespace store
