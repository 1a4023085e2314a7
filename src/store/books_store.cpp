#include "store/books_store.h"

#include "store/book_lock.h"
#include "store/sql_text.h"

namespace store {

namespace bookssql {

QString sameNameCount(const QString& table, const QString& column, const QString& text, std::optional<qint64> except)
{
    // The program upper-cases the text: a database whose LC_CTYPE is C upper-cases Latin letters only.
    QString s = QStringLiteral("select count(*) as cnt from accounts_dep.%1 where upper(%2)=%3")
                    .arg(table, column, sqltext::quote(text.toUpper()));
    if (except) s += QStringLiteral(" and id<>") + QString::number(*except);
    return s;
}

QString sameOperationCount(int kind, int group, int product, std::optional<int> except)
{
    const QString triple = QStringLiteral(" from accounts_dep.OPER where vid=") + QString::number(kind)
                           + QStringLiteral(" and naimen=") + QString::number(group) + QStringLiteral(" and i_id=")
                           + QString::number(product);
    if (!except) return QStringLiteral("select count(ID) as cnt") + triple;
    return QStringLiteral("select count(*) as cnt") + triple + QStringLiteral(" and id<>") + QString::number(*except);
}

QString addOperation(int kind, int group, int product)
{
    return QStringLiteral("insert into accounts_dep.oper(vid, naimen, i_id, cena_new)values (%1, %2, %3, 0)")
        .arg(kind)
        .arg(group)
        .arg(product);
}

QString changeOperation(int id, int kind, int group, int product)
{
    return QStringLiteral("update accounts_dep.oper set vid=%1, naimen=%2,  i_id=%3 where id=%4").arg(kind).arg(group).arg(product).arg(id);
}

QString deleteOperation()
{
    return QStringLiteral("delete from accounts_dep.oper where id=:id");
}

QString wholeTable(const QString& table)
{
    return QStringLiteral("select * from ") + table;
}

QStringList priceList()
{
    return {
        QStringLiteral("select izdel.MARKA, vid_oper.VID, oper.NAIMEN,(SELECT (CASE naimen WHEN 0 THEN 'Готовая продукция' "
                       "ELSE 'Заготовки' END)) as nmn, oper.CENA_new as cena, oper.id, oper.i_id,"),
        QStringLiteral(" oper.VID as oper_vid from accounts_dep.OPER,accounts_dep.IZDEL,accounts_dep.VID_OPER where "
                       "OPER.i_id=IZDEL.id "),
        QStringLiteral("and oper.vid=vid_oper.id order by izdel.marka, vid_oper.vid, oper.naimen"),
    };
}

}  // namespace bookssql

void addWorker(const Session& s, const QString& fio, const QString& department)
{
    Work work(s, Action::ManageBooks);
    exec(work.db(), QStringLiteral("INSERT INTO accounts_dep.person (fio, s_staffpos_hl)VALUES(:fio, :dept)"),
         {{QStringLiteral("fio"), fio}, {QStringLiteral("dept"), department.isNull() ? QStringLiteral("") : department}});
    work.commit();
}

void changeWorker(const Session& s, int id, const QString& fio, const QString& department)
{
    Work work(s, Action::ManageBooks);
    exec(work.db(), QStringLiteral("UPDATE accounts_dep.person SET fio=:fio, s_staffpos_hl=:dept where accounts_dep.person.id=") + QString::number(id),
         {{QStringLiteral("fio"), fio}, {QStringLiteral("dept"), department.isNull() ? QStringLiteral("") : department}});
    work.commit();
}

void deleteWorker(const Session& s, int id)
{
    Work work(s, Action::ManageBooks);
    exec(work.db(), QStringLiteral("delete from accounts_dep.person where id =") + QString::number(id));
    work.commit();
}

Answer changeWorker(const Session& s, const RowAsRead& worker, const QString& fio, const QString& department)
{
    Work work(s, Action::ManageBooks);
    if (std::optional<Answer> refused = holdAsRead(work, QStringLiteral("person"), worker)) return *refused;
    exec(work.db(), QStringLiteral("UPDATE accounts_dep.person SET fio=:fio, s_staffpos_hl=:dept where accounts_dep.person.id=") + QString::number(worker.id),
         {{QStringLiteral("fio"), fio}, {QStringLiteral("dept"), department.isNull() ? QStringLiteral("") : department}});
    work.commit();
    return {};
}

Answer deleteWorker(const Session& s, const RowAsRead& worker)
{
    Work work(s, Action::ManageBooks);
    if (std::optional<Answer> refused = holdAsRead(work, QStringLiteral("person"), worker)) return *refused;
    exec(work.db(), QStringLiteral("delete from accounts_dep.person where id =") + QString::number(worker.id));
    work.commit();
    return {};
}

Outcome addOperation(const Session& s, int kind, int group, int product)
{
    Work work(s, Action::ManageBooks);
    if (booklock::lockAndFindSame(work, booklock::Book::Operations,
                                  bookssql::sameOperationCount(kind, group, product, std::nullopt)))
        return Outcome::Duplicate;
    exec(work.db(), bookssql::addOperation(kind, group, product));
    work.commit();
    return Outcome::Saved;
}

Outcome changeOperation(const Session& s, int id, int kind, int group, int product)
{
    Work work(s, Action::ManageBooks);
    if (booklock::lockAndFindSame(work, booklock::Book::Operations, bookssql::sameOperationCount(kind, group, product, id)))
        return Outcome::Duplicate;
    exec(work.db(), bookssql::changeOperation(id, kind, group, product));
    work.commit();
    return Outcome::Saved;
}

Answer changeOperation(const Session& s, const RowAsRead& operation, int kind, int group, int product)
{
    Work work(s, Action::ManageBooks);
    // The book's lock first, as every writer of the book takes it, then the row.
    if (booklock::lockAndFindSame(work, booklock::Book::Operations,
                                  bookssql::sameOperationCount(kind, group, product, int(operation.id))))
        return {Outcome::Duplicate, {}};
    if (std::optional<Answer> refused = holdAsRead(work, QStringLiteral("oper"), operation)) return *refused;
    exec(work.db(), bookssql::changeOperation(int(operation.id), kind, group, product));
    work.commit();
    return {};
}

Answer deleteOperation(const Session& s, const RowAsRead& operation)
{
    Work work(s, Action::ManageBooks);
    if (std::optional<Answer> refused = holdAsRead(work, QStringLiteral("oper"), operation)) return *refused;
    exec(work.db(), bookssql::deleteOperation(), {{QStringLiteral("id"), int(operation.id)}});
    work.commit();
    return {};
}

void deleteOperation(const Session& s, int id)
{
    Work work(s, Action::ManageBooks);
    exec(work.db(), bookssql::deleteOperation(), {{QStringLiteral("id"), id}});
    work.commit();
}

QString productMark(const Db& db, int productId)
{
    return scalar(db, QStringLiteral("select marka from accounts_dep.izdel where id=") + QString::number(productId)).toString();
}

}  // namespace store
