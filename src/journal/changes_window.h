#pragma once
#include "spreadsheet/spreadsheet.h"
#include "store/reads/history.h"

#include <QDate>
#include <QDialog>
#include <vector>

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class TDataModule6;

// "Журнал изменений": the changes of a period in the journal, the books and the time sheet's months, newest
// first, filtered by table, who and workstation; shown a page at a time and written into a spreadsheet.
class TForm26 : public QDialog {
    Q_OBJECT
public:
    explicit TForm26(TDataModule6& data, QWidget* parent = nullptr);

    QGroupBox* GroupBox1;          // "Период"
    QDateEdit* DateFrom;           // the first day, included
    QDateEdit* DateTo;             // the last day, included
    QComboBox* TableBox;           // "Все", "Журнал", each book, "Табель"
    QLineEdit* ActorEdit;          // who: the beginning of the actor's name
    QLineEdit* WorkstationEdit;    // the beginning of the workstation ("user@host")
    QPushButton* ShowButton;       // "Показать": the first page of the filter
    QTableWidget* ChangesGrid;
    QLabel* CountLabel;            // how many are shown, and whether earlier ones follow
    QPushButton* MoreButton;       // "Еще": the next page
    QPushButton* ExcelButton;      // "Excel": the lines shown, into a workbook
    QPushButton* ExitButton;       // "Выход", also Esc

    // The grid's columns.
    enum Column { When, Table, Row, Operation, Changes, DbUser, Actor, Role, Workstation, Address, Application, ColumnCount };

    int PageSize = 200;
    // Where the exported workbook goes and what opens it; tests put their own here.
    Spreadsheet::Opener WorkbookOpener = Spreadsheet::openOnDesktop;
    QString WorkbookFolder;  // empty: the program's own workbook folder

    void ShowButtonClick();
    void MoreButtonClick();
    void ExcelButtonClick();

    // The filter as the boxes say it.
    store::reads::ChangeFilter filter() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void append(const store::reads::ChangesPage& page);

    TDataModule6& data_;
    store::reads::ChangeFilter shown_;     // the filter of the lines shown
    store::reads::HistoryVersion last_;    // the last line shown: the next page starts after it
    bool more_ = false;
};

// The journal's menu "Журнал изменений": the current month of `today` preset, its first page read, the
// window shown modally.
void openChangesWindow(TForm26& window, const QDate& today);
