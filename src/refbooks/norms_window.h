#pragma once

class TDataModule6;
#include <QDialog>

#include "store/row_check.h"

class DataGrid;
class Dataset;
class QPushButton;

// "Норматив": the norm rows of one operation, edited in place. Each row is stored as the user leaves a
// changed cell, and at the latest by "Сохранить"; the operations book then shows the new count and lowest price.
class TForm22 : public QDialog {
    Q_OBJECT
public:
    TDataModule6& data_;
    explicit TForm22(TDataModule6& data, QWidget* parent = nullptr);

    // The whole norm table, ordered by norma; the operations book filters it to one operation.
    Dataset* norm;
    DataGrid* DBGrid1;
    QPushButton* Button1;  // "Сохранить"
    QPushButton* Button2;  // "Удалить"

    // Set while the row being edited was started as a new one.
    bool NewRow = false;

    void DBGrid1ColEnter();
    void DBGrid1ColExit();
    void Button1Click();
    void Button2Click();

private:
    // Another workstation changed or deleted the norm since the grid read it: the grid's edit is given up
    // and the norms read again; the refusal, worded, goes to the error box.
    void refuseIfStale(const store::Answer& answer);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};
