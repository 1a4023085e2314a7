#include "books_fixture.h"

#include "book_opening.h"
#include "data_grid.h"
#include "data_module.h"
#include "entry_editor.h"
#include "instances.h"
#include "kind_editor.h"
#include "kinds_list.h"
#include "list_window.h"
#include "modal.h"
#include "operation_dialog.h"
#include "product_editor.h"
#include "products_list.h"
#include "worker_editor.h"
#include "workers_list.h"

#include "startup.h"

#include <QCoreApplication>
#include <QDialog>
#include <QtTest>

void createBookWindows()
{
    if (!DataModule6) DataModule6 = new TDataModule6(QCoreApplication::instance());
    createWindows();  // as the program makes them
}

void onNextModal(std::function<void(QDialog*)> step)
{
    whenModal([step](QWidget* w) {
        auto* dialog = qobject_cast<QDialog*>(w);
        step(dialog);
        if (dialog && dialog->isVisible()) dialog->reject();
    });
}

void whileManaging(ListWindow* book, Dataset* list, std::function<void()> step)
{
    onNextModal([step](QDialog*) { step(); });
    openBookForManaging(book, list);
}

void whilePicking(ListWindow* book, Dataset* list, bool endAfter, std::function<void()> step)
{
    onNextModal([step](QDialog*) { step(); });
    openBookForPicking(book, list, endAfter);
}

QStringList shownTexts(Dataset* ds, const QString& field)
{
    QStringList out;
    const int col = ds->fieldIndex(field);
    for (int r = 0; r < ds->recordCount(); ++r) out << ds->valueAt(r, col).toString();
    return out;
}

void doubleClickRow(DataGrid* grid, int row)
{
    const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

void typeText(QWidget* w, const QString& text)
{
    // QTest::keyClicks passes Latin-1 only.
    for (QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QString plain(QString caption)
{
    return caption.remove(u'&');
}
