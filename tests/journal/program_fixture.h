#pragma once
// The program started against a test database the way main starts it, and driven through its sign-in.
#include "core/data_module.h"
#include "journal/instances.h"
#include "journal/journal_window.h"
#include "support/modal.h"
#include "journal/signin_window.h"
#include "journal/startup.h"
#include "support/test_database.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <memory>

// The windows of the run under test; a test takes them down and starts afresh.
inline std::unique_ptr<ProgramWindows>& programWindows()
{
    static std::unique_ptr<ProgramWindows> windows;
    return windows;
}

// Starts the program on the test database and lets the sign-in window activate (version check, caption);
// `server` is the address the program is given for the server (a line of the test's own in between).
inline bool startOn(const TestDatabase& db, const QString& server = QStringLiteral("localhost"))
{
    // One data module for the whole test binary: windows a test makes itself keep working across runs.
    if (!DataModule6) DataModule6 = new TDataModule6(QCoreApplication::instance());
    programWindows() = std::make_unique<ProgramWindows>();
    if (!programWindows()->start({db.name(), server})) return false;
    // Tests that drive a window without signing in act with full access.
    DataModule6->setActor(store::Actor::here(store::Role::Full));
    QCoreApplication::processEvents();
    return true;
}

// The journal on `day`, shift 1 current, as the sign-in leaves it ("ta" rows never shown).
inline void showJournalDay(const QDate& day)
{
    Form1->ShiftNumber = 1;
    Form1->DateT->setDate(day);
    for (Dataset* ds : DataModule6->journalDatasets()) ds->setParam("ok", "ta");
    Form1->loadDate();
    Form1->ShiftDataset = DataModule6->Smena1;
}

// Every other window, as the program makes them after the sign-in window.
inline void createOtherWindows()
{
    programWindows()->createWindows();
}

// Takes the windows down so that the next test starts a fresh run; the data module stays connected.
inline void takeDownWindows()
{
    programWindows().reset();
}

// Types the word into the sign-in window and presses Enter; while the journal is shown, `body` runs,
// then the journal is closed as the user would.
inline void whileSignedIn(const QString& word, const std::function<void()>& body)
{
    whenModal([body](QWidget*) {
        body();
        QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    });
    Form23->Edit1->setText(word);
    QTest::keyClick(Form23->Edit1, Qt::Key_Return);
}
