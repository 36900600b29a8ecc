#include "data/access.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "common/console.h"
#include "common/dialogs.h"
#include "common/drives.h"
#include "common/format.h"
#include "data/engine.h"
#include "platform/table/errors.h"
#include "platform/table/structure.h"

namespace sklad {

namespace fs = std::filesystem;

namespace {

std::string upper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return u;
}

bool starts_with_folder(std::string_view path, std::string_view folder) {
    std::string u = upper(path);
    std::replace(u.begin(), u.end(), '\\', '/');
    return u.rfind(folder, 0) == 0;
}

// Tries `attempt` at once, then while time remains: try, wait half a second. A limit of 0 tries
// for as long as it takes.
template <class F>
bool retry(double seconds, F attempt) {
    if (attempt()) return true;
    for (double left = seconds; seconds == 0 || left > 0; left -= 0.5) {
        if (attempt()) return true;
        INKEY(0.5);
    }
    return false;
}

}  // namespace

bool NET_USE(std::string_view file, std::string_view alias, bool exclusive, int tries) {
    ScreenImage area = SAVESCREEN(15, 30, 20, 72);
    if (exclusive && !starts_with_folder(file, "ROB/") && !starts_with_folder(file, "STRUKT"))
        _OKNO_("Otwieram plik " + std::string(file) + ".dbf", "...");
    bool opened = false;
    for (int left = tries;;) {
        if (DBUSEAREA(false, file, alias, !exclusive) && !NETERR()) {
            opened = true;
            break;
        }
        if (tries != 0 && --left <= 0) break;
        INKEY(1);
    }
    RESTSCREEN(15, 30, 20, 72, area);
    return opened;
}

bool REC_LOCK(double seconds) {
    return retry(seconds, [] { return RLOCK(); });
}

bool FIL_LOCK(double seconds) {
    return retry(seconds, [] { return FLOCK(); });
}

bool ADD_REC(double seconds) {
    return retry(seconds, [] { return DBAPPEND() && !NETERR(); });
}

std::string USUN_SPACJE(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ') out += c;
    return out;
}

bool FILE_X(std::string_view name) {
    std::string plain = USUN_SPACJE(name);
    if (plain.empty()) return false;
    // The folder part as the program's paths give it; the file name matched in any letter case.
    std::replace(plain.begin(), plain.end(), '\\', '/');
    auto slash = plain.rfind('/');
    std::string folder = slash == std::string::npos ? "" : plain.substr(0, slash);
    std::string file = slash == std::string::npos ? plain : plain.substr(slash + 1);
    fs::path dir = folder.empty() ? fs::path(".") : HOST_PATH(folder);
    if (dir.empty()) return false;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const std::string n = entry.path().filename().string();
        if (fnmatch(file.c_str(), n.c_str(), FNM_CASEFOLD | FNM_PERIOD) == 0) return true;
    }
    return false;
}

namespace {

// The table path of a structure string as a file name: "24\01\dowod" -> 24/01/dowod.dbf.
fs::path dbf_of(std::string_view path) { return TABLE_FILE(path, ".dbf"); }

// Whether a file is open on any copy (ours included): the engine refuses an exclusive open then.
bool held_elsewhere(const fs::path& dbf) {
    try {
        platform::table::Table probe(dbf, platform::table::OpenMode::Exclusive);
        return false;
    } catch (const platform::table::OpenConflict&) {
        return true;
    } catch (const platform::table::TableError&) {
        return false;  // a damaged file: it is replaced all the same
    }
}

void write_dowod_log(std::string_view path, const std::source_location& where) {
    std::vector<std::string> previous;
    {
        std::ifstream old("DOWOD.LOG");
        for (std::string line; std::getline(old, line) && previous.size() < 10;) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) previous.push_back(line);
        }
    }
    std::error_code ec;
    if (fs::exists("DOWOD.LOG", ec)) fs::rename("DOWOD.LOG", "dowod_.txt", ec);
    std::ofstream log("DOWOD.LOG", std::ios::binary | std::ios::trunc);
    log << DATE().dmy() << "," << TIME() << ", plik: " << path << ", " << where.function_name() << "("
        << where.line() << ")\r\n\r\n";
    for (const auto& line : previous) log << line << "\r\n";
}

}  // namespace

bool TWORZ(std::string_view spec, bool /*overwrite*/, int number, std::source_location where) {
    const int remembered = SELECT();
    platform::table::TableDefinition table;
    try {
        table = platform::table::parse_table_definition(spec);
    } catch (const platform::table::StructureError& e) {
        _OKNO_(std::string("Zla struktura pliku: ") + e.what(), 2.0);
        return false;
    }

    // The scratch file proves that the working folder can be written; a name another copy is
    // using is skipped (on this system deleting it would not stop the other copy).
    int n = number > 0 ? number : static_cast<int>(SECONDS()) % 60;
    std::string scratch;
    for (int tries = 0; tries < 100; ++tries, n = n % 99 + 1) {
        scratch = "strukt" + STR2(n);
        fs::path f = dbf_of(scratch);
        std::error_code ec;
        if (!fs::exists(f, ec)) break;
        if (USED() && fs::equivalent(WORKAREAS().table().path(), f, ec)) DBCLOSEAREA();
        if (held_elsewhere(f)) continue;
        fs::remove(f, ec);
        if (!fs::exists(f, ec)) break;
    }

    // The target is recreated empty, but never under another copy that has it open.
    const fs::path target = dbf_of(table.path);
    if (USED()) {
        fs::path open_file = WORKAREAS().table().path();
        std::error_code ec;
        if (fs::equivalent(open_file, target, ec)) DBCLOSEAREA();
    }
    std::error_code ec;
    if (fs::exists(target, ec) && held_elsewhere(target)) {
        _OKNO_("Plik " + table.path + " niedostepny", 2.0);
        DBSELECTAREA(remembered);
        return false;
    }

    int scratch_area = 0;
    for (int a = 88; a <= 98; ++a) {
        if (!WORKAREAS().used(a)) {
            scratch_area = a;
            break;
        }
    }
    if (scratch_area == 0) scratch_area = WORKAREAS().first_free();
    DBSELECTAREA(scratch_area);
    try {
        DBCREATE(scratch, {{"FIELD_NAME", FieldType::Character, 10, 0},
                           {"FIELD_TYPE", FieldType::Character, 1, 0},
                           {"FIELD_LEN", FieldType::Numeric, 3, 0},
                           {"FIELD_DEC", FieldType::Numeric, 3, 0}});
    } catch (const platform::table::TableError&) {
    }
    if (!NET_USE(scratch, "strukt", true, 5)) {
        _OKNO_("Plik strukt.dbf niedostepny");
        DBSELECTAREA(remembered);
        return false;
    }
    DBCLOSEAREA();
    bool made = true;
    try {
        DBCREATE(table.path, table.fields);
    } catch (const platform::table::TableError&) {
        made = false;
    }
    fs::remove(dbf_of(scratch), ec);
    DBSELECTAREA(remembered);
    if (!made) {
        _OKNO_("Plik " + table.path + " niedostepny", 2.0);
        return false;
    }
    // A period's document-header table recreated: kept in the log, newest first.
    std::string u = upper(table.path);
    std::replace(u.begin(), u.end(), '\\', '/');
    if (u.find("/DOWOD") != std::string::npos && u.find("ROB/DOWOD") == std::string::npos)
        write_dowod_log(table.path, where);
    return true;
}

}  // namespace sklad
