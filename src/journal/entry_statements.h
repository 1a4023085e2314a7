#pragma once
#include <QDate>
#include <QString>

// One journal entry as the editor writes it, and the statements of its save.
struct EntryValues {
    int worker = 0;
    int product = 0;
    int operation = 0;
    int shift = 1;
    QString price;     // with a point
    QString quantity;  // digits, as typed
    QString rejects;
    QString hours;
    int colour = 0;
    QDate date;
    QDate entered;     // the workstation's today
};

namespace entrysql {

// Counts the entries that equal this one in worker, operation, product, date, shift and colour; `changedId`
// (the entry being changed) is left out of the count, empty for a new entry.
QString duplicateCount(const EntryValues& v, const QString& changedId);

QString insert(const EntryValues& v);

// Keeps the entry's acceptance mark; rewrites the date of entry and clears the bonus and document links.
QString update(const EntryValues& v, const QString& id);

// Digits typed into a number box, checked before they become statement text; anything else, or a value
// beyond a 32-bit integer, is the standard conversion error.
QString wholeNumberText(const QString& text);
int wholeNumber(const QString& text);

}  // namespace entrysql
