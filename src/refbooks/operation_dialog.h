#pragma once
#include <QDialog>

class QLineEdit;

// The operation price dialog. So far only what the products and kinds books fill when picking.
class TForm10 : public QDialog {
    Q_OBJECT
public:
    explicit TForm10(QWidget* parent = nullptr);

    QLineEdit* Edit1;  // the chosen product's mark
    QLineEdit* Edit2;  // the chosen kind's name
    int ChosenProductId = 0;
    int ChosenKindId = 0;
};
