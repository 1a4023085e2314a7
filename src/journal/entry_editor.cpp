#include "entry_editor.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

TForm11::TForm11(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form11"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setReadOnly(true);
    auto* form = new QFormLayout(this);
    auto* worker = new QLabel(QStringLiteral("ФИО"), this);
    worker->setBuddy(Edit1);
    auto* oper = new QLabel(QStringLiteral("Операция"), this);
    oper->setBuddy(Edit2);
    form->addRow(worker, Edit1);
    form->addRow(oper, Edit2);
}
