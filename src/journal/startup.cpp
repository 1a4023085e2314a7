#include "startup.h"

#include "instances.h"
#include "journal_window.h"

bool startProgram(const QStringList& arguments)
{
    Form1 = new TForm1;
    return Form1->FormCreate(arguments);
}
