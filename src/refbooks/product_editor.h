#pragma once

class TDataModule6;
#include "refbooks/book_editor.h"

// The product editor "Изделие": the mark and its rate; the product group is derived from the mark.
class TForm7 : public BookEditor {
    Q_OBJECT
public:
    explicit TForm7(TDataModule6& data, QWidget* parent = nullptr);

    QLineEdit* Edit1;  // "Марка"
    QLineEdit* Edit2;  // "Расценка"

    void Button1Click() override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool Edit2KeyPress(const QString& typed);  // true when the key is taken away from the box
};
