#include "app/command_line.h"
#include "core/application.h"
#include "core/error_report.h"
#include "core/data_module.h"
#include "journal/startup.h"
#include "spreadsheet/spreadsheet_files.h"

int main(int argc, char** argv)
{
    // Before the application object: these need neither a display nor the database.
    if (const int status = answerInformationalOption(argc, argv); status >= 0) return status;

    PieceworkApplication app(argc, argv);
    // Exported workbooks are kept a week, for the user to find them again; then they go.
    spreadsheet_files::removeOldWorkbooks();

    ProgramWindows windows;
    // The journal window first: its creation connects; then the sign-in window, the main window.
    if (!windows.start(app.arguments().mid(1))) return 1;

    // An error while the windows are made is shown like any other, and the program does not go on.
    try {
        windows.createWindows();
    } catch (const std::exception& e) {
        reportError(e);
        return 1;
    } catch (...) {
        reportUnknownError();
        return 1;
    }

    return app.exec();
}
