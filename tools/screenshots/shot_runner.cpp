#include "screenshots/shot_runner.h"

#include "screenshots/window_picture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMetaObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

constexpr int kTickMs = 20;
constexpr qint64 kWaitMs = 10000;
// Windows fill themselves on activation (some a moment later): a picture waits this long once its
// window is on top.
constexpr qint64 kSettleMs = 400;
// Windows a picture opened are closed one per tick; a window still there after this many is stuck.
constexpr int kCloseTries = 50;

QWidget* windowNamed(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name) return w;
    return nullptr;
}

// The window is what the user works in now: the modal window on top, or the only window shown.
bool onTop(const QString& name)
{
    QWidget* w = windowNamed(name);
    if (!w || !w->isVisible()) return false;
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal == w : true;
}

QString windowOfStep(const QString& step)
{
    return step.section(u'/', 0, 0);
}

void perform(const QString& step)
{
    QWidget* window = windowNamed(windowOfStep(step));
    const QString target = step.section(u'/', 1);
    const qsizetype eq = target.indexOf(u'=');
    const QString control = eq < 0 ? target : target.left(eq);
    QObject* o = window ? window->findChild<QObject*>(control) : nullptr;
    if (!o) throw std::runtime_error(("no control " + step).toStdString());
    if (eq >= 0) {
        auto* box = qobject_cast<QLineEdit*>(o);
        if (!box) throw std::runtime_error(("not a text box: " + step).toStdString());
        box->setText(target.mid(eq + 1));
    } else if (auto* action = qobject_cast<QAction*>(o)) {
        action->trigger();
    } else if (auto* button = qobject_cast<QAbstractButton*>(o)) {
        button->click();
    } else if (o->metaObject()->indexOfSignal("dblClick()") >= 0) {
        QMetaObject::invokeMethod(o, "dblClick");
    } else {
        throw std::runtime_error(("cannot activate " + step).toStdString());
    }
}

}  // namespace

ShotRunner::ShotRunner(std::vector<Shot> shots, const QDir& out) : shots_(std::move(shots)), out_(out) {}

void ShotRunner::start()
{
    for (int i = 0; i < int(shots_.size()); ++i) plan(i);
    queue_.push_back({-1, true, [] { return true; }, [this] { finish(); }, QStringLiteral("end")});
    waited_.start();
    QTimer::singleShot(0, this, [this] { tick(); });
}

void ShotRunner::plan(int index)
{
    const Shot& shot = shots_[index];
    QStringList windows;
    if (!shot.madeOnOpening) windows << shot.window;
    for (const QString& step : shot.steps) windows << windowOfStep(step);
    for (const QString& name : windows) {
        if (!windowNamed(name)) {
            missing << shot.name;
            return;
        }
    }
    for (const QString& step : shot.steps) {
        const QString window = windowOfStep(step);
        queue_.push_back({index, false, [window] { return onTop(window); }, [step] { perform(step); }, step});
    }
    const QString window = shot.window;
    queue_.push_back({index, false, [window] { return onTop(window); }, [this, index] { grab(shots_[index]); },
                      QStringLiteral("picture of ") + window});
    queue_.push_back({index, true, [] { return true; }, [this] { closeOpened(); }, QStringLiteral("close")});
}

void ShotRunner::tick()
{
    // The next tick first: the action below may open a window and stay in its loop until a later tick
    // closes it.
    if (queue_.empty()) return;
    QTimer::singleShot(kTickMs, this, [this] { tick(); });

    Action& next = queue_.front();
    current_ = next.shot;
    if (!next.ready()) {
        readySince_ = -1;
        if (waited_.elapsed() > kWaitMs) failShot(next.shot, QStringLiteral("waited in vain for ") + next.what);
        return;
    }
    // A picture waits until its window has settled.
    if (!next.unwind && next.what.startsWith(QLatin1String("picture"))) {
        if (readySince_ < 0) readySince_ = waited_.elapsed();
        if (waited_.elapsed() - readySince_ < kSettleMs) return;
    }
    readySince_ = -1;
    const Action action = next;
    queue_.pop_front();
    waited_.restart();
    try {
        action.run();
    } catch (const std::exception& e) {
        failShot(action.shot, QString::fromUtf8(e.what()));
    }
}

void ShotRunner::failShot(int shot, const QString& why)
{
    if (shot < 0) {
        failed << QStringLiteral("(run): ") + why;
        QCoreApplication::exit(1);
        queue_.clear();
        return;
    }
    failed << shots_[shot].name + QStringLiteral(": ") + why;
    while (!queue_.empty() && queue_.front().shot == shot && !queue_.front().unwind) queue_.pop_front();
    waited_.restart();
}

void ShotRunner::noteMessage(const QString& text)
{
    failShot(current_, QStringLiteral("the program said \"") + text + u'"');
}

void ShotRunner::grab(const Shot& shot)
{
    const QString file = out_.filePath(shot.name + QStringLiteral(".png"));
    if (!windowPicture(*windowNamed(shot.window)).save(file))
        throw std::runtime_error(("cannot write " + file).toStdString());
    taken << shot.name;
    std::fprintf(stderr, "screenshots: %s\n", qPrintable(file));
}

void ShotRunner::closeOpened()
{
    // Everything above the journal goes, one window per tick, so that each returns from its loop.
    QWidget* top = QApplication::activeModalWidget();
    if (!top || top->objectName() == QLatin1String("Form1")) {
        closing_ = 0;
        return;
    }
    if (++closing_ > kCloseTries) {
        failShot(-1, QStringLiteral("the window ") + top->objectName() + QStringLiteral(" does not close"));
        return;
    }
    queue_.push_front({current_, true, [] { return true; }, [this] { closeOpened(); }, QStringLiteral("close")});
    if (auto* dialog = qobject_cast<QDialog*>(top))
        dialog->reject();
    else
        top->close();
}

void ShotRunner::finish()
{
    // Closing the journal returns to the sign-in window, which ends the program; without a sign-in,
    // the sign-in window's "Отмена" does.
    if (QWidget* journal = windowNamed(QStringLiteral("Form1")); journal && journal->isVisible()) {
        if (auto* dialog = qobject_cast<QDialog*>(journal)) dialog->reject();
    } else if (QWidget* signin = windowNamed(QStringLiteral("Form23"))) {
        if (auto* dialog = qobject_cast<QDialog*>(signin)) dialog->reject();
    } else {
        QCoreApplication::quit();
    }
}
