#pragma once
#include <QStringList>

// The start of the program up to the sign-in: creates the journal window, whose creation creates the data
// module, connects with the command-line arguments (without the program name) and shows the sign-in window.
// False when the database cannot be reached: the user has been told, and the program must end.
bool startProgram(const QStringList& arguments);

// Every other window, once, in the start-up order; the sign-in must have succeeded in connecting first.
void createWindows();
