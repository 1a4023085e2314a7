#include "entry_presets.h"

#include "dataset.h"
#include "entry_editor.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>

namespace {

// The editor's number boxes, date picker and colour label are reached by their names, so that the editor
// may grow them as it likes.
QLineEdit* box(TForm11& editor, const char* name)
{
    return editor.findChild<QLineEdit*>(QLatin1String(name));
}

void setBox(TForm11& editor, const char* name, const QString& text)
{
    if (QLineEdit* e = box(editor, name)) e->setText(text);
}

void setDate(TForm11& editor, const QDate& date)
{
    if (auto* picker = editor.findChild<QDateEdit*>(QStringLiteral("DTimeP"))) picker->setDate(date);
}

void enableColour(TForm11& editor, bool on)
{
    if (QLineEdit* e = box(editor, "Edit5")) e->setEnabled(on);
    if (auto* label = editor.findChild<QLabel*>(QStringLiteral("Label6"))) label->setEnabled(on);
}

// The editor's mode, 1 = new entry, 2 = change: its member Tag once it has one, a property of that name
// until then.
template <typename Editor>
void setMode(Editor& editor, int tag)
{
    if constexpr (requires { editor.Tag = tag; })
        editor.Tag = tag;
    else
        editor.setProperty("Tag", tag);
}

}  // namespace

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
    setDate(editor, date);
    editor.Edit1->clear();
    editor.Edit2->clear();
    setBox(editor, "Edit3", QString());
    setBox(editor, "Edit5", QString());
    setBox(editor, "Edit4", QStringLiteral("0"));
    setBox(editor, "Edit6", QStringLiteral("0"));
    editor.setWindowTitle(QStringLiteral("Заведение новой позиции"));
    setMode(editor, 1);
}

void presetEntryForChange(TForm11& editor, Dataset& entry)
{
    auto field = [&entry](const char* name) { return entry.fieldByName(QLatin1String(name)); };
    editor.setWindowTitle(QStringLiteral("Изменение данных о позиции"));
    setMode(editor, 2);
    editor.FinalPrice = field("cena").asDouble();
    setDate(editor, field("data").asDate());
    editor.Edit1->setText(field("fio").asString().trimmed());
    editor.Edit2->setText(operationDescription(field("marka").asString(), field("vid").asString(), field("naimen").asInteger()));
    setBox(editor, "Edit3", field("kol_vo").asString());
    setBox(editor, "Edit4", field("brak").asString());
    editor.WorkerId = field("w_id").asInteger();
    editor.ProductId = field("i_id").asInteger();
    editor.OperId = field("o_id").asInteger();
    setBox(editor, "Edit6", field("time").asString());
    const bool painting = isPaintingOperation(field("vid").asString());
    setBox(editor, "Edit5", painting ? field("color").asString() : QString());
    enableColour(editor, painting);
}
