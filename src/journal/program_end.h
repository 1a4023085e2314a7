#pragma once
#include <functional>

// Ending the program from anywhere, also from inside modal windows and message boxes: every event loop is
// left at once, so each exec() returns and the program falls out of main.
namespace programend {

// Requests the end. Code that continues after an interrupted exec() checks requested() and saves nothing.
void request();
bool requested();

// Replaces what request() does (the default leaves every event loop: QCoreApplication::exit(0)) and starts
// afresh with nothing requested; tests use it to observe the end instead of leaving their own loops.
void setAction(std::function<void()> action);

}  // namespace programend
