#pragma once
#include "refbooks/list_window.h"

// "Виды операций": the operation kinds book; in pick mode it hands the kind to the operation price dialog.
class TForm8 : public ListWindow {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);

    Dataset* dataset() const override;
    void Button1Click() override;
    void Button2Click() override;
    void Button3Click() override;
};
