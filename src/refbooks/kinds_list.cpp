#include "refbooks/kinds_list.h"

#include "core/data_module.h"
#include "core/dataset.h"
#include "store/books_store.h"
#include "refbooks/book_instances.h"
#include "refbooks/kind_editor.h"
#include "core/messages.h"
#include "core/row_as_read.h"
#include "core/stale_row.h"
#include "refbooks/operation_dialog.h"

#include <QLineEdit>

namespace {

// The columns of the table a change or a delete compares with the row as stored, and the list's fields that show them.
const std::vector<std::pair<QString, QString>> kKindColumns{{QStringLiteral("vid"), QStringLiteral("VID")}};

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
                           kinds->fieldByName(QStringLiteral("vid")).asString().trimmed(),
                           rowAsRead(*kinds, QStringLiteral("id"), kKindColumns));
    Form9->exec();
}

void TForm8::Button3Click()
{
    if (dataset()->isEmpty()) return;
    Dataset* kinds = dataset();
    // The kind as the list showed it when asked: one changed elsewhere meanwhile is not deleted.
    const store::RowAsRead kind = rowAsRead(*kinds, QStringLiteral("id"), kKindColumns);
    if (!msg::askYesNo(QStringLiteral("Удаление"), QStringLiteral("Удалить вид операции?"))) return;
    const store::Answer answer = store::deleteKind(data_.session(), kind);
    kinds->close();
    kinds->open();
    tellIfNotDeleted(answer);
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
