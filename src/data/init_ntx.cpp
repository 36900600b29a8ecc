// The full rebuild: every table of the period brought to its layout and indexed anew.
#include <algorithm>
#include <filesystem>

#include "common/console.h"
#include "common/dialogs.h"
#include "common/format.h"
#include "data/access.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "data/pending.h"
#include "data/rebuild_steps.h"
#include "data/table_upgrade.h"
#include "platform/table/structure.h"

namespace sklad {

namespace fs = std::filesystem;

namespace {

// While the rebuild runs: which table it is on, and a bar of how far the whole run has come.
class Progress {
  public:
    explicit Progress(int tables) : tables_(std::max(1, tables)) {}
    void table(int n, const std::string& path) {
        n_ = n;
        DISPBOX(10, 20, 14, 60, 2);
        const std::string title = " Indeksowanie ";
        DISPOUTAT(10, 20 + (41 - static_cast<int>(title.size())) / 2, title);
        std::string line = "Zbior " + path + ".dbf (" + std::to_string(n + 1) + "/" + std::to_string(tables_) + ")";
        line.resize(37, ' ');
        DISPOUTAT(11, 22, line);
        DISPOUTAT(13, 25, std::string(31, static_cast<char>(177)));
        part(0);
    }
    // `done` of the current table, from 0 to 1.
    void part(double done) {
        const int percent = std::clamp(static_cast<int>((n_ + done) * 100 / tables_), 0, 100);
        DISPOUTAT(12, 25, std::to_string(percent) + "% ");
        DISPOUTAT(13, 25, std::string(static_cast<std::size_t>(percent * 31 / 100), static_cast<char>(219)));
    }

  private:
    int tables_;
    int n_ = 0;
};

// The erase of KONIEC.TXT ends every whole-data run, however it ends.
struct EndOfRun {
    ~EndOfRun() { USUN_PLIK("KONIEC.TXT"); }
};

bool repair_argument() { return SETTING_TEXT("WWW", "").rfind('3', 0) == 0; }

// The found period becomes the firm's (this run only, when the record cannot be locked).
void set_period(const std::string& hh) {
    HH = hh;
    DBSELECTAREA(1);
    if (REC_LOCK(1)) {
        FIELDPUT("BMR", hh.substr(3, 2) + "." + hh.substr(0, 2));
        DBCOMMIT();
        DBUNLOCK();
    }
}

void operators() {
    if (!TABLE_EXISTS("prawa")) return;
    DBSELECTAREA(101);
    if (!NET_USE("prawa", "prawa", true, 20)) return;
    DBGOTOP();
    HASLO_SZEFA_Z_PRAWA();
    if (FIELDPOS("NAZWISKO") > 0)
        for (DBGOTOP(); !EOF(); DBSKIP()) {
            const std::string name = FC("NAZWISKO");
            const std::size_t first = name.find_first_not_of(' ');
            if (first != 0 && first != std::string::npos) FIELDPUT("NAZWISKO", name.substr(first));
        }
    DBCLOSEAREA();
}

// One table: opened exclusively, upgraded when its layout is older (or it is empty, or the
// program was started with "3"), corrected, indexed.
bool rebuild(const CatalogueTable& t, bool month_close, Progress& progress) {
    const std::string path = TABLE_PATH(t, HH);
    const std::string folder_path = path.substr(0, path.size() - t.file.size());
    if (t.alias == "fa_N") {
        // A copy of the settlements made today takes their place.
        const fs::path copy = TABLE_FILE(folder_path + "fa_N_");
        std::error_code ec;
        if (fs::exists(copy, ec) && FILE_DATE(copy) == DATE()) fs::rename(copy, TABLE_FILE(path), ec);
    }
    bool fresh = false;
    if (!TABLE_EXISTS(path)) {
        if (!t.layout || !t.created()) return true;
        if (!TWORZ(t.layout(path, {}), true, STACJA)) return false;
        fresh = true;
    }
    DBSELECTAREA(t.area);
    if (!NET_USE(path, t.alias, true, 20)) return NIEDOSTEPNY(path);

    if (t.layout && !fresh) {
        const Fields existing = DBSTRUCT();
        const std::string structure = t.layout(path, existing);
        const std::string second = folder_path + t.file + "_2";
        UpgradeOptions options;
        options.drop_deleted = t.alias == "as" || t.alias == "dow" || t.alias == "fa_N";
        if (repair_argument() && TABLE_EXISTS(second)) options.also_append = second;
        options.progress = [&](long done, long total) { progress.part(total > 0 ? 0.5 * done / total : 0); };
        if (LASTREC() == 0 || repair_argument() || LAYOUT_OLDER(existing, platform::table::parse_table_definition(structure).fields)) {
            if (t.alias == "dow" || t.alias == "dowod") _OKNO_("Zaciagam " + t.alias + ".dbf", "...");
            if (!PRZEBUDUJ(structure, options)) return false;
            if (!options.also_append.empty()) {
                std::error_code ec;
                fs::rename(TABLE_FILE(second), TABLE_FILE(second).replace_extension(".db_"), ec);
            }
        }
    }
    POPRAWKI(t, path);
    if (t.alias == "fa_N" && month_close) UZGODNIJ_ROZRACHUNKI();

    DBSELECTAREA(t.area);
    const std::vector<IndexFile> indexes = t.indexes(DBSTRUCT());
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        DBCREATEINDEX(INDEX_PATH(t, indexes[i], HH), indexes[i].key);
        progress.part(0.5 + 0.5 * double(i + 1) / double(indexes.size()));
    }
    ORDLISTCLEAR();
    for (const IndexFile& ix : indexes) ORDLISTADD(INDEX_PATH(t, ix, HH));
    if (t.alias == "fa_N") {
        std::error_code ec;
        fs::remove(TABLE_FILE(folder_path + "fa_N_"), ec);
        fs::remove(TABLE_FILE(folder_path + "fa_R_"), ec);
    }
    return true;
}

}  // namespace

