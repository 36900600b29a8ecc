// Settlement reconciliation of the month close: contractors' totals rebuilt from the open entries.
#include "common/console.h"
#include "common/dialogs.h"
#include "common/rounding.h"
#include "data/access.h"
#include "data/engine.h"
#include "data/rebuild_steps.h"

namespace sklad {

namespace {

struct Group {
    char kto;
    const char* alias;
};
constexpr Group kGroups[] = {{'O', "zo"}, {'D', "zd"}, {'P', "zp"}, {'F', "zf"}};

const char* alias_of(const std::string& kto) {
    for (const Group& g : kGroups)
        if (kto.size() == 1 && kto[0] == g.kto) return g.alias;
    return nullptr;
}

bool blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

// The totals are rebuilt, not added to: last month's sums must not stay in them.
void zero_totals(const char* alias) {
    DBSELECTAREA(alias);
    for (DBGOTOP(); !EOF(); DBSKIP()) {
        if (FN("OBWN").is_zero() && FN("OBMA").is_zero()) continue;
        if (!REC_LOCK(10)) continue;
        FIELDPUT("OBWN", Decimal(0));
        FIELDPUT("OBMA", Decimal(0));
        DBUNLOCK();
    }
}

// Adds an entry's amounts to its contractor, appending the contractor with only its code when
// the file does not have it.
void add_to(const char* alias, const std::string& odb, Decimal wn, Decimal ma) {
    DBSELECTAREA(alias);
    if (!DBSEEK(Value(odb))) {
        if (!ADD_REC(10)) return;
        FIELDPUT("ODB", odb);
    } else if (!REC_LOCK(10)) {
        return;
    }
    FIELDPUT("OBWN", FN("OBWN") + wn);
    FIELDPUT("OBMA", FN("OBMA") + ma);
    DBUNLOCK();
}

}  // namespace

void UZGODNIJ_ROZRACHUNKI() {
    const int before = SELECT();
    for (const Group& g : kGroups) zero_totals(g.alias);
    _OKNO_("Uzgadniam rozrachunki ...", "...");
    DBSELECTAREA("fa_N");
    for (DBGOTOP(); !EOF(); DBSKIP()) {
        const Decimal wn = FN("OBWN"), ma = FN("OBMA");
        const std::string odb = FC("ODB"), kto = FC("KTO");
        if ((wn.round(2).is_zero() && ma.round(2).is_zero()) || blank(odb)) {
            if (REC_LOCK(10)) {
                DBDELETE();
                DBUNLOCK();
            }
            continue;
        }
        const char* alias = alias_of(kto);
        if (alias == nullptr) {
            // An entry of a group no file keeps is still a receivable or payable: it stays.
            TONE(1000, 1);
            TONE(1000, 1);
            _OKNO_("Pomijam " + FC("RD") + "-" + FC("NRD"), 3.0);
            _OKNO_("Uzgadniam rozrachunki ...", "...");
            continue;
        }
        const Decimal kurs = FN("KURS");
        auto converted = [&](Decimal v) { return kurs > Decimal(0) ? NEWROUND(v * kurs, 2) : v; };
        const long recno = RECNO();
        add_to(alias, odb, converted(wn), converted(ma));
        DBSELECTAREA("fa_N");
        DBGOTO(recno);
    }
    DBSELECTAREA(before);
}

}  // namespace sklad
