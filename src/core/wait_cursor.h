#pragma once
#include <QGuiApplication>

// The hourglass for the length of a scope, restored also when an error ends the action. Every action that
// talks to the database for longer than a moment holds one for its whole length; a message box shown
// meanwhile has the ordinary arrow (messages.cpp).
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
