#include "support/books_fixture.h"

#include "support/test_database.h"

QString booksFixture(const QString& worker)
{
    return QStringLiteral("insert into accounts_dep.person (id, fio) values (1, %1);\n").arg(TestDatabase::quoted(worker))
           + QStringLiteral("insert into accounts_dep.izdel (id, marka, nom, massa) values (10, 'ПЛ-10', 'ПЛ', 1);\n"
                            "insert into accounts_dep.vid_oper (id, vid) values (5, 'Сварка');\n"
                            "insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (20, 5, 0, 10, 3.5);\n");
}
