#include "journal/entry_presets.h"

#include "core/dataset.h"
#include "journal/entry_editor.h"

#include <QDateEdit>
#include <QLineEdit>

QString operationDescription(const QString& marka, const QString& vid, int naimen)
{
    return marka.trimmed() + QStringLiteral("; ") + vid.trimmed() + QStringLiteral("; ")
        + (naimen == 0 ? QStringLiteral("Готовая продукция") : QStringLiteral("Заготовки"));
}

bool isPaintingOperation(const QString& text)
{
    return text.trimmed().toUpper().contains(QStringLiteral("КРАСКА"));
}

void presetEntryForAdd(TForm11& editor, const QDate& date)
{
    editor.DTimeP->setDate(date);
    editor.Edit1->clear();
    editor.Edit2->clear();
    editor.Edit3->clear();
    editor.Edit5->clear();
    editor.Edit4->setText(QStringLiteral("0"));
    editor.Edit6->setText(QStringLiteral("0"));
    // Prices of an entry left by "Отмена" belong to no operation of the new one.
    editor.Edit7->clear();
    editor.Edit8->clear();
    editor.Edit9->clear();
    editor.setWindowTitle(QStringLiteral("Заведение новой позиции"));
    editor.Tag = 1;
}

void presetEntryForChange(TForm11& editor, Dataset& entry)
{
    auto field = [&entry](const char* name) { return entry.fieldByName(QLatin1String(name)); };
    editor.setWindowTitle(QStringLiteral("Изменение данных о позиции"));
    editor.Tag = 2;
    editor.FinalPrice = field("cena").asDouble();
    editor.DTimeP->setDate(field("data").asDate());
    editor.Edit1->setText(field("fio").asString().trimmed());
    editor.Edit2->setText(operationDescription(field("marka").asString(), field("vid").asString(), field("naimen").asInteger()));
    editor.Edit3->setText(field("kol_vo").asString());
    editor.Edit4->setText(field("brak").asString());
    editor.WorkerId = field("w_id").asInteger();
    editor.ProductId = field("i_id").asInteger();
    editor.OperId = field("o_id").asInteger();
    editor.Edit6->setText(field("time").asString());
    const bool painting = isPaintingOperation(field("vid").asString());
    editor.Edit5->setText(painting ? field("color").asString() : QString());
    editor.enableColour(painting);
    // The base price is shown once the operation is picked again.
    editor.Edit8->clear();
    editor.showPriceAndSum();
}
