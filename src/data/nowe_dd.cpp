// The workstation's document-entry table, recreated empty.
#include <filesystem>

#include "common/drives.h"
#include "common/format.h"
#include "data/access.h"
#include "data/catalogue.h"
#include "data/engine.h"

namespace sklad {

namespace fs = std::filesystem;

namespace {

// Erases the table and its index, recreates it from `structure`, opens it exclusively in `area` under
// `alias` and indexes it on `key` in the file of its own name.
bool recreate(int area, const std::string& path, const std::string& structure, std::string_view alias, std::string_view key) {
    DBSELECTAREA(area);
    DBCLOSEAREA();
    std::error_code ec;
    fs::remove(TABLE_FILE(path, ".ntx"), ec);
    fs::remove(TABLE_FILE(path, ".dbf"), ec);
    TWORZ(structure, true, STACJA);
    DBSELECTAREA(area);
    if (!NET_USE(path, alias, true, 20)) return NIEDOSTEPNY(path);
    DBCREATEINDEX(path, key);
    return true;
}

}  // namespace

bool NOWE_DD(bool bez_relacji) {
    // With C:\ROB.TXT the entry tables live on the workstation's own drive.
    std::string folder = "rob";
    if (FILE_X("C:\\ROB.TXT") && FUN_FOLDER("C:\\ROB")) {
        folder = HOST_PATH("C:\\ROB").string();
    } else {
        std::error_code ec;
        fs::create_directories("rob", ec);
    }
    const std::string number = STR2(STACJA);
    const std::string path = folder + "\\d" + number;
    if (!recreate(4, path, STRUKTURA_DD(path), "dd", INDEKS_DD(path).key)) return false;
    if (!bez_relacji && SELECT("as") != 0) DBSETRELATION("as", "mag+indeks");
    if (FILE_X("KOD_QR.TXT")) {
        const std::string qr = folder + "\\dd_qr" + number;
        const bool made = recreate(14, qr, STRUKTURA_DD_QR(qr), "dd_qr", "mag+indeks+STR(RECNO(),4)");
        DBSELECTAREA(4);
        if (!made) return false;
    }
    return true;
}

}  // namespace sklad
