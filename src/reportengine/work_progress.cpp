#include "reportengine/work_progress.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressDialog>

namespace re {

namespace {

// How often the dialog is brought up to date and its cancel button heard: often enough for the eye and
// the hand, rare enough that a document of thousands of pages does not pay for it.
constexpr int kUpdateMs = 100;

} // namespace

WorkProgress::WorkProgress(QWidget* parent, QString text) : parent_(parent), text_(std::move(text))
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    sinceUpdate_.start();
}

WorkProgress::~WorkProgress()
{
    delete dialog_;
    QGuiApplication::restoreOverrideCursor();
}

Progress WorkProgress::progress()
{
    return [this](int done, int total, int pages) { return step(done, total, pages); };
}

bool WorkProgress::isLong(int done, int total, int pages)
{
    // Pages being laid out are estimated from the rows done so far, once the first page is full.
    if (pages > kManyPages)
        return true;
    return pages >= 2 && done > 0 && double(pages - 1) * total / done > kManyPages;
}

bool WorkProgress::step(int done, int total, int pages)
{
    if (cancelled_)
        return false;
    if (!dialog_) {
        if (!isLong(done, total, pages))
            return true;
        dialog_ = new QProgressDialog(text_, QStringLiteral("Отмена"), 0, total, parent_);
        dialog_->setObjectName(QStringLiteral("workProgress"));
        dialog_->setWindowTitle(text_);
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoReset(false);
        dialog_->setAutoClose(false);
        dialog_->setValue(done);
        dialog_->show();
        // The arrow with the hourglass: the cancel button is there to be pressed.
        QGuiApplication::changeOverrideCursor(Qt::BusyCursor);
        QCoreApplication::processEvents();
        sinceUpdate_.restart();
    } else if (sinceUpdate_.elapsed() >= kUpdateMs) {
        dialog_->setMaximum(total);
        dialog_->setValue(done);
        // The dialog is drawn and its cancel button heard only while events are processed.
        QCoreApplication::processEvents();
        sinceUpdate_.restart();
    }
    cancelled_ = dialog_->wasCanceled();
    return !cancelled_;
}

} // namespace re
