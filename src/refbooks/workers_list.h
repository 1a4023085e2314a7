#pragma once
#include "refbooks/list_window.h"

// "Список рабочих": the workers book; in pick mode it hands the worker to the entry editor.
class TForm5 : public ListWindow {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    Dataset* dataset() const override;
    void Button1Click() override;
    void Button2Click() override;
    void Button3Click() override;
};
