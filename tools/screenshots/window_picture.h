#pragma once
#include <QImage>

class QWidget;

// The window as the user sees it: its contents under a plain title bar with its caption (the offscreen
// platform draws no frames of its own).
QImage windowPicture(QWidget& window);
