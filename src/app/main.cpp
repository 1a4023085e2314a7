#include "core/application.h"
#include "core/error_report.h"
#include "core/instances.h"
#include "journal/startup.h"

int main(int argc, char** argv)
{
    PieceworkApplication app(argc, argv);

    // The journal window first: its creation connects and shows the sign-in window, the main window.
    if (!startProgram(app.arguments().mid(1))) return 1;

    // An error while the windows are made is shown like any other, and the program does not go on.
    try {
        createWindows();
    } catch (const std::exception& e) {
        reportError(e);
        return 1;
    } catch (...) {
        reportUnknownError();
        return 1;
    }

    return app.exec();
}
