#pragma once
#include "store/field_def.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace store {

// A statement that reads rows for a dataset, named after the dataset that runs it: its lines (joined by
// line breaks when sent), the fields it declares and, for rows edited in place, the table they are
// written back to. The texts live here, with the rest of the database layer; windows and reports take
// them by name.
struct Read {
    QString name;
    QStringList sql;
    QList<FieldDef> fields;  // empty: every column as the driver reports it
    // Rows written back to this table by these key fields (no key: by all their original values);
    // no table: the rows are only read.
    QString table;
    QStringList keys;

    QString text() const { return sql.join(u'\n'); }
};

namespace reads {

// The product kind of an operation's group flag, as the journal and the operations book show it.
inline const QString kProductKindColumn =
    QStringLiteral("(SELECT (CASE naimen WHEN 0 THEN 'Готовая продукция' ELSE 'Заготовки' END)) as nmn");

// What an entry of accounts_dep.smena earns: its good pieces at its price, rounded to the kopeck. The
// journal shows it, and every report that sums earnings adds these, so that a worker's statement, the
// summary reports and the journal's lines agree to the kopeck.
inline const QString kEntryEarnings = QStringLiteral("round((kol_vo-brak)*smena.cena::numeric, 2)");

}  // namespace reads

}  // namespace store
