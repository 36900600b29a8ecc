// One copy per computer (marker VATJEDEN.TXT): a table on the computer's own disk that a running
// copy holds exclusively in area 149 for the whole run.
#include <filesystem>

#include "common/console.h"
#include "common/dialogs.h"
#include "common/drives.h"
#include "data/access.h"
#include "data/engine.h"
#include "data/session.h"
#include "platform/table/errors.h"
#include "shell/workstation.h"

namespace sklad {

namespace fs = std::filesystem;

namespace {

constexpr int kGuardArea = 149;

// Today's date and the time the copy started, in the guard's one record.
void stamp() {
    DBGOTOP();
    if (EOF()) DBAPPEND();
    FIELDPUT("DATA", Value(DATE()));
    FIELDPUT("CZAS_IN", Value(TIME()));
    DBCOMMIT();
}

bool open_guard(const std::string& table) {
    try {
        return NET_USE(table, "program", true, 1);
    } catch (const platform::table::TableError&) {
        return false;  // not there (its creation failed) or unreadable
    }
}

}  // namespace

bool JEDNA_KOPIA_NA_KOMPUTERZE() {
    if (!FUN_FOLDER("C:\\VAT_ROB")) return true;
    const fs::path folder = HOST_PATH("C:\\VAT_ROB");
    const std::string table = (folder / "program").string();
    const int before = SELECT();
    DBSELECTAREA(kGuardArea);
    DBCLOSEAREA();
    bool may_run = true;
    std::error_code ec;
    if (fs::exists(folder / "program.dbf", ec)) {
        if (open_guard(table)) {
            stamp();
        } else {
            _OKNO_("Program juz otwarty na pasku", 5.0);
            may_run = false;
        }
    } else if (!FILE_X("VATJEDEN.XXX") || FILE_X("C:\\VAT_ROB\\VATJEDEN.TXT")) {
        TWORZ(table + ",NR,C,1,0,DATA,D,8,0,CZAS_IN,C,8,0,CZAS_OUT,C,8,0", true, STACJA);
        DBSELECTAREA(kGuardArea);
        if (open_guard(table)) {
            stamp();
        } else if (NETERR()) {
            // Another copy on this computer created it at the same moment and holds it.
            _OKNO_("Program juz otwarty na pasku", 5.0);
            may_run = false;
        } else {
            _OKNO_("Co jest grane ?", 5.0);
        }
    }
    DBSELECTAREA(before);
    return may_run;
}

}  // namespace sklad
