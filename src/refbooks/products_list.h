#pragma once
#include "refbooks/list_window.h"

// "Изделия": the products book; in pick mode it hands the product to the operation price dialog.
class TForm3 : public ListWindow {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    Dataset* dataset() const override;
    void Button1Click() override;
    void Button2Click() override;
    void Button3Click() override;
};
