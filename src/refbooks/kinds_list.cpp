#include "refbooks/kinds_list.h"

#include "core/data_module.h"
#include "core/dataset.h"
#include "store/books_store.h"
#include "refbooks/book_instances.h"
#include "refbooks/kind_editor.h"
#include "core/messages.h"
#include "refbooks/operation_dialog.h"

#include <QLineEdit>

namespace {

ListWindow::Look look()
{
    ListWindow::Look l;
    l.caption = QStringLiteral("Виды операций");
    l.columns = {{QStringLiteral("VID"), QStringLiteral("Операции"), 309}};
    l.gridSize = QSize(334, 529);
    l.fixedSize = false;
    l.searchField = QStringLiteral("vid");
    l.searchPlace = ListWindow::SearchPlace::BelowGrid;
    l.searchWidth = 333;
    // The search box is for picking only; an opener shows it.
    l.searchShown = false;
    return l;
}

}  // namespace

TForm8::TForm8(TDataModule6& data, QWidget* parent) : ListWindow(look(), data, parent)
{
    setObjectName(QStringLiteral("Form8"));
    resize(sizeHint());
}

Dataset* TForm8::dataset() const
{
    return data_.Vid_oper;
}

void TForm8::Button1Click()
{
    Form9->presetForAdd();
    Form9->exec();
}

void TForm8::Button2Click()
{
    Dataset* kinds = dataset();
    if (pickMode()) {
        choose();
        return;
    }
    // With no row there is nothing to change: a save would add a kind instead.
    if (kinds->isEmpty()) return;
    Form9->presetForChange(kinds->fieldByName(QStringLiteral("id")).asInteger(),
                           kinds->fieldByName(QStringLiteral("vid")).asString().trimmed());
    Form9->exec();
}

void TForm8::Button3Click()
{
    if (dataset()->isEmpty()) return;
    if (!msg::askYesNo(QStringLiteral("Удаление"), QStringLiteral("Удалить вид операции?"))) return;
    Dataset* kinds = dataset();
    store::deleteKind(data_.session(), kinds->fieldByName(QStringLiteral("id")).asInteger());
    kinds->close();
    kinds->open();
}

std::optional<PickedRow> pickKind(TForm8& book)
{
    std::optional<PickedRow> picked;
    openBookForPicking(&book, book.dataset(), true, [&picked](Dataset& kinds) {
        picked = PickedRow{kinds.fieldByName(QStringLiteral("id")).asInteger(),
                           kinds.fieldByName(QStringLiteral("vid")).asString().trimmed()};
    });
    return picked;
}
