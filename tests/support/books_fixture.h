#pragma once
#include "store/journal_store.h"

#include <QDate>
#include <QString>

// The books most database tests start from: worker 1 (`worker`, "Алексеев А.А." unless told), product 10
// "ПЛ-10" (group "ПЛ", one box), kind 5 "Сварка", and operation 20: welding finished ПЛ-10 at 3.5 (the
// database gives it its first norm). A test adds its own rows after it.
QString booksFixture(const QString& worker = QStringLiteral("Алексеев А.А."));

// An entry over those books: worker 1 welds ПЛ-10 (operation 20) at 3.5 in shift 1, one piece, no rejects.
store::EntryValues fixtureEntry(const QString& quantity, const QString& hours, int colour, const QDate& day);
