#include "core/row_as_read.h"

#include "core/dataset.h"

store::RowAsRead rowAsRead(Dataset& ds, const QString& key, const std::vector<std::pair<QString, QString>>& columns)
{
    store::RowAsRead r;
    r.id = ds.fieldByName(key).value().toLongLong();
    for (const auto& [column, field] : columns) r.fields.emplace_back(column, ds.fieldByName(field).value());
    return r;
}

store::RowAsRead rowAsRead(Dataset& ds, const QString& key, const QStringList& columns)
{
    std::vector<std::pair<QString, QString>> same;
    for (const QString& c : columns) same.emplace_back(c, c);
    return rowAsRead(ds, key, same);
}
