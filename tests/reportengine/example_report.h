#pragma once

#include "reportengine/definition.h"
#include "reportengine/document.h"
#include "reportengine/memory_row_source.h"

#include <QStringList>

// A small report by workers, grouped by worker and product, with running sums per product,
// per worker and overall, over rows the test gives.
namespace example {

// Fields: fio, nom, vid, naimen, color, kolvo, summa.
re::MemoryRowSource workRows(std::vector<QVariantList> rows);
// Two workers; the first has two products.
std::vector<QVariantList> smallWorkSet();
re::ReportDefinition byWorkers();

// The texts of a page, one line per row of items (same top), left to right, joined by " | ";
// blank texts are left out.
QStringList pageLines(const re::Document& document, int page);

} // namespace example
