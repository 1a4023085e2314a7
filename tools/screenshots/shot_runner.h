#pragma once
#include "screenshots/shot_list.h"

#include <QDir>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <deque>
#include <functional>

// Takes the pictures of a running program: performs each picture's steps as a user would, grabs the
// window, closes what the steps opened, and at the end closes the journal, which ends the program.
// Windows open modally and run their own loops, so the run is a queue of small actions driven by
// single-shot timers: a step that blocks in a window's loop leaves the next tick already scheduled.
class ShotRunner : public QObject {
public:
    ShotRunner(std::vector<Shot> shots, const QDir& out);

    // Queues every picture whose windows exist; call once the program's windows are made.
    void start();

    // A message the program showed (an error box, a question) during the run: the picture it belongs to
    // counts as failed.
    void noteMessage(const QString& text);

    QStringList taken;    // the pictures written
    QStringList missing;  // pictures of windows the program does not have
    QStringList failed;   // "name: why"

private:
    struct Action {
        int shot = -1;
        bool unwind = false;                 // runs even after a failure of its picture
        std::function<bool()> ready;         // polled until true, for at most kWaitMs
        std::function<void()> run;
        QString what;
    };

    void plan(int index);
    void tick();
    void failShot(int shot, const QString& why);
    void grab(const Shot& shot);
    void closeOpened();
    void finish();

    std::vector<Shot> shots_;
    QDir out_;
    std::deque<Action> queue_;
    QElapsedTimer waited_;
    qint64 readySince_ = -1;
    int current_ = -1;
    int closing_ = 0;
};
