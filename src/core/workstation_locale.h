#pragma once
#include <QString>

// A Russian workstation whatever the machine's locale, set once at start: decimal comma, dd.MM.yyyy dates
// and Russian month names; and, once the application object exists, Qt's own words (message box buttons,
// the file and print dialogs, the context menus of text boxes) in Russian. The machine's time zone is named
// for the C library (TZ) when nothing names it, so that it is read once instead of at every conversion.
void setWorkstationLocale();

// The folder Qt's Russian catalogue is read from, and whether it was found there at start.
QString qtCatalogueFolder();
bool qtCatalogueLoaded();
