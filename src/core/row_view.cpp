#include "core/row_view.h"

#include <algorithm>

void RowView::rebuild(const std::vector<Row>& rows, const std::function<bool(const Row&)>& pass, int orderColumn)
{
    positions_.clear();
    positions_.reserve(int(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i)
        if (!pass || pass(rows[i])) positions_.append(i);
    if (orderColumn < 0) return;
    std::stable_sort(positions_.begin(), positions_.end(), [&rows, orderColumn](int a, int b) {
        const QVariant& x = rows[a].at(orderColumn);
        const QVariant& y = rows[b].at(orderColumn);
        if (x.isNull() || y.isNull()) return x.isNull() && !y.isNull();
        return QVariant::compare(x, y) == QPartialOrdering::Less;
    });
}

void RowView::insertAt(int position, int row)
{
    positions_.insert(std::clamp(position, 0, int(positions_.size())), row);
}

void RowView::removeAt(int position)
{
    const int removed = positions_.at(position);
    positions_.remove(position);
    for (int& r : positions_)
        if (r > removed) --r;
}
