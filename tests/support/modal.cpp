#include "support/modal.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <memory>

void whenModal(std::function<void(QWidget*)> step, int timeoutMs)
{
    QPointer<QWidget> before = QApplication::activeModalWidget();
    auto timer = std::make_shared<QTimer>();
    auto waited = std::make_shared<int>(0);
    timer->setInterval(5);
    QObject::connect(timer.get(), &QTimer::timeout, [timer, waited, before, step, timeoutMs] {
        QWidget* now = QApplication::activeModalWidget();
        if (now && now != before) {
            timer->stop();
            step(now);
            return;
        }
        *waited += 5;
        if (*waited > timeoutMs) timer->stop();
    });
    timer->start();
}
