#pragma once
#include <QVariant>
#include <QVector>
#include <functional>
#include <vector>

// Which of a dataset's rows are visible and in what order: those that pass the record filter, in the
// client order when one is set. Positions are 0-based; each holds the number of a row in the dataset.
class RowView {
public:
    using Row = QVector<QVariant>;

    // Every row that passes `pass` (all when it is empty), ordered by `orderColumn` (-1: as read).
    void rebuild(const std::vector<Row>& rows, const std::function<bool(const Row&)>& pass, int orderColumn);
    void clear() { positions_.clear(); }

    int size() const { return int(positions_.size()); }
    bool isEmpty() const { return positions_.isEmpty(); }
    int rowAt(int position) const { return positions_.at(position); }
    int positionOf(int row) const { return int(positions_.indexOf(row)); }

    // A row added to the dataset shown at a position; a row removed from the dataset at a position
    // (row numbers above it move down by one).
    void insertAt(int position, int row);
    void removeAt(int position);

private:
    QVector<int> positions_;
};
