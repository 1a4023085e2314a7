#include "reports/output_export.h"

#include "core/data_module.h"
#include "core/dataset.h"
#include "core/number_format.h"
#include "core/wait_cursor.h"
#include "reports/report_period.h"
#include "spreadsheet/spreadsheet.h"
#include "store/reads/reports.h"

#include <cmath>

namespace {

// Closes the query at the end of the export, also when no workbook can be made or an error ends it,
// so that the next export reads the journal anew.
struct ClosedAfter {
    Dataset& query;
    ~ClosedAfter() { query.close(); }
};

}  // namespace

Dataset* makeOutputQuery(TDataModule6& data, QObject* owner)
{
    auto* q = new Dataset(store::reads::outputByProducts(), owner);
    q->setConnectionName(data.kConnection);
    return q;
}

QString operationWithColour(const QString& vid, int color)
{
    if (color == 1) return vid + QStringLiteral(" (грунт)");
    if (color > 1) return vid + QStringLiteral(" (цвет: ") + QString::number(color) + u')';
    return vid;
}

void exportOutputByProducts(Dataset& XLS_Rep, Spreadsheet& book, const ExportCount& counted)
{
    // The hourglass for the whole export; a message on the way has the arrow.
    WaitCursor waiting;
    XLS_Rep.open();
    ClosedAfter closing{XLS_Rep};
    if (book.OpenWorkbook(QString()) == -1) return;
    const int rows = XLS_Rep.recordCount();
    counted(0, rows);

    const QStringList header{QStringLiteral("Наименование"), QStringLiteral("Операция"),
                             QStringLiteral("Вид продукции"), QStringLiteral("Коробки"), QStringLiteral("Кол-во")};
    for (int c = 0; c < header.size(); ++c) book.WriteCell(1, c + 1, 1, header[c]);
    // A cell that fails has been reported; the rest of the rows are still worth having.
    XLS_Rep.first();
    for (int row = 2; !XLS_Rep.eof(); XLS_Rep.next(), ++row) {
        book.WriteCell(1, 1, row, XLS_Rep.fieldByName(QStringLiteral("nom")).asString());
        book.WriteCell(1, 2, row,
                       operationWithColour(XLS_Rep.fieldByName(QStringLiteral("vid")).asString(),
                                           XLS_Rep.fieldByName(QStringLiteral("color")).asInteger()));
        book.WriteCell(1, 3, row, productKindName(XLS_Rep.fieldByName(QStringLiteral("naimen")).asInteger()));
        book.WriteCell(1, 4, row, numfmt::general(XLS_Rep.fieldByName(QStringLiteral("mass")).asDouble()));
        book.WriteCell(1, 5, row,
                       QString::number(std::llround(XLS_Rep.fieldByName(QStringLiteral("kolvo")).asDouble())));
        counted(row - 1, rows);
    }
    book.ShowSpreadsheet(true);
}
