#include "operation_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

// Read-only and skipped by Tab: only a pick fills it.
QLineEdit* pickedBox(QWidget* parent, const char* name, int width)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::ClickFocus);
    if (width > 0) e->setFixedWidth(width);
    return e;
}

}  // namespace

TForm10::TForm10(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Цена операции"));
    Edit1 = pickedBox(this, "Edit1", 329);
    Edit2 = pickedBox(this, "Edit2", 0);
    auto* form = new QFormLayout(this);
    auto* mark = new QLabel(QStringLiteral("Марка изделия"), this);
    mark->setBuddy(Edit1);
    auto* kind = new QLabel(QStringLiteral("Операция"), this);
    kind->setBuddy(Edit2);
    form->addRow(mark, Edit1);
    form->addRow(kind, Edit2);
}
