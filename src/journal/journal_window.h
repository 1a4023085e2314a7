#pragma once

class TDataModule6;
#include <QDate>
#include <QDialog>

struct CellDraw;
struct EntryContext;
class DataGrid;
class Dataset;
class QAction;
class QCheckBox;
class QDateEdit;
class QLabel;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTimer;

// The journal window "Табель": the entries of one date and shift coloured by acceptance, and the hub
// from which the other windows open. Shown modally by the sign-in; closing it ends the program.
class TForm1 : public QDialog {
    Q_OBJECT
public:
    TDataModule6& data_;
    explicit TForm1(TDataModule6& data, QWidget* parent = nullptr);

    // Creation handler: connects with the command-line arguments (database name, server address); the
    // window owner then creates the sign-in window. False when the database cannot be reached: the user
    // has been told, and the program ends.
    bool FormCreate(const QStringList& arguments);

    int ShiftNumber = 1;              // 1, 2, 3, or 4 for overtime
    QString Role;                     // the word typed at sign-in; the actor's role decides, not this
    Dataset* ShiftDataset = nullptr;  // the journal dataset of ShiftNumber, for the entry editor
    int BuildDate = 0;                // the running build's stamp, set by the version check
    int BuildTime = 0;

    QMenuBar* MainMenu1;
    QAction* N2;  // "Справочники"
    QAction* N1;   // "Рабочие": the workers book, to manage it
    QAction* N3;   // "Изделия": the products book
    QAction* N4;   // "Цены": the operations book with their norms and prices
    QAction* N6;   // "Операции": the operation kinds book
    QAction* N8;
    QAction* N11;  // "Табель по времени"
    QAction* N7;   // "Отчеты"
    QAction* N10;  // "Сводные отчеты": the reports window, over last month
    QAction* N12;  // "Расчетные листки": the pay statements window, over last month
    QAction* N14;  // "Журнал изменений": the changes of the current month
    QAction* N15;  // "Пользователи": shown to full access where people sign in by name
    QAction* N13;  // "История записи", Ctrl+H and the grid's context menu: the current entry's history
    QAction* N5;  // "Выход"
    QRadioButton* RadioButton1;  // "Смена №1": the journal of shift 1
    QRadioButton* RadioButton2;  // "Смена №2"
    QRadioButton* RadioButton3;  // "Смена №3"
    QRadioButton* RadioButton4;  // "Переработка": overtime, shift number 4
    QLabel* Label1;
    QDateEdit* DateT;
    QCheckBox* CBox1;
    QLabel* MonthStateLabel;  // "Месяц 03.2024 закрыт" when the month of the date shown is closed; empty otherwise
    DataGrid* DBGrid2;
    QPushButton* Button1;  // "Добавить": the entry editor on a new entry
    QPushButton* Button2;  // "Изменить": the entry editor on the current entry
    QPushButton* Button3;  // "Удалить": the current entry, after a question
    QPushButton* Button8;  // "Обновить": the date's entries read again
    QPushButton* Button4;  // "Выход", also Esc: closing it ends the program
    QTimer* Timer1;   // the version check every 30 seconds

    void FormActivate();
    void DateTChange();
    void CBox1Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void DBGrid2DrawColumnCell(CellDraw& cell);
    void DBGrid2DblClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button8Click();
    void Button4Click();
    void N1Click();
    void N3Click();
    void N4Click();
    void N6Click();
    void N11Click();
    void N10Click();
    void N12Click();
    void N13Click();
    void N14Click();
    void N15Click();
    void N5Click();
    void Timer1Timer();

    // The entries of the date in DateT, for all four shifts.
    void loadDate();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The calendar drop-down has closed: a day picked in it, or a date its arrow keys left in the box,
    // is loaded.
    void DateTCloseUp();
    void buildMenu();
    void buildGrid();
    void selectShift(int shift);
    // What the entry editor is opened with: the shift, the day-off box and the date shown here.
    EntryContext entryContext() const;
    void paintShiftButtons(int shift);
    // Reads whether the month of the loaded date is closed and shows it.
    void showMonthState();
    // Refuses (the closed month's message) a write on a day of a closed month, asking the database at the
    // click: another workstation may have closed the month since the date was loaded.
    void refuseInClosedMonth(const QDate& day);

    QWidget* calendarPopup_ = nullptr;
    QDate loadedDate_;         // the date the journal datasets were loaded for
    bool dayPicked_ = false;   // a day was clicked or chosen with Enter in the open drop-down
};
