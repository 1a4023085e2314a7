#include "journal/startup.h"

#include "journal/entry_editor.h"
#include "refbooks/kind_editor.h"
#include "refbooks/kinds_list.h"
#include "refbooks/norms_window.h"
#include "refbooks/operation_dialog.h"
#include "refbooks/operations_list.h"
#include "refbooks/product_editor.h"
#include "refbooks/products_list.h"
#include "refbooks/worker_editor.h"
#include "refbooks/workers_list.h"

#include "core/instances.h"
#include "journal/journal_window.h"

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
