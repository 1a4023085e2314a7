#pragma once

// Decimal comma, dd.MM.yyyy dates and Russian month names, set once at start.
void setWorkstationLocale();
