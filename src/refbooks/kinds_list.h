#pragma once

class TDataModule6;
#include "refbooks/book_opening.h"
#include "refbooks/list_window.h"

// "Виды операций": the operation kinds book; in pick mode it hands the kind to the operation price dialog.
class TForm8 : public ListWindow {
    Q_OBJECT
public:
    explicit TForm8(TDataModule6& data, QWidget* parent = nullptr);

    Dataset* dataset() const override;
    void Button1Click() override;
    void Button2Click() override;
    void Button3Click() override;
};

// The operation dialog's kind "...": the chosen kind's id and trimmed name, nothing when the book was
// closed without a choice or with no row to choose.
std::optional<PickedRow> pickKind(TForm8& book);
