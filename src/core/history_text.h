#pragma once
#include "store/reads/history.h"

#include <QString>

// How the history windows word what the history holds: tables, operations, roles and values in the
// program's Russian, numbers and dates as the workstation writes them.
namespace historytext {

// "Журнал", "Рабочие", ... for a table of the history; the name itself for one the program does not know.
QString tableName(const QString& table);

// "добавление", "изменение", "удаление", ...
QString operationName(const QString& op);

// The role in the program's words ("Полный доступ", ...); empty for a writer that said none.
QString roleName(const QString& roleWord);

// A field's value before or after the change: the name of the worker, product or operation it refers to
// (the number, marked, where the books no longer have it), a date, a number with the workstation's
// separator, or the text; empty for none.
QString valueText(const store::reads::HistoryField& field, bool after);

// The moment, to the second.
QString momentText(const QDateTime& at);

// The row the version is of: the entry's or book row's number, the month of a month's event.
QString rowText(const store::reads::HistoryVersion& version);

// In one line, what the version did: "Кол-во: 10 → 12; Часы: 8 → 6" for a change, the fields with their
// values for an insert, a delete or a month's event.
QString changeSummary(const store::reads::HistoryVersion& version);

}  // namespace historytext
