#pragma once
#include <QString>
#include <span>

#include "store/role.h"

// What the sign-in word allows. There are no accounts: the word alone selects the role.
using store::Role;

// The word as typed without leading and trailing blanks (spaces and control characters).
QString signInWord(const QString& typed);

// The role of a trimmed word, compared character by character (letter case counts); None for any other word.
Role roleOfWord(const QString& word);

// A control of a window (both by object name) and the action it stands for: the control is disabled
// exactly when the role may not take the action (store::can), and hidden too when `hidden` says so.
struct RoleControl {
    const char* window;
    const char* control;
    store::Action action;
    bool hidden = false;
};

// Every control the roles restrict, in the journal window and the reports window.
std::span<const RoleControl> roleControls();

// Disables what the role may not use in the journal window and the reports window. Applied once per run
// and never lifted: a new role needs a new start of the program.
void applyRestrictions(Role role);
