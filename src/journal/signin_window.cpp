#include "journal/signin_window.h"

#include "core/data_module.h"
#include "core/error_report.h"
#include "journal/instances.h"
#include "journal/journal_window.h"
#include "core/messages.h"
#include "journal/program_end.h"
#include "journal/roles.h"
#include "journal/version_gate.h"

#include <QCoreApplication>
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

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 8, 8, 8);
    row->addWidget(Label1);
    row->addWidget(Edit1, 1);
    row->addWidget(Button1);
    row->addWidget(Button2);
    setFixedSize(QSize(330, 44).expandedTo(minimumSizeHint()));

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
    checkVersion();
    setWindowTitle(QStringLiteral("Авторизация (build: %1.%2)").arg(Form1->BuildDate).arg(Form1->BuildTime));
}

void TForm23::Button1Click()
{
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
