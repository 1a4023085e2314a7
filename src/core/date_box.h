#pragma once

class QDateEdit;
class QKeyEvent;

// Date boxes with a calendar drop-down open it from the keyboard too, with F4 and Alt+Down, as a
// drop-down list does; Qt opens it only from the arrow.
namespace datebox {

// Whether the key opens the calendar.
bool isCalendarKey(const QKeyEvent& press);

// Opens the box's calendar, as a click on its arrow does.
void openCalendar(QDateEdit* box);

// Makes the box open its calendar on those keys, for a window that has no key handling of its own there.
void openCalendarFromKeyboard(QDateEdit* box);

}  // namespace datebox
