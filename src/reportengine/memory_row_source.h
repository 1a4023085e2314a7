#pragma once

#include "reportengine/row_source.h"

#include <QStringList>
#include <QVariantList>
#include <vector>

namespace re {

// Rows held in plain vectors: for reports over computed data, for tests and for benchmarks.
class MemoryRowSource : public RowSource {
public:
    MemoryRowSource(QString name, QStringList fields, std::vector<QVariantList> rows = {});

    void append(QVariantList row);
    void clear();

    QString name() const override { return name_; }
    int fieldCount() const override { return int(fields_.size()); }
    QString fieldName(int field) const override { return fields_.at(field); }
    int rowCount() const override { return int(rows_.size()); }
    QVariant value(int row, int field) const override;

private:
    QString name_;
    QStringList fields_;
    std::vector<QVariantList> rows_;
};

} // namespace re
