#pragma once
#include "store/store.h"

#include <QSemaphore>
#include <QString>
#include <atomic>
#include <functional>
#include <thread>

// Another workstation on the same database: a connection of its own, in a thread of its own, running
// `work` at once. `work` calls reached() where the first workstation may go on (say, once it holds a
// lock); ending, or failing, before it counts as reaching it, so the first never waits for ever. The error's text, if any,
// is in error() after join().
class SecondWorkstation {
public:
    SecondWorkstation(const QString& odbcString, std::function<void(const store::Session&, SecondWorkstation&)> work);
    ~SecondWorkstation();

    void reached()
    {
        if (!passed_.exchange(true)) reached_.release();
    }
    // Waits until the other workstation has reached its point (or failed).
    void waitUntilReached() { reached_.acquire(); }
    void join();
    const QString& error() const { return error_; }

private:
    QSemaphore reached_;
    std::atomic<bool> passed_ = false;
    QString error_;
    std::thread thread_;
};
