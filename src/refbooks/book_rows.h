#pragma once
#include <QString>
#include <functional>
#include <optional>

class Dataset;

// The count statement of a book's duplicate check on a name column, whatever its letter case:
//   select count(*) as cnt from accounts_dep.<table> where upper(<column>)=upper('<text>')[ and id<><id>]
// The text goes in as a quoted literal, and the database upper-cases both sides alike (as its unique index
// on upper(<column>) does). When changing a row, `except` is that row's id, so it does not count itself.
QString sameNameCount(const QString& table, const QString& column, const QString& text, std::optional<qint64> except);

// Writes a book's row through its shared dataset: a new row when `adding`, otherwise the current row, with
// the fields `fill` sets; then re-reads the dataset. When anything fails (a number that does not convert,
// a statement the database rejects) the started row is dropped before the error goes on, so nothing is
// left half-done in the dataset.
void storeRow(Dataset* list, bool adding, const std::function<void()>& fill);
