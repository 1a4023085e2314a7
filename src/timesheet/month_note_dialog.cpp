#include "timesheet/month_note_dialog.h"

#include "core/messages.h"
#include "store/month_store.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

MonthNoteDialog::MonthNoteDialog(const QString& caption, const QString& label, bool required, QWidget* parent)
    : QDialog(parent), required_(required)
{
    setObjectName(QStringLiteral("MonthNoteDialog"));
    setWindowTitle(caption);
    Label = new QLabel(label, this);
    Label->setObjectName(QStringLiteral("Label"));
    Edit = new QLineEdit(this);
    Edit->setObjectName(QStringLiteral("Edit"));
    Edit->setMinimumWidth(360);
    Label->setBuddy(Edit);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Buttons->setObjectName(QStringLiteral("Buttons"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label);
    layout->addWidget(Edit);
    layout->addWidget(Buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString MonthNoteDialog::text() const
{
    return Edit->text().trimmed();
}

void MonthNoteDialog::accept()
{
    if (required_ && text().isEmpty()) {
        msg::error(store::reasonRequiredText());
        Edit->setFocus();
        return;
    }
    QDialog::accept();
}

std::optional<QString> askMonthNote(const QString& caption, const QString& label, bool required, QWidget* parent)
{
    MonthNoteDialog dialog(caption, label, required, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.text();
}
