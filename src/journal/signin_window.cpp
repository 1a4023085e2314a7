#include "journal/signin_window.h"

#include "core/data_module.h"
#include "core/error_report.h"
#include "journal/instances.h"
#include "journal/journal_window.h"
#include "core/messages.h"
#include "journal/program_end.h"
#include "journal/roles.h"
#include "journal/version_gate.h"
#include "core/wait_cursor.h"
#include "store/db_error.h"
#include "store/personal.h"
#include "store/schema_version.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

TForm23::TForm23(TDataModule6& data, QWidget* parent) : QDialog(parent), data_(data)
{
    setObjectName(QStringLiteral("Form23"));
    setWindowTitle(QStringLiteral("Авторизация"));

    Label1 = new QLabel(QStringLiteral("&Пароль:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // a "*" for every character
    Label1->setBuddy(Edit1);

    Button1 = new QPushButton(QStringLiteral("Вход"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);

    if (data_.personalAddress()) {
        // The word box becomes the password box, under the person's name.
        NameLabel = new QLabel(QStringLiteral("&Имя:"), this);
        NameLabel->setObjectName(QStringLiteral("NameLabel"));
        NameEdit = new QLineEdit(this);
        NameEdit->setObjectName(QStringLiteral("NameEdit"));
        NameLabel->setBuddy(NameEdit);
        auto* grid = new QGridLayout(this);
        grid->setContentsMargins(8, 8, 8, 8);
        grid->addWidget(NameLabel, 0, 0);
        grid->addWidget(NameEdit, 0, 1);
        grid->addWidget(Label1, 1, 0);
        grid->addWidget(Edit1, 1, 1);
        grid->addWidget(Button1, 1, 2);
        grid->addWidget(Button2, 1, 3);
        setFixedSize(QSize(330, 72).expandedTo(minimumSizeHint()));
        setTabOrder(NameEdit, Edit1);
    } else {
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(8, 8, 8, 8);
        row->addWidget(Label1);
        row->addWidget(Edit1, 1);
        row->addWidget(Button1);
        row->addWidget(Button2);
        setFixedSize(QSize(330, 44).expandedTo(minimumSizeHint()));
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);

    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(Timer1, &QTimer::timeout, this, guarded([this] { Timer1Timer(); }));
}

void TForm23::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The main window becomes active once the message loop runs, after every window of the start-up exists;
    // a gate that trips here then ends a running program.
    if (!activated_ && !event->spontaneous()) {
        activated_ = true;
        QTimer::singleShot(0, this, guarded([this] { FormActivate(); }));
    }
}

void TForm23::FormActivate()
{
    // Where people sign in by name there is no connection yet: the gate runs once the person is in.
    if (!data_.personalAddress()) checkVersion();
    setWindowTitle(QStringLiteral("Авторизация (build: %1.%2)").arg(Form1->BuildDate).arg(Form1->BuildTime));
}

void TForm23::Button1Click()
{
    if (data_.personalAddress()) {
        signInByName();
        return;
    }
    Form1->ShiftNumber = 1;
    const QString word = signInWord(Edit1->text());
    Form1->Role = word;
    for (Dataset* ds : data_.journalDatasets()) ds->setParam(QStringLiteral("ok"), QStringLiteral("ta"));
    const Role role = roleOfWord(word);
    if (role == Role::None) {
        msg::error(QStringLiteral("Введены неверные данные."));
        return;
    }
    data_.setActor(store::Actor::here(role));
    applyRestrictions(role);
    showJournal();
}

void TForm23::signInByName()
{
    Form1->ShiftNumber = 1;
    for (Dataset* ds : data_.journalDatasets()) ds->setParam(QStringLiteral("ok"), QStringLiteral("ta"));
    // One message for a wrong name and a wrong password alike: it must not tell which names exist.
    const QString wrong = QStringLiteral("Введены неверные данные.");
    const QString name = NameEdit->text();
    if (name.isEmpty() || Edit1->text().isEmpty()) {
        msg::error(wrong);
        return;
    }
    const DatabaseAddress where = *data_.personalAddress();
    store::Role role = store::Role::None;
    int version = 0;
    try {
        WaitCursor wait;
        data_.closeDatabase();
        data_.openDatabase(personal::connectionString(where.database, where.server, name, Edit1->text()));
        version = store::schemaVersion(data_.session().db);
        if (version >= store::kSchemaVersion) role = personal::signedInRole(data_.session().db);
    } catch (const DbError& e) {
        data_.closeDatabase();
        switch (personal::classify(e.text())) {
        case personal::ConnectFailure::SignInRefused: msg::error(wrong); return;
        case personal::ConnectFailure::NoTls:
            msg::error(QStringLiteral("Сервер базы данных не поддерживает защищенное подключение (TLS), а вход по "
                                      "личному паролю без него не выполняется: пароль ушел бы по сети открытым. "
                                      "Включите TLS на сервере базы данных."));
            return;
        case personal::ConnectFailure::Certificate:
            msg::error(QStringLiteral("Сертификат сервера базы данных не подтвержден центром сертификации "
                                      "предприятия (%1). Вход не выполнен.")
                           .arg(QString::fromLatin1(personal::kShopCaFile)));
            return;
        case personal::ConnectFailure::Unreachable: break;
        }
        msg::error(QStringLiteral("Подключение к БД отсутсвует!!!"), QStringLiteral("Ошибка!"));
        return;
    }
    if (version < store::kSchemaVersion) {
        data_.closeDatabase();
        msg::error(store::outdatedSchemaText(version, where.database, where.server), QStringLiteral("Ошибка!"));
        return;
    }
    // A login of another database, or one in no group here: read like a wrong password.
    if (role == store::Role::None) {
        data_.closeDatabase();
        msg::error(wrong);
        return;
    }
    Edit1->clear();
    Form1->Role = store::roleWord(role);
    data_.setActor(store::Actor::here(role, name));
    checkVersion();
    if (Timer1->isActive()) return;  // an older build: the gate ends the program
    applyRestrictions(role);
    Form1->N15->setVisible(store::can(role, store::Action::ManagePeople));
    showJournal();
}

void TForm23::showJournal()
{
    hide();
    Form1->exec();
    Button2Click();
}

void TForm23::Button2Click()
{
    // Closing the main window ends the program.
    hide();
    QCoreApplication::quit();
}

void TForm23::reject()
{
    Button2Click();
}

void TForm23::Timer1Timer()
{
    programend::request();
}
