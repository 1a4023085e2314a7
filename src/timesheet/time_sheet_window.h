#pragma once
#include "spreadsheet/spreadsheet.h"

#include <QDate>
#include <QDialog>
#include <QList>

struct CellDraw;
class DataGrid;
class Dataset;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class TDataModule6;
class TForm15;

// "Табель по времени": the hours of every worker and day of one month, one tab per shift, rebuilt from
// the journal on request, exported to a spreadsheet and printed (TForm15). Opened from the journal
// with openTimeSheet().
class TForm19 : public QDialog {
    Q_OBJECT
public:
    TForm19(TDataModule6& data, TForm15& print, QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    DataGrid* DBGrid1;  // shift 1, H_Tabel_1
    DataGrid* DBGrid2;  // shift 2, H_Tabel_2
    DataGrid* DBGrid3;  // shift 3, H_Tabel_3
    QPushButton* Button1;  // "Перестроить"
    QPushButton* CloseMonthButton;  // "Закрыть месяц", or "Открыть месяц" when the month shown is closed
    QLabel* MonthStateLabel;        // when, by whom and why the month shown was closed; empty while it is open
    QProgressBar* PB;      // shown only while a rebuild runs
    QPushButton* Button2;  // "Excel"
    QPushButton* Button6;  // "Печать"
    QComboBox* ComboBox1;  // the months, January first
    QComboBox* ComboBox2;  // the years from 2007 to next year
    QPushButton* Button5;  // "Обновить"
    QPushButton* Button4;  // "Выход", also Esc

    // Where the exported workbook goes and what opens it; tests put their own here.
    Spreadsheet::Opener WorkbookOpener = Spreadsheet::openOnDesktop;
    QString WorkbookFolder;  // empty: the program's own workbook folder

    // The chosen month (1 ... 12) and year.
    int month() const;
    int year() const;
    // Puts the years from 2007 to the one after today's into ComboBox2, keeping the chosen year.
    void fillYears(const QDate& today);
    // Chooses a year in ComboBox2; a year outside the list chooses the nearest end of it.
    void selectYear(int year);

    void FormActivate();
    void ComboBox1Change();
    void DBGrid1DrawColumnCell(CellDraw& cell, DataGrid& grid);
    void Button1Click();
    void CloseMonthButtonClick();
    void Button5Click();
    void Button2Click();
    void Button6Click();

    // H_Tabel_1, H_Tabel_2 and H_Tabel_3, in the order of the tabs.
    QList<Dataset*> shiftDatasets() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* makeTab(DataGrid*& grid, const char* name, QWidget* extras = nullptr);
    void reopenShifts();
    // Reads whether the month in the boxes is closed, and shows it in the label and the button.
    void showMonthState();

    bool monthClosed_ = false;  // as last read by showMonthState

    TDataModule6& data_;
    TForm15& print_;
};

// The journal's "Табель по времени": the year list made for `today`, the month and year of the journal
// date, that month loaded, the window shown modally, and the three shift datasets closed again afterwards.
void openTimeSheet(TForm19& window, const QDate& journalDate, const QDate& today = QDate::currentDate());
