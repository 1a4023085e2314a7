#pragma once

class TDataModule6;
#include "refbooks/list_window.h"

#include <optional>
#include "spreadsheet/spreadsheet.h"

class QCheckBox;

// What the journal window's state makes of a picked operation's price: its "Выходной" box and the
// shift number (1, 2, 3, or 4 for overtime).
struct PriceFactors {
    bool dayOff = false;
    int shift = 1;
};

// The piece price of an entry: the lowest norm price x2.0 on a day off, then x1.2 in shift 3 or x1.5
// in overtime; shifts 1 and 2 add nothing.
double piecePrice(double lowestNormPrice, PriceFactors factors);

// "Операции": the operations book. Managed from the journal's menu "Цены" with
// openBookForManaging(Form4, DataModule6->Oper); picked from the entry editor with pickOperation().
class TForm4 : public ListWindow {
    Q_OBJECT
public:
    explicit TForm4(TDataModule6& data, QWidget* parent = nullptr);

    QPushButton* Button5;  // "Excel", the price list
    QCheckBox* CheckBox1;  // "Цены": a double click opens the operation's norms instead of the price dialog
    Dataset* XLS_Rep;      // every operation at its own price, for the price list

    // Where the price list's workbook goes and what opens it; tests put their own here.
    Spreadsheet::Opener WorkbookOpener = Spreadsheet::openOnDesktop;
    QString WorkbookFolder;  // empty: the program's own workbook folder

    Dataset* dataset() const override;
    void Button1Click() override;
    void Button2Click() override;
    void Button3Click() override;
    void Button5Click();
    void DBGrid1DblClick() override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};

// What the entry editor takes from a chosen operation: its product and id, the piece price (the lowest
// norm price with the factors applied) and the text that names it (mark; kind; group).
struct PickedOperation {
    int productId = 0;
    int operId = 0;
    double finalPrice = 0;
    QString text;
};

// The entry editor's operation "...": shows the book for a pick, on the first operation, or on
// `entryOperId` when an entry is being changed. Closing the book, or choosing while the search shows no
// operation, hands nothing back. Oper is left open and unfiltered, so that the editor can read the chosen
// operation's lowest norm price from it.
std::optional<PickedOperation> pickOperation(TForm4& book, PriceFactors factors, int entryOperId = 0);
