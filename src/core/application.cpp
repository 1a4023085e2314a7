#include "core/application.h"

#include "core/error_report.h"

#include <QLocale>

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

void setWorkstationLocale()
{
    QLocale ru(QLocale::Russian, QLocale::Russia);
    // Numbers are written without thousands separators, as the shop's old workstations did.
    ru.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(ru);
}
