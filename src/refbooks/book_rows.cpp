#include "refbooks/book_rows.h"

#include "core/dataset.h"

void storeRow(Dataset* list, bool adding, const std::function<void()>& fill)
{
    if (adding)
        list->insert();
    else
        list->edit();
    try {
        fill();
        list->post();
    } catch (...) {
        list->cancel();
        throw;
    }
    list->close();
    list->open();
}
