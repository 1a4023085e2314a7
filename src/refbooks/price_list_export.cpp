#include "refbooks/price_list_export.h"

#include "store/reads/books.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "core/number_format.h"
#include "core/wait_cursor.h"
#include "refbooks/operation_dialog.h"
#include "spreadsheet/spreadsheet.h"

#include <QStringList>

namespace {

// Closes the query at the end of the export, also when a workbook cannot be made or an error ends it,
// so that the next export reads the operations anew.
struct ClosedAfter {
    Dataset* query;
    ~ClosedAfter() { query->close(); }
};

}  // namespace

Dataset* makePriceListQuery(QObject* owner)
{
    auto* q = new Dataset(store::reads::priceList(), owner);
    q->setConnectionName(TDataModule6::kConnection);
    return q;
}

void exportPriceList(Dataset* XLS_Rep, Spreadsheet& book)
{
    WaitCursor waiting;
    XLS_Rep->open();
    ClosedAfter closing{XLS_Rep};
    if (book.OpenWorkbook(QString()) == -1) return;
    XLS_Rep->first();
    const QStringList header{QStringLiteral("Марка"), QStringLiteral("Операция"), QStringLiteral("Цена"), QStringLiteral("Вид")};
    for (int c = 0; c < header.size(); ++c) book.WriteCell(1, c + 1, 1, header[c]);
    // A cell that fails has been reported; the rest of the list is still worth having.
    for (int row = 2; !XLS_Rep->eof(); XLS_Rep->next(), ++row) {
        book.WriteCell(1, 1, row, XLS_Rep->fieldByName(QStringLiteral("MARKA")).asString());
        book.WriteCell(1, 2, row, XLS_Rep->fieldByName(QStringLiteral("VID")).asString());
        book.WriteCell(1, 3, row, numfmt::general(XLS_Rep->fieldByName(QStringLiteral("cena")).asDouble()));
        book.WriteCell(1, 4, row, operationGroupText(XLS_Rep->fieldByName(QStringLiteral("NAIMEN")).asInteger()));
    }
    book.ShowSpreadsheet(true);
}
