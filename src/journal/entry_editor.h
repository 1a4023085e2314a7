#pragma once

class TDataModule6;
#include <QDate>
#include <QDialog>
#include <QString>
#include <optional>

#include "store/row_check.h"

class Dataset;
class QDateEdit;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

// What the journal hands the editor when it opens it.
struct EntryContext {
    int shift = 1;                    // 1, 2, 3, or 4 for overtime: the entry is written for this shift
    bool dayOff = false;              // the journal's "Выходной": doubles the piece price
    QDate date;                       // the journal's date: a new entry's date
    const QWidget* opener = nullptr;  // the editor shows centred over it
};

// The entry to change, as the journal's row holds it.
struct EntryRow {
    int id = 0;
    int worker = 0;
    int product = 0;
    int operation = 0;
    double price = 0;
    QDate date;
    QString name;      // fio
    QString mark;      // marka
    QString kind;      // vid
    int group = 0;     // naimen
    QString quantity;  // as the journal shows them
    QString rejects;
    QString hours;
    QString colour;
    // The entry's columns as the journal read them: a change, a delete or an acceptance is written only
    // while the entry stands so.
    store::RowAsRead asRead;
};

// The current row of a journal dataset (Smena1 ... Smena4).
EntryRow entryRowOf(Dataset& journal);

// The shift entry editor: one production entry of the journal, added or changed. The journal presets it
// (presetForAdd, presetForChange) and shows it modally; the editor saves the entry through the store.
class TForm11 : public QDialog {
    Q_OBJECT
public:
    TDataModule6& data_;
    explicit TForm11(TDataModule6& data, QWidget* parent = nullptr);

    int Tag = 1;  // 1 = new entry, anything else = change of the journal's current entry

    QGroupBox* GroupBox1;  // "Закрыто мастером"
    QLineEdit* Edit1;      // the chosen worker's name
    QPushButton* Button3;  // the worker picker
    QLineEdit* Edit2;      // the chosen operation: mark; kind; group
    QPushButton* Button4;  // the operation picker
    QLineEdit* Edit3;      // quantity
    QLineEdit* Edit6;      // hours
    QLineEdit* Edit5;      // colour code, for painting operations only
    QLabel* Label6;        // its label
    QDateEdit* DTimeP;     // the entry's date
    QLineEdit* Edit4;      // rejects
    QLineEdit* Edit8;      // base price
    QLineEdit* Edit7;      // final price
    QLineEdit* Edit9;      // sum
    QPushButton* Button1;  // "Запись"
    QPushButton* Button2;  // "Отмена"

    int WorkerId = 0;
    int ProductId = 0;
    int OperId = 0;
    double FinalPrice = 0;

    // A new entry on the context's date: empty boxes, rejects and hours "0".
    void presetForAdd(const EntryContext& context);
    // A change of the given entry.
    void presetForChange(const EntryContext& context, const EntryRow& entry);

    void FormActivate();
    void Button3Click();
    void Button4Click();
    bool Edit3KeyPress(QKeyEvent* key);
    bool Edit4KeyPress(QKeyEvent* key);
    void Edit6Exit();
    void Button1Click();
    // The date was left or picked: a day of a closed month is refused at once (the message), once per
    // month the date enters; the boxes keep what was typed.
    void DTimePExit();

    // The final price and the sum from FinalPrice and the quantity, as the recomputation writes them.
    void showPriceAndSum();
    // Turns the colour box on for painting operations; off and empty for the others.
    void enableColour(bool painting);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    double basePrice() const;
    void clearBoxes();
    // Another workstation changed or deleted the entry since it was read: the journal is read again, the
    // boxes show the entry as it is now (or the editor closes when it is gone), and the user is told how.
    void showChangedElsewhere(const store::Answer& answer, Dataset& journal);

    QWidget* calendarPopup_ = nullptr;
    QDate checkedMonth_;              // the first day of the month DTimePExit last asked about
    EntryContext context_;            // what the journal handed over at the last opening
    std::optional<EntryRow> entry_;   // the entry being changed; none for a new one
};
