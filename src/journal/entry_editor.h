#pragma once
#include <QDialog>

class QLineEdit;

// The shift entry editor. So far only what the workers and operations books fill when picking.
class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);

    QLineEdit* Edit1;  // the chosen worker's name
    QLineEdit* Edit2;  // the chosen operation: mark; kind; group
    int WorkerId = 0;
    int ProductId = 0;
    int OperId = 0;
    double FinalPrice = 0;
};
