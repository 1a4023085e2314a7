#pragma once
#include "store/reads/read.h"

// Reads of the printed reports and the output export, each over the journal entries of the period from
// :data1 (included) to :data2 (excluded).
namespace store::reads {

Read workersReport();         // t_Report of the report by workers: good pieces and earnings per worker and product
Read productsReport();        // t_Report of the report by products: good pieces and mass per product
Read workersDetailReport();   // w_Report: pieces, rejects, earnings and bonus per worker, mark and kind
Read productsDetailReport();  // i_Report: pieces, rejects, earnings and mass per product and mark
Read outputByProducts();      // XLS_Rep of the reports window: good pieces and mass per product, for the workbook

}  // namespace store::reads
