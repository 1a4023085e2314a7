#pragma once

class TDataModule6;
#include <QDialog>

class QFormLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;

// The editor every reference book is built on: one group box of labelled boxes above "Записать" (the
// default button) and "Отмена" (the cancel button). The caller sets the caption, Tag (1 add, anything else
// change) and the boxes and shows it modally; Button1Click validates, checks for duplicates, writes, reloads
// the shared dataset and closes the editor.
class BookEditor : public QDialog {
    Q_OBJECT
public:
    int Tag = 0;

    QPushButton* Button1;  // "Записать"
    QPushButton* Button2;  // "Отмена"

    virtual void Button1Click() = 0;

protected:
    BookEditor(const QString& caption, const QString& groupTitle, TDataModule6& data, QWidget* parent = nullptr);

    TDataModule6& data_;

    // A line edit of the given width with its label (the label names the box for screen readers too).
    QLineEdit* addLineEdit(const char* name, const QString& label, int width);
    void addRow(const QString& label, QWidget* box);

    // Activation: the first box takes the focus.
    void showEvent(QShowEvent* e) override;

private:
    QGroupBox* group_;
    QFormLayout* form_;
    QWidget* first_ = nullptr;
};
