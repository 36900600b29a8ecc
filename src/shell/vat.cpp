#include "shell/vat.h"

#include "common/console.h"
#include "data/access.h"
#include "platform/value/decimal.h"
#include "shell/settings.h"

namespace sklad {

namespace {

using platform::Decimal;

// STR(VAL(text), 2): the leading number right-aligned in two columns.
std::string str2(const std::string& text) { return Decimal::val(text).str(2, 0); }

bool matches_a_slot(const std::string& vat, bool one_decimal) {
    for (const std::string* slot : {&J_PTUA, &J_PTUB, &J_PTUC, &J_PTUD, &J_PTUE, &J_PTUF}) {
        if (*slot == vat) return true;
        // A rate with a decimal is compared by its number: slots hold two characters only.
        if (one_decimal && *slot != "ZW" && *slot != "NP" && Decimal::val(*slot) == Decimal::val(vat))
            return true;
    }
    return false;
}

void normalise(bool one_decimal) {
    if (J_VAT == "ZW" || J_VAT == "NP") return;
    const Decimal rate = Decimal::val(J_VAT);
    J_VAT = one_decimal ? rate.str(4, 1) : str2(J_VAT);
    J_PTUA = J_PTUA == "--" ? "23" : str2(J_PTUA);
    J_PTUB = str2(J_PTUB);
    J_PTUC = str2(J_PTUC);
    J_PTUD = str2(J_PTUD);
    if (!matches_a_slot(J_VAT, one_decimal)) J_VAT = J_PTUA;
    Decimal v = Decimal::val(J_VAT);
    if (v > Decimal(23) && !FILE_X("NORWEGIA.TXT")) v = Decimal(23);
    J_VAT = one_decimal ? v.str(4, 1) : v.str(2, 0);
}

}  // namespace

bool VAT_DOMYSLNY(int /*flag*/) {
    normalise(FILE_X("VAT_13_5.TXT"));
    return true;
}

bool VAT_DOMYSLNY() {
    const bool one_decimal = FILE_X("VAT_13_5.TXT");
    normalise(one_decimal);
    DISPOUTAT(13, one_decimal ? 76 : 78, J_VAT, "W+/N");
    return true;
}

bool SPR_PTU(std::string& slot) {
    slot.resize(2, ' ');
    if (slot == "00" || slot == "  " || slot == "0 ")
        slot = " 0";
    else if (slot[1] == ' ')
        slot = std::string(" ") + slot[0];
    else if (slot[0] == '0')
        slot = std::string(" ") + slot[1];
    return true;
}

}  // namespace sklad
