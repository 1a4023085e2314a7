#pragma once

class TDataModule6;
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// The sign-in window "Авторизация", the application's main window: the word typed selects the role,
// the journal window is shown modally, and when it closes the program ends. Where people sign in by name
// (the server said so before this window was made), a name box stands above the box, which then takes
// the person's password, and the role comes from the person's group in the database.
class TForm23 : public QDialog {
    Q_OBJECT
public:
    TDataModule6& data_;
    explicit TForm23(TDataModule6& data, QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* Edit1;      // the sign-in word, shown as "*"; the password where people sign in by name
    QLabel* NameLabel = nullptr;    // only where people sign in by name
    QLineEdit* NameEdit = nullptr;
    QPushButton* Button1;  // "Вход", the default button
    QPushButton* Button2;  // "Отмена", also Esc and the close box
    QTimer* Timer1;        // started by the version gate; ends the program 5 seconds later

    void FormActivate();
    void Button1Click();
    void Button2Click();
    void Timer1Timer();

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showJournal();
    void signInByName();
    bool activated_ = false;
};
