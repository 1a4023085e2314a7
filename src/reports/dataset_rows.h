#pragma once
#include "core/dataset.h"
#include "reportengine/row_source.h"

// An open dataset as the rows of a report: the rows that pass its record filter, in its order, read in
// place (a snapshot holds its rows already, so nothing is copied). The report's query name is the
// dataset's name, so expressions may qualify fields with it. The dataset must stay open while the report
// is prepared.
class DatasetRows : public re::RowSource {
public:
    explicit DatasetRows(const Dataset& dataset) : ds_(dataset) {}

    QString name() const override { return ds_.name(); }
    int fieldCount() const override { return ds_.fieldCount(); }
    QString fieldName(int field) const override { return ds_.fieldNames().at(field); }
    int rowCount() const override { return ds_.recordCount(); }
    QVariant value(int row, int field) const override { return ds_.valueAt(row, field); }
    int fieldIndex(const QString& name) const override { return ds_.fieldIndex(name); }

private:
    const Dataset& ds_;
};
