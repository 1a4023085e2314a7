#pragma once

class TDataModule6;
#include "refbooks/book_editor.h"

// The operation kind editor: the kind's name.
class TForm9 : public BookEditor {
    Q_OBJECT
public:
    explicit TForm9(TDataModule6& data, QWidget* parent = nullptr);

    QLineEdit* Edit1;  // "Операция"

    void Button1Click() override;
};
