#pragma once
#include <QWidget>
#include <functional>

// Runs `step` on the next modal window that opens on top of what is modal now; call it before the
// action that opens the window (which blocks in exec until the step closes it).
void whenModal(std::function<void(QWidget*)> step, int timeoutMs = 10000);
