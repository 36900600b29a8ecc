#pragma once
// The system's rounding rules for money, quantities and display totals.

#include "platform/value/decimal.h"

namespace sklad {

using platform::Decimal;

// Money and quantity rounding: half away from zero after a shift of 0.00000001 away from zero,
// kept from the stored data's history so that totals match those already on file.
Decimal NEWROUND(Decimal x, int decimals = 0);
// Rounding of display totals: x + 0.000000001, half away from zero.
Decimal MROUND(Decimal x, int decimals = 2);
// a to the whole power n (n may be negative).
Decimal A_DO_N(Decimal a, int n);

}  // namespace sklad
