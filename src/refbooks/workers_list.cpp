#include "refbooks/workers_list.h"

#include "store/books_store.h"
#include "core/data_module.h"
#include "refbooks/book_instances.h"
#include "core/messages.h"
#include "refbooks/worker_editor.h"
#include "core/row_as_read.h"
#include "core/stale_row.h"

#include <QLineEdit>

namespace {

ListWindow::Look look()
{
    ListWindow::Look l;
    l.caption = QStringLiteral("Список рабочих");
    l.columns = {{QStringLiteral("fio"), QStringLiteral("ФИО"), 300},
                 {QStringLiteral("s_staffpos_hl"), QStringLiteral("Должность"), 300}};
    l.fixedSize = false;
    l.searchField = QStringLiteral("fio");
    l.searchWidth = 241;
    return l;
}

// The columns a change or a delete compares with the worker as stored; the list names its fields the same.
const QStringList kWorkerColumns{QStringLiteral("fio"), QStringLiteral("s_staffpos_hl")};

// Re-reads the workers and goes back to a row number (the last row when fewer are left).
void reloadAt(Dataset* workers, int recNo)
{
    workers->close();
    workers->open();
    if (!workers->isEmpty()) workers->setRecNo(recNo);
}

}  // namespace

TForm5::TForm5(TDataModule6& data, QWidget* parent) : ListWindow(look(), data, parent)
{
    setObjectName(QStringLiteral("Form5"));
    setFixedSize(641, 550);
}

Dataset* TForm5::dataset() const
{
    return data_.Workers;
}

void TForm5::Button1Click()
{
    Form2->presetForAdd();
    Form2->exec();
    dataset()->close();
    dataset()->open();
}

void TForm5::Button2Click()
{
    Dataset* workers = dataset();
    if (pickMode()) {
        choose();
        return;
    }
    // With no row there is nothing to change: a save would rewrite no worker yet look done.
    if (workers->isEmpty()) return;
    const int row = workers->recNo();
    Form2->presetForChange({workers->fieldByName(QStringLiteral("id")).asInteger(),
                            workers->fieldByName(QStringLiteral("fio")).asString().trimmed(),
                            workers->fieldByName(QStringLiteral("s_staffpos_hl")).asString(),
                            rowAsRead(*workers, QStringLiteral("id"), kWorkerColumns)});
    Form2->exec();
    reloadAt(workers, row);
}

void TForm5::Button3Click()
{
    if (dataset()->isEmpty()) return;
    Dataset* workers = dataset();
    // The worker as the list showed it when asked: one changed elsewhere meanwhile is not deleted.
    const store::RowAsRead worker = rowAsRead(*workers, QStringLiteral("id"), kWorkerColumns);
    if (!msg::askYesNo(QStringLiteral("Удаление"), QStringLiteral("Удалить работника?"))) return;
    const int row = workers->recNo();
    const store::Answer answer = store::deleteWorker(data_.session(), worker);
    reloadAt(workers, row);
    tellIfNotDeleted(answer);
}

std::optional<PickedRow> pickWorker(TForm5& book)
{
    std::optional<PickedRow> picked;
    openBookForPicking(&book, book.dataset(), false, [&picked](Dataset& workers) {
        picked = PickedRow{workers.fieldByName(QStringLiteral("id")).asInteger(),
                           workers.fieldByName(QStringLiteral("fio")).asString().trimmed()};
    });
    return picked;
}
