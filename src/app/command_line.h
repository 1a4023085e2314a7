#pragma once

// The two informational options, answered before any window or database exists, so that they work on a
// machine without a display: "--help" (or "-h") prints how to call the program, "--version" the build
// stamp. Answers the exit status when the first argument is one of them, and -1 otherwise (then the
// arguments are the database name and the server address).
int answerInformationalOption(int argc, char** argv);
