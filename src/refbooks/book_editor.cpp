#include "refbooks/book_editor.h"

#include "core/error_report.h"
#include "core/stale_row.h"
#include "refbooks/book_rows.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

BookEditor::BookEditor(const QString& caption, const QString& groupTitle, TDataModule6& data, QWidget* parent)
    : QDialog(parent), data_(data)
{
    setWindowTitle(caption);

    group_ = new QGroupBox(groupTitle, this);
    group_->setObjectName(QStringLiteral("GroupBox1"));
    QFont bold = group_->font();
    bold.setBold(true);
    group_->setFont(bold);
    form_ = new QFormLayout(group_);

    Button1 = new QPushButton(QStringLiteral("&Записать"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("О&тмена"), this);
    Button2->setObjectName(QStringLiteral("Button2"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* main = new QVBoxLayout(this);
    main->addWidget(group_);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

QLineEdit* BookEditor::addLineEdit(const char* name, const QString& label, int width)
{
    auto* edit = new QLineEdit(group_);
    edit->setObjectName(QLatin1String(name));
    edit->setFixedWidth(width);
    addRow(label, edit);
    return edit;
}

void BookEditor::addRow(const QString& label, QWidget* box)
{
    // Only the group's title is bold; its boxes and labels keep the window's font.
    QFont normal = group_->font();
    normal.setBold(false);
    auto* l = new QLabel(label, group_);
    l->setFont(normal);
    box->setFont(normal);
    l->setBuddy(box);
    form_->addRow(l, box);
    if (!first_) first_ = box;
    // Tab goes through the boxes in the order they were added, then to the buttons.
    QWidget::setTabOrder(box, Button1);
    QWidget::setTabOrder(Button1, Button2);
}

void BookEditor::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous() && first_) first_->setFocus();
}

bool BookEditor::closedAsStale(const store::Answer& answer, Dataset* list)
{
    if (!isStale(answer)) return false;
    reject();
    reopen(list);
    tellStaleRow(answer, answer == store::Outcome::Changed
                             ? QStringLiteral("Изменения не записаны. Список показывает запись такой, какая она сейчас.")
                             : QStringLiteral("Изменения не записаны."));
    return true;
}
