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

// The lines of the pay statements: every entry of the period, one per row, in worker, date and shift order.
// :worker is a worker's code, or 0 for every worker with entries in the period; a worker named by code
// who has none still gets one row, its entry columns null. With :accepted 1 only accepted entries count.
// Per row: the worker (code, fio), the entry (data, smena, marka, nom, vid, color, kol_vo, brak, good,
// cena, hours, ok), what raised its price where the entry tells it (factor, null for none; day_off 1
// when the price is the operation's lowest norm price doubled for a day off), its earnings (summa, as
// kEntryEarnings), its bonus (bonus, null where prize is 0), closed_note (for a period that is one whole
// closed month: when it was closed and the worker's totals kept then; empty otherwise) and new_day, 1 on the worker's first entry
// of a date, so that summing it counts the days worked.
Read payStatementLines();

}  // namespace store::reads
