#include "startup.h"

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

#include "instances.h"
#include "journal_window.h"

bool startProgram(const QStringList& arguments)
{
    Form1 = new TForm1;
    return Form1->FormCreate(arguments);
}

void createWindows()
{
    // Form18, Form19, Form21, Form15, Form16, Form17 and Form20 take their places in this order
    // when the time sheet and the reports join the program.
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
}
