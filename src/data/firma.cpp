// The firm table: its creation, and holding it exclusively as the token of whole-data work.
#include "common/dialogs.h"
#include "data/access.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "platform/table/table.h"

namespace sklad {

namespace {

constexpr int kFirmArea = 1;

// Runs `step` with area 1 selected and reselects the caller's area afterwards.
template <class F>
bool in_firm_area(F step) {
    const int before = SELECT();
    DBSELECTAREA(kFirmArea);
    const bool ok = step();
    DBSELECTAREA(before);
    return ok;
}

}  // namespace

void TWORZ_FIRMA(int slots) {
    if (slots <= 0) slots = FILE_X("ST99.TXT") ? 99 : FILE_X("ST2.TXT") ? 2 : 30;
    TWORZ(STRUKTURA_FIRMA("firma", slots), true, STACJA);
}

bool FIRMA_WYLACZNIE() {
    platform::table::Table* firm = WORKAREAS().find(kFirmArea);
    return firm != nullptr && firm->exclusive() && ALIAS(kFirmArea) == "FIRMA";
}

bool WEZ_FIRMA_WYLACZNIE(int tries, bool quiet) {
    if (FIRMA_WYLACZNIE()) return true;
    return in_firm_area([&] {
        DBCLOSEAREA();
        if (NET_USE("firma", "firma", true, tries)) return true;
        if (!quiet) _OKNO_("Wszyscy musza wyjsc z programu", 3.0);
        NET_USE("firma", "firma", false, 1);
        return false;
    });
}

bool ODDAJ_FIRMA() {
    return in_firm_area([] {
        if (USED() && !FIRMA_WYLACZNIE()) return true;
        DBCLOSEAREA();
        return NET_USE("firma", "firma", false, 1);
    });
}

}  // namespace sklad
