#include "support/books_fixture.h"

#include "support/test_database.h"

QString booksFixture(const QString& worker)
{
    return QStringLiteral("insert into accounts_dep.person (id, fio) values (1, %1);\n").arg(TestDatabase::quoted(worker))
           + QStringLiteral("insert into accounts_dep.izdel (id, marka, nom, massa) values (10, 'ПЛ-10', 'ПЛ', 1);\n"
                            "insert into accounts_dep.vid_oper (id, vid) values (5, 'Сварка');\n"
                            "insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (20, 5, 0, 10, 3.5);\n");
}

store::EntryValues fixtureEntry(const QString& quantity, const QString& hours, int colour, const QDate& day)
{
    store::EntryValues v;
    v.worker = 1;
    v.product = 10;
    v.operation = 20;
    v.shift = 1;
    v.price = QStringLiteral("3.5");
    v.quantity = quantity;
    v.rejects = QStringLiteral("0");
    v.hours = hours;
    v.colour = colour;
    v.date = day;
    v.entered = day;
    return v;
}
