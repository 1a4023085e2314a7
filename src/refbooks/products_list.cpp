#include "refbooks/products_list.h"

#include "core/data_module.h"
#include "core/dataset.h"
#include "store/books_store.h"
#include "refbooks/book_instances.h"
#include "core/messages.h"
#include "core/row_as_read.h"
#include "core/stale_row.h"
#include "refbooks/operation_dialog.h"
#include "refbooks/product_editor.h"

#include <QLineEdit>

namespace {

// The columns of the table a change or a delete compares with the row as stored, and the list's fields that show them.
const std::vector<std::pair<QString, QString>> kProductColumns{
    {QStringLiteral("marka"), QStringLiteral("MARKA")}, {QStringLiteral("nom"), QStringLiteral("nom")}, {QStringLiteral("massa"), QStringLiteral("massa")}};

ListWindow::Look look()
{
    ListWindow::Look l;
    l.caption = QStringLiteral("Изделия");
    l.columns = {{QStringLiteral("MARKA"), QStringLiteral("Марка изделия"), 315},
                 {QStringLiteral("massa"), QStringLiteral("Коробки"), 67, Qt::AlignLeft}};
    l.gridSize = QSize(406, 529);
    l.searchField = QStringLiteral("marka");
    l.searchPlace = ListWindow::SearchPlace::BelowGrid;
    l.searchWidth = 405;
    l.searchKeys = ListWindow::SearchKeys::AllButUpDown;
    // Changing is by double click only, and there is no search, until an opener shows them.
    l.searchShown = false;
    l.editButtonsShown = false;
    return l;
}

}  // namespace

TForm3::TForm3(TDataModule6& data, QWidget* parent) : ListWindow(look(), data, parent)
{
    setObjectName(QStringLiteral("Form3"));
}

Dataset* TForm3::dataset() const
{
    return data_.Izdel;
}

void TForm3::Button1Click()
{
    Dataset* izdel = dataset();
    const int row = izdel->recNo();
    Form7->presetForAdd();
    Form7->exec();
    izdel->setRecNo(row);
}

void TForm3::Button2Click()
{
    Dataset* izdel = dataset();
    const int row = izdel->recNo();
    if (pickMode()) {
        choose();
    } else {
        // With no row there is nothing to change: a save would add a product instead.
        if (izdel->isEmpty()) return;
        Form7->presetForChange({izdel->fieldByName(QStringLiteral("id")).asLargeInt(),
                                izdel->fieldByName(QStringLiteral("marka")).asString().trimmed(),
                                izdel->fieldByName(QStringLiteral("massa")).asString().trimmed(),
                                rowAsRead(*izdel, QStringLiteral("id"), kProductColumns)});
        Form7->exec();
    }
    izdel->setRecNo(row);
}

void TForm3::Button3Click()
{
    if (dataset()->isEmpty()) return;
    Dataset* izdel = dataset();
    // The product as the list showed it when asked: one changed elsewhere meanwhile is not deleted.
    const store::RowAsRead product = rowAsRead(*izdel, QStringLiteral("id"), kProductColumns);
    if (!msg::askYesNo(QStringLiteral("Удаление"), QStringLiteral("Удалить изделие?"))) return;
    const store::Answer answer = store::deleteProduct(data_.session(), product);
    // Re-read, staying on the row that took the deleted one's place (the last row when it was the last).
    izdel->refresh();
    tellIfNotDeleted(answer);
}

std::optional<PickedRow> pickProduct(TForm3& book)
{
    std::optional<PickedRow> picked;
    openBookForPicking(&book, book.dataset(), true, [&picked](Dataset& izdel) {
        picked = PickedRow{int(izdel.fieldByName(QStringLiteral("id")).asLargeInt()),
                           izdel.fieldByName(QStringLiteral("marka")).asString().trimmed()};
    });
    return picked;
}
