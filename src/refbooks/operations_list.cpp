#include "refbooks/operations_list.h"

#include "refbooks/book_opening.h"
#include "store/books_store.h"
#include "store/price_factors.h"
#include "core/data_module.h"
#include "core/error_report.h"
#include "refbooks/book_instances.h"
#include "core/messages.h"
#include "core/row_as_read.h"
#include "core/stale_row.h"
#include "refbooks/norms_window.h"
#include "refbooks/operation_dialog.h"
#include "refbooks/price_list_export.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The columns of the table a change or a delete compares with the row as stored, and the list's fields that show them.
const std::vector<std::pair<QString, QString>> kOperationColumns{
    {QStringLiteral("vid"), QStringLiteral("oper_vid")}, {QStringLiteral("naimen"), QStringLiteral("NAIMEN")}, {QStringLiteral("i_id"), QStringLiteral("i_id")}};

// Kept in the grid's row, out of sight: the keys the dialog and the pick read.
GridColumn hiddenColumn(const QString& field)
{
    GridColumn c;
    c.field = field;
    c.visible = false;
    return c;
}

ListWindow::Look look()
{
    ListWindow::Look l;
    l.caption = QStringLiteral("Операции");
    l.columns = {{QStringLiteral("MARKA"), QStringLiteral("Марка")},
                 {QStringLiteral("VID"), QStringLiteral("Опреция"), 243},
                 {QStringLiteral("cena"), QStringLiteral("Цена (min)"), 74},
                 {QStringLiteral("nmn"), QStringLiteral("Вид"), 139},
                 hiddenColumn(QStringLiteral("id")),
                 hiddenColumn(QStringLiteral("i_id")),
                 hiddenColumn(QStringLiteral("oper_vid")),
                 {QStringLiteral("norma"), QStringLiteral("Нормы (шт.)"), 76}};
    l.gridSize = QSize(865, 447);
    l.searchField = QStringLiteral("marka");
    l.searchWidth = 321;
    l.blankSearchShowsAll = true;
    return l;
}

}  // namespace

double piecePrice(double lowestNormPrice, PriceFactors factors)
{
    double price = lowestNormPrice;
    if (factors.dayOff) price *= store::pricefactor::kDayOff;
    // Shifts 1 and 2 multiply by exactly 1: the price stays as it was.
    price *= store::pricefactor::ofShift(factors.shift);
    return price;
}

TForm4::TForm4(TDataModule6& data, QWidget* parent) : ListWindow(look(), data, parent)
{
    setObjectName(QStringLiteral("Form4"));

    Button5 = new QPushButton(QStringLiteral("&Excel"), this);
    Button5->setObjectName(QStringLiteral("Button5"));
    CheckBox1 = new QCheckBox(QStringLiteral("&Цены"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    QFont bold = CheckBox1->font();
    bold.setBold(true);
    CheckBox1->setFont(bold);
    addToButtonRow(Button5);
    addToButtonRow(CheckBox1);

    XLS_Rep = makePriceListQuery(this);
    DBGrid1->installEventFilter(this);

    connect(Button5, &QPushButton::clicked, this, guarded([this] { Button5Click(); }));
}

Dataset* TForm4::dataset() const
{
    return data_.Oper;
}

void TForm4::Button1Click()
{
    Form10->presetForAdd();
    Form10->exec();
}

void TForm4::Button2Click()
{
    if (pickMode()) {
        choose();
        return;
    }
    // With no row there is nothing to change: a save would rewrite no operation yet look done.
    Dataset* oper = dataset();
    if (oper->isEmpty()) return;
    Form10->presetForChange({oper->fieldByName(QStringLiteral("id")).asInteger(),
                             oper->fieldByName(QStringLiteral("i_id")).asInteger(),
                             oper->fieldByName(QStringLiteral("marka")).asString().trimmed(),
                             oper->fieldByName(QStringLiteral("oper_vid")).asInteger(),
                             oper->fieldByName(QStringLiteral("vid")).asString().trimmed(),
                             oper->fieldByName(QStringLiteral("naimen")).asInteger(),
                             rowAsRead(*oper, QStringLiteral("id"), kOperationColumns)});
    Form10->exec();
}

void TForm4::Button3Click()
{
    Dataset* oper = dataset();
    if (oper->isEmpty()) return;
    // The operation as the list showed it when asked: one changed elsewhere meanwhile is not deleted.
    const store::RowAsRead operation = rowAsRead(*oper, QStringLiteral("id"), kOperationColumns);
    if (!msg::askYesNo(QStringLiteral("Удаление"), QStringLiteral("Удалить операцию?"))) return;
    // Its norms and journal entries stay: the journal keeps showing what was paid.
    const store::Answer answer = store::deleteOperation(data_.session(), operation);
    oper->close();
    oper->open();
    tellIfNotDeleted(answer);
}

void TForm4::DBGrid1DblClick()
{
    if (!CheckBox1->isChecked() || pickMode()) {
        Button2Click();
        return;
    }
    Dataset* oper = dataset();
    if (oper->isEmpty()) return;
    Dataset* norm = Form22->norm;
    norm->close();
    norm->setFilter(QStringLiteral("o_id=") + QString::number(oper->fieldByName(QStringLiteral("id")).asInteger()));
    norm->setFiltered(true);
    norm->open();
    Form22->exec();
}

bool TForm4::eventFilter(QObject* watched, QEvent* e)
{
    // Enter on a row does what a double click does, so the norms are in reach of the keyboard too.
    if (watched == DBGrid1 && e->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            guarded([this] { DBGrid1DblClick(); })();
            return true;
        }
    }
    return ListWindow::eventFilter(watched, e);
}

void TForm4::Button5Click()
{
    Spreadsheet book(WorkbookOpener, WorkbookFolder);
    exportPriceList(XLS_Rep, book);
}

std::optional<PickedOperation> pickOperation(TForm4& book, PriceFactors factors, int entryOperId)
{
    Dataset* oper = book.dataset();
    // Read afresh: operations and norms may have changed since the list was last open.
    oper->close();
    preparePicking(&book, oper);
    // Positioned after the search box is cleared, since clearing it re-reads the rows from the first.
    if (entryOperId != 0) oper->locate(QStringLiteral("id"), entryOperId);
    std::optional<PickedOperation> picked;
    if (book.exec() == QDialog::Accepted && !oper->isEmpty()) {
        PickedOperation p;
        p.productId = oper->fieldByName(QStringLiteral("i_id")).asInteger();
        p.operId = oper->fieldByName(QStringLiteral("id")).asInteger();
        p.finalPrice = piecePrice(oper->fieldByName(QStringLiteral("cena")).asDouble(), factors);
        // The mark as the product book has it now; the list shows it as it was read.
        p.text = store::productMark(store::programDb(), p.productId).trimmed() + QStringLiteral("; ")
                 + oper->fieldByName(QStringLiteral("vid")).asString().trimmed() + QStringLiteral("; ")
                 + operationGroupText(oper->fieldByName(QStringLiteral("naimen")).asInteger());
        picked = p;
    }
    endPicking(&book);
    oper->setFiltered(false);
    return picked;
}
