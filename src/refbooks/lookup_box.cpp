#include "refbooks/lookup_box.h"

#include "core/dataset.h"

#include <algorithm>

LookupBox::LookupBox(QWidget* parent) : QComboBox(parent)
{
    setMaxVisibleItems(10);
}

void LookupBox::fill(Dataset* table)
{
    const QVariant kept = keyValue();
    clear();
    for (table->first(); !table->eof(); table->next())
        addItem(table->fieldByName(QStringLiteral("s_caption")).asString(), table->fieldByName(QStringLiteral("id")).value());
    int at = -1;
    if (kept.isValid())
        for (int i = 0; i < count() && at < 0; ++i)
            if (itemData(i).toDouble() == kept.toDouble()) at = i;
    setCurrentIndex(at);
}

QVariant LookupBox::keyValue() const
{
    return currentIndex() < 0 ? QVariant() : currentData();
}

void LookupBox::step(int by)
{
    if (count() == 0) return;
    setCurrentIndex(currentIndex() < 0 ? 0 : std::clamp(currentIndex() + by, 0, count() - 1));
}