bool INIT_NTX(std::string_view mode_text) {
    const std::string mode(mode_text);
    const bool month_close = mode == "BEZ_INIT_DBF";
    if (!WEZ_FIRMA_WYLACZNIE(1)) return false;
    EndOfRun end_of_run;

    if (!month_close) ZLE_ZAMKNIETY_MIESIAC();
    ZAMKNIJ_OKRES();
    USUN_PLIK("kierowca.ntx");
    DBSELECTAREA(1);
    HH = HH_Z_BMR(FIELDPOS("BMR") > 0 ? FC("BMR") : "");
    if (HH.empty()) HH = HH_DZIS();
    _OKNO_("Indeksowanie - prosze czekac", 1.0);
    const std::string found = SZUKAJ_OKRESU(HH);
    if (found != HH) set_period(found);
    std::error_code ec;
    fs::create_directories(TABLE_FILE(M_DBF + HH + "\\as").parent_path(), ec);
    SPRZATANIE(HH);
    operators();

    const std::vector<CatalogueTable>& tables = CATALOGUE();
    Progress progress(static_cast<int>(tables.size()));
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const CatalogueTable& t = tables[i];
        progress.table(static_cast<int>(i), TABLE_PATH(t, HH));
        if (!rebuild(t, month_close, progress)) return false;
        if (t.alias == "as") {
            DBSELECTAREA(t.area);
            JEST_KOD13 = FIELDPOS("KOD13") > 0;
            if (!month_close) AS_DUBLOWANE();
        }
        if (t.alias == "zn") TWORZ(STRUKTURA_ROB_FA_N("rob\\fa_n" + STR2(STACJA)), true, STACJA);
    }
    USUN_PLIK("MAGPUSTY.TXT");

    if (KOREKTA__AS && !mode.empty() && !KOREKTA_AS()) _OKNO_("REORGANIZACJA NIEUDANA", 3.0);
    if (mode.rfind("ZMIANA MM.RR", 0) == 0) {
        ZAMKNIJ_OKRES();
    } else if (!OTWORZ_OKRES("", month_close, false)) {
        return false;
    }
    if (HH == HH_DZIS()) KAS_KANTY();
    return true;
}

}  // namespace sklad
