#include "operators/rights.h"

namespace sklad {

bool PRAWA(int n) {
    if (n < 1 || static_cast<std::size_t>(n) > M_PRAWA.size()) return true;
    return M_PRAWA[static_cast<std::size_t>(n) - 1] != 'N';
}

bool PRAWA1(int n) {
    if (n < 1 || static_cast<std::size_t>(n) > M_PRAWA1.size()) return false;
    return M_PRAWA1[static_cast<std::size_t>(n) - 1] == 'T';
}

}  // namespace sklad
