#pragma once

// What raises an entry's piece price above its operation's lowest norm price: a day off doubles it, then
// shift 3 adds a fifth and overtime (shift 4) a half; shifts 1 and 2 add nothing. The entry editor applies
// them when an operation is picked; the entry keeps only the raised price, and the pay statements read the
// factors back from it.
namespace store::pricefactor {

constexpr double kDayOff = 2.0;
constexpr double kShift3 = 1.2;
constexpr double kOvertime = 1.5;

// The factor of a shift number: 1.2 for shift 3, 1.5 for overtime, 1 otherwise.
constexpr double ofShift(int shift)
{
    return shift == 3 ? kShift3 : shift == 4 ? kOvertime : 1.0;
}

}  // namespace store::pricefactor
