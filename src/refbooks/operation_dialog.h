#pragma once

class TDataModule6;
#include "refbooks/book_editor.h"

class QComboBox;
class QLineEdit;
class QPushButton;

// The text of an operation's group flag: 0 is finished products, any other value blanks.
QString operationGroupText(int naimen);

// An operation as the operations list shows it.
struct OperationRow {
    int id = 0;
    int productId = 0;
    QString mark;
    int kindId = 0;
    QString kind;
    int naimen = 0;
    store::RowAsRead asRead;  // as the list read it
};

// The operation price dialog: an operation is a product, a kind of work and a group, picked here; no
// two operations share all three. Its prices are its norms, kept in the norms grid.
class TForm10 : public BookEditor {
    Q_OBJECT
public:
    explicit TForm10(TDataModule6& data, QWidget* parent = nullptr);

    QLineEdit* Edit1;      // the chosen product's mark
    QLineEdit* Edit2;      // the chosen kind's name
    QPushButton* Button3;  // "..." picks the product
    QPushButton* Button4;  // "..." picks the kind
    QComboBox* ComboBox1;  // the group: its index is the operation's naimen
    int ChosenProductId = 0;
    int ChosenKindId = 0;
    int OperationId = 0;  // the operation being changed

    // Empty boxes, finished products and the caption of a new operation.
    void presetForAdd();
    // The operation's product, kind and group and the caption of a change.
    void presetForChange(const OperationRow& row);

    void Button1Click() override;
    void Button3Click();
    void Button4Click();
};
