#include "books_fixture.h"

#include "refbooks/book_opening.h"
#include "refbooks/kinds_list.h"
#include "refbooks/products_list.h"
#include "refbooks/workers_list.h"
#include "core/data_grid.h"
#include "core/data_module.h"
#include "journal/entry_editor.h"
#include "refbooks/kind_editor.h"
#include "refbooks/kinds_list.h"
#include "refbooks/list_window.h"
#include "support/modal.h"
#include "refbooks/operation_dialog.h"
#include "refbooks/product_editor.h"
#include "refbooks/products_list.h"
#include "refbooks/worker_editor.h"
#include "refbooks/workers_list.h"

#include "journal/startup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <QDialog>
#include <QtTest>

void createBookWindows()
{
    if (!DataModule6) DataModule6 = new TDataModule6(QCoreApplication::instance());
    // Made as the program makes them; they live to the end of the test binary, past the application
    // object, so they are never taken down.
    static auto* windows = new ProgramWindows;
    windows->createWindows();
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

std::optional<PickedRow> whilePicking(ListWindow* book, std::function<void()> step)
{
    onNextModal([step](QDialog*) { step(); });
    if (auto* workers = qobject_cast<TForm5*>(book)) return pickWorker(*workers);
    if (auto* products = qobject_cast<TForm3*>(book)) return pickProduct(*products);
    if (auto* kinds = qobject_cast<TForm8*>(book)) return pickKind(*kinds);
    return std::nullopt;
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

QPointer<QWidget> windowOpenedBy(const std::function<void()>& action)
{
    QPointer<QWidget> before = QApplication::activeModalWidget();
    QPointer<QWidget> opened;
    QTimer::singleShot(0, [&opened, before] {
        QWidget* w = QApplication::activeModalWidget();
        if (w && w != before) {
            opened = w;
            if (auto* dialog = qobject_cast<QDialog*>(w)) dialog->reject();
        }
    });
    action();
    QCoreApplication::processEvents();
    return opened;
}

QString plain(QString caption)
{
    return caption.remove(u'&');
}
