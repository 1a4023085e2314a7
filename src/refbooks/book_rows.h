#pragma once
#include <QString>
#include <functional>
#include <optional>

class Dataset;

// Writes a book's row through its shared dataset: a new row when `adding`, otherwise the current row, with
// the fields `fill` sets; then re-reads the dataset. When anything fails (a number that does not convert,
// a statement the database rejects) the started row is dropped before the error goes on, so nothing is
// left half-done in the dataset.
void storeRow(Dataset* list, bool adding, const std::function<void()>& fill);
