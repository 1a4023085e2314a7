#pragma once

class TDataModule6;
#include "refbooks/book_editor.h"

// The operation kind editor: the kind's name.
class TForm9 : public BookEditor {
    Q_OBJECT
public:
    explicit TForm9(TDataModule6& data, QWidget* parent = nullptr);

    QLineEdit* Edit1;  // "Операция"

    int KindId = 0;  // the kind being changed

    // An empty name and the caption of a new kind.
    void presetForAdd();
    // The kind's name and the caption of a change.
    void presetForChange(int id, const QString& name, const store::RowAsRead& asRead = {});

    void Button1Click() override;
};
