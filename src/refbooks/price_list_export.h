#pragma once

class Dataset;
class QObject;
class Spreadsheet;

// XLS_Rep of the operations book: every operation, with or without norms, at its own price cena_new,
// in mark, kind and group order.
Dataset* makePriceListQuery(QObject* owner);

// The price list into a new workbook, shown to the user unsaved: the header "Марка", "Операция",
// "Цена", "Вид", then one row per operation of XLS_Rep. A cell that cannot be written has been
// reported by the spreadsheet and the list goes on; the query is closed again however it ends.
void exportPriceList(Dataset* XLS_Rep, Spreadsheet& book);
