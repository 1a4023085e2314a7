#pragma once
#include "store/reads/history.h"
#include "store/store.h"

#include <QString>
#include <QVariant>
#include <optional>
#include <utility>
#include <vector>

// Writing back a row only while it stands as the window read it. Two workstations open the same entry or
// book row; one saves; the other's save, made from what it read before, would silently put the first
// one's fields back. So a change, a delete or an acceptance carries the row as read, and its verb holds the
// row inside its transaction and writes nothing when another workstation changed or deleted it meanwhile.
namespace store {

// A row as a window read it: its key, and the values it showed by column of its table (accounts_dep).
struct RowAsRead {
    qint64 id = 0;
    std::vector<std::pair<QString, QVariant>> fields;
};

// How a row stands when it is no longer as read.
struct RowChange {
    // The columns that differ: `before` as read, `after` as stored now; captioned and named as the history
    // shows them. Empty when the row is gone.
    std::vector<reads::HistoryField> fields;
    // The history's latest version of the row: who changed or deleted it, and when; none where it keeps none.
    std::optional<reads::HistoryVersion> last;
};

// What a verb that carries the row as read answers: its outcome and, for Changed and Gone, how the row
// stands now. Compares with an Outcome, so `verb(...) == Outcome::Duplicate` reads as for the other verbs.
struct Answer {
    Outcome outcome = Outcome::Saved;
    RowChange change;

    bool operator==(Outcome o) const { return outcome == o; }
};

// Inside the work: holds row `asRead.id` of accounts_dep.`table` (select ... for update, so nobody changes
// it until the transaction ends) and compares the columns the window read. Nothing when the row stands as
// read; otherwise Changed or Gone with how, and the verb writes nothing.
std::optional<Answer> holdAsRead(const Work& work, const QString& table, const RowAsRead& asRead);

// The same for a row read whole from a dataset over the table (the norms grid): its key `keyColumn`, and
// every other column as read.
RowAsRead rowAsRead(const QStringList& columns, const QVector<QVariant>& values, const QString& keyColumn);

}  // namespace store
