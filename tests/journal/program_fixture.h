#pragma once
// The program started against a test database the way main starts it, and driven through its sign-in.
#include "core/data_module.h"
#include "core/instances.h"
#include "journal/journal_window.h"
#include "support/modal.h"
#include "journal/signin_window.h"
#include "journal/startup.h"
#include "support/test_database.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

// Starts the program on the test database and lets the sign-in window activate (version check, caption).
inline bool startOn(const TestDatabase& db)
{
    if (!startProgram({db.name(), QStringLiteral("localhost")})) return false;
    QCoreApplication::processEvents();
    return true;
}

// Takes the windows down so that the next test starts a fresh run; the data module stays connected.
inline void takeDownWindows()
{
    delete Form23;
    Form23 = nullptr;
    delete Form1;
    Form1 = nullptr;
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
