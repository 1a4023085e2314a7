#pragma once

class TDataModule6;
#include "refbooks/book_opening.h"
#include "refbooks/list_window.h"

// "Список рабочих": the workers book; in pick mode it hands the worker to the entry editor.
class TForm5 : public ListWindow {
    Q_OBJECT
public:
    explicit TForm5(TDataModule6& data, QWidget* parent = nullptr);

    Dataset* dataset() const override;
    void Button1Click() override;
    void Button2Click() override;
    void Button3Click() override;
};

// The entry editor's worker "...": the book in pick mode over the workers; the chosen worker's id and
// trimmed name, nothing when the book was closed without a choice.
std::optional<PickedRow> pickWorker(TForm5& book);
