#pragma once

#include <QString>
#include <QVariant>

namespace re {

// The rows a report reads. Index-based, because a snapshot dataset holds all its rows in memory anyway,
// and because the layout must read the last row of a group again when it prints the group's footer.
// A dataset with a record filter exposes only the rows that pass it.
class RowSource {
public:
    virtual ~RowSource() = default;

    // The query's name; expressions may qualify a field with it ("t_Report.fio").
    virtual QString name() const = 0;
    virtual int fieldCount() const = 0;
    virtual QString fieldName(int field) const = 0;
    virtual int rowCount() const = 0;
    // A null QVariant is a database null.
    virtual QVariant value(int row, int field) const = 0;

    // Ignores letter case; -1 when there is no such field.
    virtual int fieldIndex(const QString& name) const;
};

} // namespace re
