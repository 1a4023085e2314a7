#pragma once
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class TDataModule6;

// The owner of a run's windows and its data module. Windows are created in the start-up order and
// destroyed in reverse; the program-wide pointers (Form1 ..., DataModule6) point into it while it lives and
// are cleared when it goes. A data module that already exists (a test connected it) is used, not owned.
class ProgramWindows {
public:
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    TDataModule6& data() { return *data_; }

    // The start of the program up to the sign-in: the journal window, the connection with the command-line
    // arguments (without the program name), the sign-in window shown. False when the database cannot be
    // reached: the user has been told, and the program must end.
    bool start(const QStringList& arguments);

    // Every other window, once, in the start-up order.
    void createWindows();

private:
    // Creates a window on the data module, or takes one made otherwise, as the owner of both.
    template <typename W>
    W* make(W*& global);
    template <typename W>
    W* adopt(W*& global);

    std::unique_ptr<TDataModule6> ownData_;
    TDataModule6* data_ = nullptr;
    // Guarded: a window that went before its owner (a test may delete one) is not deleted twice.
    std::vector<QPointer<QWidget>> windows_;
    std::vector<std::function<void()>> clearGlobals_;
};
