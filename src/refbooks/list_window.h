#pragma once
#include "core/data_grid.h"
#include "core/dataset.h"

#include <QDialog>
#include <QSize>

class QHBoxLayout;
class TDataModule6;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

// The list window every reference book is built on: a grid over one shared dataset of the data module,
// "Добавить" / "Изменить" / "Удалить" / "Выход" and a prefix search box. Tag 0 is manage mode, any other
// value pick mode; the opener prepares either (book_opening.h), the book supplies the three handlers.
class ListWindow : public QDialog {
    Q_OBJECT
public:
    // What the search box does with a key once Up or Down has moved the dataset: the workers, kinds and
    // operations books swallow every key but typing, Backspace and the dialog keys, so caret and Delete
    // keys do nothing there; the products book leaves all other keys to the box.
    enum class SearchKeys { TypingOnly, AllButUpDown };
    enum class SearchPlace { ButtonRow, BelowGrid };

    struct Look {
        QString caption;
        QList<GridColumn> columns;
        QSize gridSize;                       // the grid's minimum size; the window grows around it
        bool fixedSize = true;                // fixed dialog border, sized to the contents
        QString searchField;                  // the field the search box matches by prefix
        SearchPlace searchPlace = SearchPlace::ButtonRow;
        int searchWidth = 241;
        SearchKeys searchKeys = SearchKeys::TypingOnly;
        bool blankSearchShowsAll = false;     // only the operations book trims the search text for this
        bool searchShown = true;              // at start
        bool editButtonsShown = true;         // Button1, Button2, Button3 at start
    };

    int Tag = 0;

    DataGrid* DBGrid1;
    QPushButton* Button1;  // "Добавить", the window's default button
    QPushButton* Button2;  // "Изменить", or "Выбрать" in pick mode
    QPushButton* Button3;  // "Удалить"
    QPushButton* Button4;  // "Выход", the cancel button
    QLineEdit* Edit1;      // the search box

    bool pickMode() const { return Tag != 0; }
    // Pick mode's "Выбрать": the book closes accepted on a row; with no row to choose it only closes.
    // The caller reads the chosen row from the dataset (book_opening.h).
    void choose();
    // The shared dataset the grid shows; looked up when used, since the data module may come later.
    virtual Dataset* dataset() const = 0;

    virtual void Button1Click() = 0;
    virtual void Button2Click() = 0;  // change, or hand back the current row and close in pick mode
    virtual void Button3Click() = 0;
    virtual void DBGrid1DblClick() { Button2Click(); }
    void Edit1Change();

protected:
    ListWindow(const Look& look, TDataModule6& data, QWidget* parent = nullptr);

    TDataModule6& data_;

    // Puts a book's own control into the bottom row, after "Удалить" (the operations book's "Excel", "Цены").
    void addToButtonRow(QWidget* w);

    // Activation: the search box takes the focus when it is shown.
    virtual void FormActivate();
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool Edit1KeyDown(QKeyEvent* e);  // true when the key is marked handled

    Look look_;
    QLabel* searchLabel_;
    QHBoxLayout* buttonRow_;
    int extrasAt_ = 0;
    QWidget* lastBeforeSearch_ = nullptr;
};
