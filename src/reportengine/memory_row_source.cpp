#include "reportengine/memory_row_source.h"

namespace re {

MemoryRowSource::MemoryRowSource(QString name, QStringList fields, std::vector<QVariantList> rows)
    : name_(std::move(name)), fields_(std::move(fields)), rows_(std::move(rows))
{
}

void MemoryRowSource::append(QVariantList row)
{
    rows_.push_back(std::move(row));
}

void MemoryRowSource::clear()
{
    rows_.clear();
}

QVariant MemoryRowSource::value(int row, int field) const
{
    // A short row reads as nulls in its missing fields.
    const QVariantList& values = rows_.at(size_t(row));
    return field < values.size() ? values.at(field) : QVariant();
}

} // namespace re
