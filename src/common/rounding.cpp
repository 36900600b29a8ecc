#include "common/rounding.h"

namespace sklad {

Decimal NEWROUND(Decimal x, int decimals) {
    static const Decimal shift = *Decimal::parse("0.00000001");
    return (x.negative() ? x - shift : x + shift).round(decimals);
}

Decimal MROUND(Decimal x, int decimals) {
    static const Decimal shift = *Decimal::parse("0.000000001");
    return (x + shift).round(decimals);
}

Decimal A_DO_N(Decimal a, int n) {
    if (n < 0) return Decimal(1) / A_DO_N(a, -n);
    Decimal r(1);
    while (n-- > 0) r *= a;
    return r;
}

}  // namespace sklad
