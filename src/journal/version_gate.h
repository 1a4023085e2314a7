#pragma once
#include "journal/build_stamp.h"

// The stamp of the running build: when this module was compiled. The build compiles it anew every time,
// so every build carries its own stamp.
BuildStamp compiledBuildStamp();

// Keeps older builds away from a database that a newer build has used. The newest stamp that has run
// against the database is kept in accounts_dep.ver: a newer running build raises it; an older one tells
// the user and ends, within 5 seconds even when the message stays unanswered (the sign-in window's timer).
// Runs when the sign-in window is activated and every 30 seconds from the journal window's timer.
// Database errors are left to the action that ran the check.
void checkVersion();
