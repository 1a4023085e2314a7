#include "support/modal.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

void whenModal(std::function<void(QWidget*)> step, int timeoutMs)
{
    QPointer<QWidget> before = QApplication::activeModalWidget();
    // The timer goes once it is done. It must not hold itself through its own slot: that cycle kept every
    // timer, its slot and the step alive until the end of the process.
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, waited = 0, before, step, timeoutMs]() mutable {
        QWidget* now = QApplication::activeModalWidget();
        if (now && now != before) {
            timer->stop();
            timer->deleteLater();
            const std::function<void(QWidget*)> run = step;  // outlives the slot, whatever the step does
            run(now);
            return;
        }
        waited += 5;
        if (waited > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}
