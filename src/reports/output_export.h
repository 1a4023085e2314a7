#pragma once
#include <functional>

class Dataset;
class QObject;
class Spreadsheet;
class TDataModule6;

// XLS_Rep of the reports window: the good pieces and their mass per product, operation kind, product
// kind and colour over the period data1 (included) to data2 (excluded), in product order.
Dataset* makeOutputQuery(TDataModule6& data, QObject* owner);

// Told the rows written so far and the rows to write.
using ExportCount = std::function<void(int written, int rows)>;

// The output by products into a new workbook, shown to the user unsaved: the header "Наименование",
// "Операция", "Вид продукции", "Коробки", "Кол-во", then one row per row of XLS_Rep that its filter
// lets through. XLS_Rep is opened here with the parameters and filter it has, and closed again however
// the export ends. `counted` hears 0 of R once the workbook is made, then each row written.
void exportOutputByProducts(Dataset& XLS_Rep, Spreadsheet& book, const ExportCount& counted);

// Column 2 of an export row: the operation kind with its colour: " (грунт)" for 1, " (цвет: N)" above.
QString operationWithColour(const QString& vid, int color);
