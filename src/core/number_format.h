#pragma once
#include <QString>

namespace numfmt {

// A number through a mask such as "#0", "#0.00", "#0.00#", "0.0000": '0' a digit always shown,
// '#' a digit shown when not a trailing zero; rounded half away from zero on the number's
// 15 significant decimal digits; the workstation's decimal separator.
QString formatFloat(const QString& mask, double value);

// The shortest general form with up to 15 significant digits, with the workstation's separator.
QString general(double value);

// Rounds half away from zero to the given decimals, on the number's 15 significant digits.
double roundHalfAway(double value, int decimals);

}  // namespace numfmt
