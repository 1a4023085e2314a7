#pragma once

#include "reportengine/progress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QProgressDialog;
class QWidget;

namespace re {

// Long work on the user-interface thread made visible: the wait cursor for the whole of it, and, once
// the work comes to more than kManyPages pages, a progress dialog whose cancel button stops it.
// Hand progress() to Report::prepare, writePdf or print.
class WorkProgress {
public:
    static constexpr int kManyPages = 300;

    WorkProgress(QWidget* parent, QString text);
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    Progress progress();
    bool cancelled() const { return cancelled_; }
    // Null until the work proved long.
    QProgressDialog* dialog() const { return dialog_; }

private:
    bool step(int done, int total, int pages);
    static bool isLong(int done, int total, int pages);

    QWidget* parent_;
    QString text_;
    QPointer<QProgressDialog> dialog_;
    QElapsedTimer sinceUpdate_;
    bool cancelled_ = false;
};

} // namespace re
