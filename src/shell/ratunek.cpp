// The repair start and the folder rebuild.
#include "shell/ratunek.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "common/console.h"
#include "common/dialogs.h"
#include "data/access.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "data/table_upgrade.h"
#include "platform/table/errors.h"
#include "platform/table/structure.h"
#include "shell/settings.h"
#include "shell/workstation.h"

namespace sklad {

namespace fs = std::filesystem;

namespace {

constexpr char kShade = '\xB1';
constexpr char kBlock = '\xDB';
constexpr int kBarRow = 18, kBarCol = 35, kBarWidth = 31;

// The document-entry layout the old entry tables d1 to d4 are recreated with.
constexpr const char* kEntryLayout =
    "R_P,C,1,0,S_Z,C,1,0,RD,C,3,0,NRD,C,8,0,DATA,D,8,0,MAG,C,1,0,LP,C,3,0,KTO,C,1,0,ODB,C,8,0,"
    "INDEKS,C,8,0,NAZWA,C,30,0,JM,C,3,0,UPUST0,N,5,1,CENA0,N,14,4,CENA,N,14,4,NB,C,1,0,"
    "ILOSC,N,15,3,WARTOSC,N,14,2,PODATEK0,C,2,0,PODATEK,N,14,4,BRUTTO,N,14,2,SWW,C,8,0,"
    "PKWIU,C,10,0,CENA_N,N,14,2";

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The first 30 table files of a folder, by name.
std::vector<std::string> tables_of(const fs::path& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(ec) && fnmatch("*.dbf", name.c_str(), FNM_CASEFOLD) == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return upper(a) < upper(b); });
    if (names.size() > 30) names.resize(30);
    return names;
}

void show_box(const std::string& path) {
    DISPBOX(16, 32, 19, 68, 2);
    std::string title = " Rekonstrukcja zbioru " + path + ".DBF ";
    const int inner = 68 - 32 - 1;
    if (static_cast<int>(title.size()) > inner) title.resize(static_cast<std::size_t>(inner));
    DISPOUTAT(16, 33 + (inner - static_cast<int>(title.size())) / 2, title);
    DISPOUTAT(kBarRow, kBarCol, std::string(kBarWidth, kShade));
}

void show_progress(long done, long total) {
    const long full = total > 0 ? std::min<long>(kBarWidth, done * kBarWidth / total) : kBarWidth;
    DISPOUTAT(kBarRow, kBarCol, std::string(static_cast<std::size_t>(full), kBlock));
    if (done >= total) DISPOUTAT(kBarRow, kBarCol, "        NIE PRZERYWAC !        ");
}

// One table rebuilt from its own layout without its deleted records.
void rebuild(const std::string& path) {
    const int area = WORKAREAS().first_free();
    DBSELECTAREA(area);
    try {
        if (!NET_USE(path, "odswiez", true, 1)) {
            _OKNO_("Plik " + path + " niedostepny", 2.0);
            return;
        }
        UpgradeOptions options;
        options.drop_deleted = true;
        options.progress = show_progress;
        PRZEBUDUJ(path + "," + platform::table::structure_text(DBSTRUCT()), options);
    } catch (const platform::table::TableError&) {
        _OKNO_("Plik " + path + " niedostepny", 2.0);
    }
    DBSELECTAREA(area);
    DBCLOSEAREA();
}

// Every work area but the firm table's and the one-copy guard's is closed.
void close_period_areas() {
    const int before = SELECT();
    for (int area = 2; area <= 250; ++area) {
        if (area == 149 || !WORKAREAS().used(area)) continue;
        DBSELECTAREA(area);
        DBCLOSEAREA();
    }
    DBSELECTAREA(before);
}

}  // namespace

bool ODSWIEZ(std::string_view folder) {
    const std::string prefix = folder.empty() ? "" : std::string(folder) + "\\";
    const fs::path dir = folder.empty() ? fs::path(".") : TABLE_FILE(prefix + "x").parent_path();
    const ScreenImage screen = SAVESCREEN(16, 32, 19, 68);
    const int before = SELECT();
    for (const std::string& file : tables_of(dir)) {
        const std::string name = upper(file);
        if (name.size() <= 5 || name.find('-') != std::string::npos || name.rfind("XXX", 0) == 0) continue;
        const std::string stem = name.substr(0, name.size() - 4);
        const std::string path = prefix + stem;
        show_box(path);
        if (name.find('_') != std::string::npos) continue;
        if (stem.size() == 2 && stem[0] == 'D' && stem[1] >= '1' && stem[1] <= '4')
            TWORZ(path + "," + kEntryLayout, true, STACJA);
        else
            rebuild(path);
    }
    DBSELECTAREA(before);
    RESTSCREEN(16, 32, 19, 68, screen);
    return true;
}

bool RATUNEK() {
    if (!HH_ARC.empty()) {
        _OKNO_("Praca w archiwum - blokada");
        return false;
    }
    // While the marker exists other copies' long loops stop: a whole-data operation runs.
    const fs::path marker = "koniec.txt";
    std::error_code ec;
    if (fs::exists(PARAMETR_MEM, ec))
        fs::copy_file(PARAMETR_MEM, marker, fs::copy_options::overwrite_existing, ec);
    else
        std::ofstream(marker, std::ios::binary);

    UTWORZ_FIRMA();
    bool token = false;
    try {
        token = WEZ_FIRMA_WYLACZNIE(1);
    } catch (const platform::table::TableError&) {
        token = false;
    }
    if (!token) {
        fs::remove(marker, ec);  // nothing runs: the others must not stop their work
        if (ALIAS(1) != "FIRMA") {
            OUT_NET();
            CLS();
            DBCLOSEALL();
        }
        return false;
    }

    const int before = SELECT();
    DBSELECTAREA(1);
    DBGOTOP();
    if (!EOF() && FIELDPOS("BMR") > 0) HH = HH_Z_BMR(FC("BMR"));
    DBSELECTAREA(before);
    close_period_areas();
    _OKNO_("NIE WOLNO PRZERWAC");
    // Without a period there is nothing to repair but the indexes; the working folder itself
    // holds the firm table, which must stay as it is.
    if (!HH.empty()) ODSWIEZ(HH);
    KOREKTA__AS = false;
    return INIT_NTX();
}

}  // namespace sklad
