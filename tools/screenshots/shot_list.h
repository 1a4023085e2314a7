#pragma once
#include <QString>
#include <QStringList>
#include <vector>

// One picture of the user's guide: a window of the program and how a user reaches it.
struct Shot {
    QString name;     // the picture's file name without ".png", and its place in the guide
    QString window;   // the objectName of the window pictured
    QString caption;  // the picture's text in the guide
    // From the previous picture's state (before the sign-in; afterwards the journal with nothing on top):
    // "Window/Control" activates a control (presses a button, runs a menu command, toggles a box,
    // double-clicks a grid), "Window/Control=text" types the text into a box.
    QStringList steps;
    // The window is made when its steps open it (a report's preview), so it cannot be looked for first.
    bool madeOnOpening = false;
};

// Every picture, in the order they are taken.
const std::vector<Shot>& guideShots();
