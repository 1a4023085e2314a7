#pragma once
#include <QString>

// Prices in the entry editor: rounded to 4 decimals with ties to even in extended precision, so that the
// price shown, the price written and the sum agree with the ones the shop's other workstations compute.
namespace entryprice {

long double round4(long double value);

// The rounded value in the general form (up to 15 significant digits, no trailing zeros) with the
// workstation's decimal separator, as the price boxes show it.
QString shown(long double value);

// The same with a point, for statement text: 10.1235, and a whole price without a point (10).
QString written(long double value);

}  // namespace entryprice
