#include "journal/people_window.h"

#include "core/data_module.h"
#include "core/error_report.h"
#include "core/messages.h"
#include "core/wait_cursor.h"
#include "store/people_store.h"
#include "store/reads/people.h"

#include <QComboBox>
#include <algorithm>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr store::Role kRoles[] = {store::Role::Bursar, store::Role::Foreman, store::Role::Depot, store::Role::Full};

QLineEdit* passwordBox(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setEchoMode(QLineEdit::Password);
    return e;
}

}  // namespace

PersonDialog::PersonDialog(Mode mode, const QString& name, store::Role role, QWidget* parent)
    : QDialog(parent), mode_(mode)
{
    setObjectName(QStringLiteral("PersonDialog"));
    setWindowTitle(mode == Mode::Add ? QStringLiteral("Новый пользователь") : QStringLiteral("Пользователь ") + name);
    NameEdit = new QLineEdit(name, this);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    NameEdit->setReadOnly(mode != Mode::Add);
    RoleBox = new QComboBox(this);
    RoleBox->setObjectName(QStringLiteral("RoleBox"));
    for (store::Role r : kRoles) {
        RoleBox->addItem(store::roleName(r));
        if (r == role) RoleBox->setCurrentIndex(RoleBox->count() - 1);
    }
    PasswordEdit = passwordBox(this, "PasswordEdit");
    RepeatEdit = passwordBox(this, "RepeatEdit");
    SaveButton = new QPushButton(QStringLiteral("Сохранить"), this);
    SaveButton->setObjectName(QStringLiteral("SaveButton"));
    SaveButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);

    auto* form = new QFormLayout;
    auto add = [&](const QString& text, QWidget* box, bool shown) {
        auto* label = new QLabel(text, this);
        label->setBuddy(box);
        form->addRow(label, box);
        label->setVisible(shown);
        box->setVisible(shown);
    };
    add(QStringLiteral("&Имя:"), NameEdit, true);
    add(QStringLiteral("&Роль:"), RoleBox, mode != Mode::Password);
    add(QStringLiteral("&Пароль:"), PasswordEdit, mode != Mode::Role);
    add(QStringLiteral("П&овтор пароля:"), RepeatEdit, mode != Mode::Role);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SaveButton);
    buttons->addWidget(CancelButton);
    auto* page = new QVBoxLayout(this);
    page->addLayout(form);
    page->addLayout(buttons);
    connect(SaveButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QString PersonDialog::name() const { return NameEdit->text().trimmed(); }
store::Role PersonDialog::role() const { return kRoles[std::max(0, RoleBox->currentIndex())]; }
QString PersonDialog::password() const { return PasswordEdit->text(); }

void PersonDialog::accept()
{
    if (name().isEmpty()) {
        msg::error(QStringLiteral("Введите имя пользователя."));
        return;
    }
    if (mode_ != Mode::Role) {
        if (PasswordEdit->text().isEmpty()) {
            msg::error(QStringLiteral("Введите пароль."));
            return;
        }
        if (PasswordEdit->text() != RepeatEdit->text()) {
            msg::error(QStringLiteral("Пароли не совпадают."));
            return;
        }
    }
    QDialog::accept();
}

TForm27::TForm27(TDataModule6& data, QWidget* parent) : QDialog(parent), data_(data)
{
    setObjectName(QStringLiteral("Form27"));
    setWindowTitle(QStringLiteral("Пользователи"));
    PeopleGrid = new QTableWidget(0, 2, this);
    PeopleGrid->setObjectName(QStringLiteral("PeopleGrid"));
    PeopleGrid->setHorizontalHeaderLabels({QStringLiteral("Имя"), QStringLiteral("Роль")});
    PeopleGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    PeopleGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    PeopleGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    PeopleGrid->horizontalHeader()->setStretchLastSection(true);
    PeopleGrid->setColumnWidth(0, 220);
    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    AddButton = button(QStringLiteral("&Добавить"), "AddButton");
    RoleButton = button(QStringLiteral("&Изменить роль"), "RoleButton");
    PasswordButton = button(QStringLiteral("&Пароль"), "PasswordButton");
    RemoveButton = button(QStringLiteral("&Удалить"), "RemoveButton");
    ExitButton = button(QStringLiteral("&Выход"), "ExitButton");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {AddButton, RoleButton, PasswordButton, RemoveButton}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(ExitButton);
    auto* page = new QVBoxLayout(this);
    page->addWidget(PeopleGrid);
    page->addLayout(buttons);
    resize(520, 360);

    connect(AddButton, &QPushButton::clicked, this, guarded([this] { addClick(); }));
    connect(RoleButton, &QPushButton::clicked, this, guarded([this] { roleClick(); }));
    connect(PasswordButton, &QPushButton::clicked, this, guarded([this] { passwordClick(); }));
    connect(RemoveButton, &QPushButton::clicked, this, guarded([this] { removeClick(); }));
    connect(ExitButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm27::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) guarded([this] { load(); })();
}

void TForm27::load()
{
    WaitCursor wait;
    const std::vector<store::reads::PersonLogin> people = store::reads::people(data_.session().db);
    PeopleGrid->setRowCount(int(people.size()));
    for (int i = 0; i < int(people.size()); ++i) {
        auto* name = new QTableWidgetItem(people[i].name);
        name->setData(Qt::UserRole, int(people[i].role));
        PeopleGrid->setItem(i, 0, name);
        PeopleGrid->setItem(i, 1, new QTableWidgetItem(store::roleName(people[i].role)));
    }
    if (!people.empty()) PeopleGrid->selectRow(0);
}

QString TForm27::chosenName() const
{
    const int row = PeopleGrid->currentRow();
    return row >= 0 && PeopleGrid->item(row, 0) ? PeopleGrid->item(row, 0)->text() : QString();
}

store::Role TForm27::chosenRole() const
{
    const int row = PeopleGrid->currentRow();
    return row >= 0 && PeopleGrid->item(row, 0) ? store::Role(PeopleGrid->item(row, 0)->data(Qt::UserRole).toInt())
                                                : store::Role::Bursar;
}

void TForm27::addClick()
{
    PersonDialog d(PersonDialog::Mode::Add, QString(), store::Role::Bursar, this);
    if (d.exec() != QDialog::Accepted) return;
    {
        WaitCursor wait;
        store::addPerson(data_.session(), d.name(), d.role(), d.password());
    }
    load();
}

void TForm27::roleClick()
{
    const QString name = chosenName();
    if (name.isEmpty()) return;
    PersonDialog d(PersonDialog::Mode::Role, name, chosenRole(), this);
    if (d.exec() != QDialog::Accepted) return;
    store::setPersonRole(data_.session(), name, d.role());
    load();
}

void TForm27::passwordClick()
{
    const QString name = chosenName();
    if (name.isEmpty()) return;
    PersonDialog d(PersonDialog::Mode::Password, name, chosenRole(), this);
    if (d.exec() != QDialog::Accepted) return;
    store::setPersonPassword(data_.session(), name, d.password());
}

void TForm27::removeClick()
{
    const QString name = chosenName();
    if (name.isEmpty()) return;
    if (!msg::askYesNo(QStringLiteral("Удаление"), QStringLiteral("Удалить пользователя %1?").arg(name))) return;
    store::removePerson(data_.session(), name);
    load();
}
