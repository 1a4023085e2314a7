#pragma once

class TDataModule6;
#include "refbooks/book_opening.h"
#include "refbooks/list_window.h"

// "Изделия": the products book; in pick mode it hands the product to the operation price dialog.
class TForm3 : public ListWindow {
    Q_OBJECT
public:
    explicit TForm3(TDataModule6& data, QWidget* parent = nullptr);

    Dataset* dataset() const override;
    void Button1Click() override;
    void Button2Click() override;
    void Button3Click() override;
};

// The operation dialog's product "...": the chosen product's id and trimmed mark, nothing when the book
// was closed without a choice or with no row to choose.
std::optional<PickedRow> pickProduct(TForm3& book);
