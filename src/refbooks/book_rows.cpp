#include "refbooks/book_rows.h"

#include "core/dataset.h"

void reopen(Dataset* list)
{
    list->close();
    list->open();
}
