#include "journal/entry_texts.h"



QString operationDescription(const QString& marka, const QString& vid, int naimen)
{
    return marka.trimmed() + QStringLiteral("; ") + vid.trimmed() + QStringLiteral("; ")
        + (naimen == 0 ? QStringLiteral("Готовая продукция") : QStringLiteral("Заготовки"));
}

bool isPaintingOperation(const QString& text)
{
    return text.trimmed().toUpper().contains(QStringLiteral("КРАСКА"));
}

