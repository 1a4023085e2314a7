#pragma once
#include "store/row_check.h"

#include <QString>
#include <utility>
#include <vector>

class Dataset;

// The current row of a dataset as the window read it, for a verb that writes it back only while it stands
// so: the key from field `key`, and for each column of the table the value of the dataset's field that
// shows it (column, field).
store::RowAsRead rowAsRead(Dataset& ds, const QString& key, const std::vector<std::pair<QString, QString>>& columns);

// The same where the dataset names its fields as the table its columns.
store::RowAsRead rowAsRead(Dataset& ds, const QString& key, const QStringList& columns);
