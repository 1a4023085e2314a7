#pragma once
#include "store/role.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class TDataModule6;

// One person's name, role and password, as "Пользователи" asks for them: all three for a new person, the
// role or the password alone for one already there.
class PersonDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add, Role, Password };
    PersonDialog(Mode mode, const QString& name, store::Role role, QWidget* parent = nullptr);

    QLineEdit* NameEdit;
    QComboBox* RoleBox;      // in the order of kRoles
    QLineEdit* PasswordEdit;
    QLineEdit* RepeatEdit;   // the password again
    QPushButton* SaveButton; // "Сохранить", the default button
    QPushButton* CancelButton;

    QString name() const;
    store::Role role() const;
    QString password() const;

    void accept() override;

private:
    Mode mode_;
};

// "Пользователи": the people who sign in by name to this database and their roles; full access adds them,
// changes a role or a password, and removes them. Every change is the database's, through the store.
class TForm27 : public QDialog {
    Q_OBJECT
public:
    explicit TForm27(TDataModule6& data, QWidget* parent = nullptr);

    QTableWidget* PeopleGrid;    // name, role
    QPushButton* AddButton;      // "Добавить"
    QPushButton* RoleButton;     // "Изменить роль"
    QPushButton* PasswordButton; // "Пароль"
    QPushButton* RemoveButton;   // "Удалить"
    QPushButton* ExitButton;     // "Выход", also Esc

    // Reads the people anew.
    void load();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString chosenName() const;
    store::Role chosenRole() const;
    void addClick();
    void roleClick();
    void passwordClick();
    void removeClick();
    TDataModule6& data_;
};
