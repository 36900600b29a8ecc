// Before the rebuild: the unfinished-close warning, finding a period that has stock cards, and
// tidying the folders the program writes scratch and output files to.
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <filesystem>
#include <fnmatch.h>

#include "common/console.h"
#include "common/dialogs.h"
#include "common/format.h"
#include "data/engine.h"
#include "data/rebuild_steps.h"

namespace sklad {

namespace fs = std::filesystem;

namespace {

// Regular files of a folder (no folders, no links followed); none when it does not exist.
std::vector<fs::path> files_in(const fs::path& dir) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (e.is_regular_file(ec) && !e.is_symlink(ec)) out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

Date FILE_DATE(const fs::path& p) {
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0) return Date();
    const time_t tt = st.st_mtime;
    tm local{};
    localtime_r(&tt, &local);
    return Date::from_ymd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

namespace {

bool matches(const fs::path& p, const char* pattern) {
    return fnmatch(pattern, p.filename().c_str(), FNM_CASEFOLD) == 0;
}

void erase(const fs::path& p) {
    std::error_code ec;
    fs::remove(p, ec);
}

void bell() { TONE(1000, 1); }

bool has_stock_cards(std::string_view hh) { return TABLE_EXISTS(M_DBF + std::string(hh) + "\\as"); }

std::string period_of(int year, int month) { return STR2(year % 100) + "\\" + STR2(month); }

fs::path period_folder(std::string_view hh) { return TABLE_FILE(M_DBF + std::string(hh) + "\\as").parent_path(); }

}  // namespace

void USUN_PLIK(std::string_view name) {
    const std::string pattern(name);
    for (const fs::path& f : files_in("."))
        if (matches(f, pattern.c_str())) erase(f);
}

std::string HH_DZIS() {
    const Date today = DATE();
    return period_of(today.year(), today.month());
}

void ZLE_ZAMKNIETY_MIESIAC() {
    const std::vector<fs::path> markers = files_in("zamknij");
    if (markers.empty()) return;
    for (int i = 0; i < 3; ++i) bell();
    CLS();
    const std::string colour = "W+*/N";
    const std::string title = "MASZ ZLE ZAMKNIETY MIESIAC";
    DISPOUTAT(5, 10, title, colour);
    DISPOUTAT(6, 10, std::string(title.size(), '='), colour);
    int row = 8;
    for (const fs::path& m : markers) {
        // "R2024M05.TXT": the year from characters 2 to 5, the month from 7 and 8.
        const std::string name = m.filename().string();
        const std::string year = name.size() >= 5 ? name.substr(1, 4) : "";
        const std::string month = name.size() >= 8 ? name.substr(6, 2) : "";
        DISPOUTAT(row++, 19, "Rok " + year + "  miesiac " + month, colour);
    }
    DISPOUTAT(row + 1, 10, "Zmien biezacy okres i jeszcze raz zamknij", colour);
    INKEY(10);
}

std::string SZUKAJ_OKRESU(std::string_view hh) {
    if (has_stock_cards(hh)) return std::string(hh);
    const Date today = DATE();
    const std::string now = period_of(today.year(), today.month());
    if (has_stock_cards(now)) return now;
    _OKNO_("szukam danych", "...");
    for (int year = today.year() % 100, month = today.month(); year >= 1; month = month == 1 ? 12 : month - 1) {
        const std::string folder = period_of(year, month);
        _OKNO_("szukam " + folder + "\\as.dbf", "...");
        if (has_stock_cards(folder)) return folder;
        if (month == 1) --year;
    }
    return std::string(hh);
}

void SPRZATANIE(std::string_view hh) {
    const Date today = DATE();
    for (const fs::path& f : files_in("prn_w"))
        if (FILE_DATE(f) != today) erase(f);
    // Output older than a month goes; newer output may still be wanted.
    auto old = [&](const fs::path& f) { return today - FILE_DATE(f) > 30; };
    for (const char* dir : {"pdf", "data_wf"})
        for (const fs::path& f : files_in(dir))
            if (old(f)) erase(f);
    for (const fs::path& f : files_in("."))
        if (matches(f, "201*.WF") && old(f)) erase(f);

    for (const fs::path& f : files_in(period_folder(hh)))
        if (matches(f, "*.ntx")) erase(f);

    std::error_code ec;
    fs::create_directories("rob", ec);
    for (const fs::path& f : files_in("rob"))
        if (!matches(f, "*wydruk*")) erase(f);

    // The working folder may hold anyone's files: only the scratch tables that TWORZ makes and
    // an interrupted run may have left behind are the program's to erase.
    for (const fs::path& f : files_in("."))
        if (matches(f, "strukt[0-9][0-9].dbf")) erase(f);
}

}  // namespace sklad
