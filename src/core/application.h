#pragma once
#include "core/workstation_locale.h"

#include <QApplication>

// The program's application object: Russian workstation conventions whatever the machine's locale,
// and the last line of defence for errors raised inside event handlers.
class PieceworkApplication : public QApplication {
public:
    PieceworkApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
