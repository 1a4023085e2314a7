#include "application.h"
#include "entry_editor.h"
#include "kind_editor.h"
#include "kinds_list.h"
#include "norms_window.h"
#include "operation_dialog.h"
#include "operations_list.h"
#include "product_editor.h"
#include "products_list.h"
#include "worker_editor.h"
#include "workers_list.h"
#include "error_report.h"
#include "instances.h"
#include "startup.h"

int main(int argc, char** argv)
{
    PieceworkApplication app(argc, argv);

    // The journal window first: its creation connects and shows the sign-in window, the main window.
    if (!startProgram(app.arguments().mid(1))) return 1;

    // An error while the windows are made is shown like any other, and the program does not go on.
    try {
        // ---- Every other window, once, in this order:
        // Form2, Form3, Form4, Form5, Form7, Form8, Form9, Form10, Form11, Form18, Form19, Form21, Form15,
        // Form16, Form17, Form20, Form22. Each joins here, in its place, with the change that brings it.
        Form2 = new TForm2;
        Form3 = new TForm3;
        Form4 = new TForm4;
        Form5 = new TForm5;
        Form7 = new TForm7;
        Form8 = new TForm8;
        Form9 = new TForm9;
        Form10 = new TForm10;
        Form11 = new TForm11;
        Form22 = new TForm22;
        // ---- end of the windows
    } catch (const std::exception& e) {
        reportError(e);
        return 1;
    } catch (...) {
        reportUnknownError();
        return 1;
    }

    return app.exec();
}
