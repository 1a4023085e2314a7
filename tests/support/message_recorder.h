#pragma once
#include "core/messages.h"

#include <QList>

// Records every message box instead of showing it, and answers from a queue
// (an empty queue answers Yes to questions and OK otherwise).
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    QList<msg::Request> seen;
    QList<int> answers;

    QStringList texts() const;
    void clear() { seen.clear(); }
};
