// Opening a period: every catalogue table shared, in its area, with its index files.
#include <filesystem>

#include "common/dialogs.h"
#include "common/format.h"
#include "common/memvar.h"
#include "data/access.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "data/pending.h"
#include "data/rebuild_steps.h"
#include "data/table_upgrade.h"
#include "platform/table/dbf.h"
#include "platform/table/errors.h"
#include "platform/table/structure.h"

namespace sklad {

namespace fs = std::filesystem;
namespace table = platform::table;

namespace {

constexpr const char* kContractors[] = {"zo", "zd", "zp", "zf", "zn"};

std::string flag(bool on) { return on ? "T" : "N"; }

// Opens a catalogue table shared in its area with the index files given, all of which must exist.
bool open_shared(const CatalogueTable& t, const std::string& hh, const std::vector<IndexFile>& indexes) {
    const std::string path = TABLE_PATH(t, hh);
    DBSELECTAREA(t.area);
    try {
        if (!TABLE_EXISTS(path) || !NET_USE(path, t.alias, false, 1)) return NIEDOSTEPNY(path);
        for (const IndexFile& ix : indexes) ORDLISTADD(INDEX_PATH(t, ix, hh));
    } catch (const table::TableError&) {
        DBCLOSEAREA();
        return NIEDOSTEPNY(path);
    }
    return true;
}

Fields fields_of(const std::string& path) {
    try {
        return table::DbfFile(TABLE_FILE(path), table::OpenMode::ReadOnly).layout().fields();
    } catch (const table::TableError&) {
        return {};
    }
}

// Whether every index file of the period's present tables is there; the full rebuild makes them.
bool indexes_complete(const std::string& hh) {
    for (const CatalogueTable& t : CATALOGUE()) {
        const std::string path = TABLE_PATH(t, hh);
        if (!TABLE_EXISTS(path)) continue;
        const std::vector<IndexFile> keys = t.alias == "as" ? std::vector<IndexFile>{INDEKSY_AS({}).front()}
                                                            : t.indexes(fields_of(path));
        for (const IndexFile& ix : keys)
            if (!TABLE_EXISTS(INDEX_PATH(t, ix, hh), ".ntx")) return false;
    }
    return true;
}

// Twenty-digit bar codes asked for and the cards' codes narrower than their layout gives them. A
// layout without bar codes does not count: the rebuild would not add them, and would run again
// at every start.
bool bar_codes_too_narrow(const std::string& hh) {
    if (!FILE_X("KOD20.TXT")) return false;
    const std::string path = TABLE_PATH(CATALOGUE("as"), hh);
    const Fields have = fields_of(path);
    const Fields layout = table::parse_table_definition(STRUKTURA_AS(path, have)).fields;
    const FieldDef* want = FIND_FIELD(layout, "KOD13");
    const FieldDef* kod = FIND_FIELD(have, "KOD13");
    return !have.empty() && want != nullptr && (kod == nullptr || kod->width < want->width);
}

void stock_flags() {
    JEST_KOD13 = FIELDPOS("KOD13") > 0;
    LEN_KOD13 = 13;
    for (const FieldDef& f : DBSTRUCT())
        if (f.name == "KOD13") LEN_KOD13 = f.width;
    JEST_SUR = flag(FIELDPOS("SUR") > 0);
    JEST_NAZWA1 = FIELDPOS("NAZWA1") > 0;
    JEST_NAZ46 = flag(JEST_NAZWA1 && FILE_X("NAZWA46.TXT"));
    JEST_ATEST = flag(FIELDPOS("ATEST") > 0 && SETTING_TEXT("J_ATEST", "T") == "T");
    JEST_CENAM = FIELDPOS("CENAM") > 0;
    if (!JEST_CENAM && SETTING_NUMBER("J_POZIOM", 1) > 1) MEMVAR_PUT("J_POZIOM", Value(Decimal(1)));
    I_AS_GRUPA = AS_GRUPA_ORDER();
}

bool open_stock_cards(const std::string& hh) {
    const CatalogueTable& as = CATALOGUE("as");
    if (!open_shared(as, hh, {})) return false;
    // The index files that exist, in their sequence; later orders are optional.
    for (const char* name : {"as", "as2", "as3", "as4", "as5"}) {
        const std::string ix = INDEX_PATH(as, {name, ""}, hh);
        if (!TABLE_EXISTS(ix, ".ntx")) break;
        try {
            ORDLISTADD(ix);
        } catch (const table::TableError&) {
            return NIEDOSTEPNY(TABLE_PATH(as, hh));
        }
    }
    stock_flags();
    return true;
}

// Contractor files older than their layout are rebuilt only under the token; a field every copy
// needs (E_MAIL, NODB2, the wide street) missing without it stops the program instead.
bool contractor_upgrade(const CatalogueTable& t, const std::string& hh, bool keep_token) {
    const std::string path = TABLE_PATH(t, hh);
    DBSELECTAREA(t.area);
    const Fields existing = DBSTRUCT();
    const std::string structure = t.layout(path, existing);
    const Fields current = table::parse_table_definition(structure).fields;
    if (!LAYOUT_OLDER(existing, current)) return true;
    bool needed = false;
    for (const char* f : {"E_MAIL", "NODB2", "UODB"}) {
        const FieldDef* want = FIND_FIELD(current, f);
        const FieldDef* have = FIND_FIELD(existing, f);
        needed = needed || (want != nullptr && (have == nullptr || have->width < want->width));
    }
    const bool had_token = FIRMA_WYLACZNIE();
    if (!had_token && !WEZ_FIRMA_WYLACZNIE(1, true)) {
        if (!WORKAREAS().used(1)) {
            _OKNO_("Mam problemy z wejsciem", 3.0);
            return false;
        }
        if (needed) _OKNO_("Wszyscy musza wyjsc z programu", 3.0);
        return !needed;
    }
    DBSELECTAREA(t.area);
    DBCLOSEAREA();
    bool ok = NET_USE(path, t.alias, true, 5) && PRZEBUDUJ(structure);
    if (ok) {
        for (const IndexFile& ix : t.indexes(current)) DBCREATEINDEX(INDEX_PATH(t, ix, hh), ix.key);
        DBCLOSEAREA();
        ok = open_shared(t, hh, t.indexes(current));
    } else {
        NIEDOSTEPNY(path);
    }
    if (!had_token && !keep_token && !ODDAJ_FIRMA()) {
        _OKNO_("Mam problemy z wejsciem", 3.0);
        return false;
    }
    return ok;
}

bool open_contractors(const std::string& hh, bool current_period, bool keep_token) {
    for (const char* alias : kContractors) {
        const CatalogueTable& t = CATALOGUE(alias);
        const std::string path = TABLE_PATH(t, hh);
        if (!open_shared(t, hh, t.indexes(fields_of(path)))) return false;
        if (current_period && !contractor_upgrade(t, hh, keep_token)) return false;
    }
    DBSELECTAREA("zo");
    JEST_ZO_NODB1 = flag(FIELDPOS("NODB1") > 0);
    return true;
}

bool open_documents(const std::string& hh) {
    auto plain = [&](const char* alias) {
        const CatalogueTable& t = CATALOGUE(alias);
        return open_shared(t, hh, t.indexes(fields_of(TABLE_PATH(t, hh))));
    };
    if (!plain("dow")) return false;
    JEST_SWW = flag(FIELDPOS("SWW") > 0);
    JEST_CENA_N = flag(FIELDPOS("CENA_N") > 0);
    const CatalogueTable& qr = CATALOGUE("dow_qr");
    if (TABLE_EXISTS(TABLE_PATH(qr, hh)) && TABLE_EXISTS(INDEX_PATH(qr, qr.indexes({}).front(), hh), ".ntx") && !plain("dow_qr"))
        return false;
    if (!plain("dowod")) return false;
    JEST_OPERATOR = flag(FIELDPOS("OPERATOR") > 0);
    if (!plain("fa_N")) return false;

    // The journal is made here when a period lacks it.
    const CatalogueTable& nx = CATALOGUE("fa_nx");
    const std::string nx_path = TABLE_PATH(nx, hh);
    if (!TABLE_EXISTS(nx_path)) {
        DBSELECTAREA(nx.area);
        if (!TWORZ(nx.layout(nx_path, {}), true, STACJA) || !NET_USE(nx_path, nx.alias, true, 20))
            return NIEDOSTEPNY(nx_path);
        for (const IndexFile& ix : nx.indexes({})) DBCREATEINDEX(INDEX_PATH(nx, ix, hh), ix.key);
        DBCLOSEAREA();
    }
    if (!plain("fa_nx") || !plain("slow")) return false;
    JEST_POZIOM = FIELDPOS("POZIOM") > 0;
    if (!plain("pk")) return false;
    if (LASTREC() == 0 && ADD_REC(10)) DBUNLOCK();
    return true;
}

// Tables used only where they exist: price table of currency mode, packaging, exchange rates.
bool open_optional(const std::string& hh) {
    for (const char* alias : {"p23", "opak", "wal"}) {
        const CatalogueTable& t = CATALOGUE(alias);
        const std::string path = TABLE_PATH(t, hh);
        if (!TABLE_EXISTS(path)) continue;
        if (t.alias == "p23" && SETTING_TEXT("J_WALUTA", "T") != "T") continue;
        if (!open_shared(t, hh, t.indexes(fields_of(path)))) return false;
    }
    DBSELECTAREA("as");
    JEST_WALUTA = flag(SETTING_TEXT("J_WALUTA", "T") == "T" && SELECT("p23") != 0 && FIELDPOS("WALUTA") > 0);
    return true;
}

bool exchange_rates() {
    if (!FILE_X("WAL.DBF") || !FILE_X("WAL.INI")) return true;
    const std::string path = "rob\\wal" + STR2(STACJA);
    DBSELECTAREA(132);
    DBCLOSEAREA();
    if (!TWORZ(STRUKTURA_WAL(path), true, STACJA) || !NET_USE(path, "rob_wal", true, 20)) {
        _OKNO_("Plik wal.dbf niedostepny", 2.0);
        return false;
    }
    DBCREATEINDEX(path, "waluta+DESCEND(DTOS(data))");
    KURSY_DO_POTWIERDZENIA();
    return true;
}

std::string firm_period() {
    const int before = SELECT();
    DBSELECTAREA(1);
    std::string hh = USED() && FIELDPOS("BMR") > 0 ? HH_Z_BMR(FC("BMR")) : "";
    DBSELECTAREA(before);
    return hh.empty() ? HH_DZIS() : hh;
}

}  // namespace

bool OTWORZ_OKRES(std::string_view folder, bool keep_token, bool may_rebuild) {
    if (!WORKAREAS().used(1)) {
        DBSELECTAREA(1);
        if (!NET_USE("firma", "firma", false, 1)) return NIEDOSTEPNY("firma");
    }
    const std::string current = firm_period();
    const std::string hh = folder.empty() ? current : std::string(folder);
    const bool current_period = hh == current;

    // Missing indexes and bar codes to widen need the full rebuild, which needs the token.
    const bool as_present = TABLE_EXISTS(TABLE_PATH(CATALOGUE("as"), hh));
    const bool incomplete = as_present && !indexes_complete(hh);
    const bool widen = as_present && current_period && FIRMA_WYLACZNIE() && bar_codes_too_narrow(hh);
    if ((incomplete || widen) && may_rebuild) {
        if (!current_period) return NIEDOSTEPNY(TABLE_PATH(CATALOGUE("as"), hh));
        if (!WEZ_FIRMA_WYLACZNIE(1)) return false;
        return INIT_NTX();
    }

    if (!keep_token) {
        DBSELECTAREA(1);
        if (!ODDAJ_FIRMA()) {
            _OKNO_("Musisz zaczekac", 3.0);
            return false;
        }
    }
    PLIK = "rob\\wydruk" + STR2(STACJA) + ".prn";
    DBSELECTAREA(1);
    JEST_NODB1 = flag(FIELDPOS("NODB1") > 0);
    if (FIELDPOS("ODDZIAL") > 0) M_ODDZIAL = FC("ODDZIAL");
    HH = hh;
    ZAMKNIJ_OKRES();

    if (!open_stock_cards(hh)) return false;
    if (!open_contractors(hh, current_period, keep_token)) return false;
    if (!NOWE_DD()) return false;
    if (!open_documents(hh) || !open_optional(hh)) return false;
    DBSELECTAREA(4);
    DBCLEARRELATION();
    DBSETRELATION("as", "mag+indeks");
    DBUNLOCKALL();
    if (!exchange_rates()) return false;
    DBSELECTAREA(1);
    return true;
}

bool INIT_DBF(std::string_view folder) { return OTWORZ_OKRES(folder, false, true); }

}  // namespace sklad
