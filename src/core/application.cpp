#include "core/application.h"

#include "core/error_report.h"

PieceworkApplication::PieceworkApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setWorkstationLocale();
}

bool PieceworkApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        reportError(e);
    } catch (...) {
        reportUnknownError();
    }
    return false;
}
