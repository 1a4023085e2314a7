#include "refbooks/book_opening.h"

#include "core/dataset.h"
#include "refbooks/list_window.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

// Qt keeps one default button per dialog and hands the role back to the last one made default when a
// focused button lets go of it, so "Добавить" is made the default again whenever "Выбрать" stops being it.
void makeAddTheDefault(ListWindow* book)
{
    book->Button2->setDefault(false);
    book->Button1->setDefault(true);
}

}  // namespace

void openBookForManaging(ListWindow* book, Dataset* list)
{
    book->Tag = 0;
    // A book opened for managing shows all its rows. Where its search box is hidden, a search a pick left
    // in it would hide rows with no box to clear it from.
    if (book->Edit1->isHidden()) book->Edit1->clear();
    list->open();
    makeAddTheDefault(book);
    book->Button2->setText(QStringLiteral("&Изменить"));
    book->Button1->show();
    book->Button3->show();
    book->exec();
    list->close();
}

void preparePicking(ListWindow* book, Dataset* list)
{
    book->Tag = 1;
    list->open();
    book->Button2->setText(QStringLiteral("&Выбрать"));
    book->Button2->setDefault(true);
    book->Button1->hide();
    book->Button3->hide();
    book->Edit1->show();
    book->Edit1->clear();
}

void endPicking(ListWindow* book)
{
    makeAddTheDefault(book);
    book->Edit1->hide();
}

void openBookForPicking(ListWindow* book, Dataset* list, bool endAfter, const std::function<void(Dataset&)>& read)
{
    preparePicking(book, list);
    const bool chosen = book->exec() == QDialog::Accepted;
    if (endAfter) endPicking(book);
    if (chosen && !list->isEmpty()) read(*list);
    list->close();
}
