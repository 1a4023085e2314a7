#pragma once
#include <QDialog>
#include <QString>
#include <optional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

// The one line a month's close or reopen goes with: a note at a close (it may stay empty), the reason
// at a reopen (required: OK with an empty box says so and keeps the dialog open).
class MonthNoteDialog : public QDialog {
    Q_OBJECT
public:
    MonthNoteDialog(const QString& caption, const QString& label, bool required, QWidget* parent = nullptr);

    QLabel* Label;
    QLineEdit* Edit;
    QDialogButtonBox* Buttons;  // "ОК" (also Enter) and "Отмена" (also Esc)

    // The typed text without the blanks around it.
    QString text() const;

    void accept() override;

private:
    bool required_;
};

// Asks for the note or reason; nothing when the user cancels.
std::optional<QString> askMonthNote(const QString& caption, const QString& label, bool required, QWidget* parent);
