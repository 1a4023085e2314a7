#pragma once

class TDataModule6;
#include <QDialog>

#include "store/row_check.h"

class Dataset;

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

    // The row being changed as its list read it: the change is written only while the row stands so.
    store::RowAsRead AsRead;

protected:
    BookEditor(const QString& caption, const QString& groupTitle, TDataModule6& data, QWidget* parent = nullptr);

    TDataModule6& data_;

    // A line edit of the given width with its label (the label names the box for screen readers too).
    QLineEdit* addLineEdit(const char* name, const QString& label, int width);
    void addRow(const QString& label, QWidget* box);

    // Another workstation changed or deleted the row since its list read it: the editor closes, the list
    // is read again to show the row as it is now, and the user is told how. False for any other answer.
    bool closedAsStale(const store::Answer& answer, Dataset* list);

    // Activation: the first box takes the focus.
    void showEvent(QShowEvent* e) override;

private:
    QGroupBox* group_;
    QFormLayout* form_;
    QWidget* first_ = nullptr;
};
