#pragma once
#include <QDialog>

class Command;
class QDateEdit;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

// The shift entry editor: one production entry of the journal, added or changed. The journal presets it
// (entry_presets.h) and shows it modally; the editor writes the entry and the worker's time-sheet day itself.
class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);

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
    Command* SmenaIU;      // the entry's insert or update

    int WorkerId = 0;
    int ProductId = 0;
    int OperId = 0;
    double FinalPrice = 0;

    void FormActivate();
    void Button3Click();
    void Button4Click();
    bool Edit3KeyPress(QKeyEvent* key);
    bool Edit4KeyPress(QKeyEvent* key);
    void Edit6Exit();
    void Button1Click();

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
};
