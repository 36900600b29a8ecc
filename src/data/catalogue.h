#pragma once
// The table catalogue: for every core table its work area, alias, file, folder, record layout and
// index files, and the routines that bring a period into use. Every other routine reaches the
// tables by the aliases and areas given here and relies on the index orders given here.
//
// Whole-data work (the full rebuild, a layout upgrade) runs only while this copy holds the token:
// the firm table open exclusively in area 1, which no copy can have while another one runs.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/layouts.h"
#include "data/session.h"

namespace sklad {

enum class Folder { Working, Period };

struct IndexFile {
    std::string file;  // name without folder or extension: "dow1"
    std::string key;   // key expression
};

struct CatalogueTable {
    int area;
    std::string alias;
    std::string file;  // "fa_N"; folded to lower case on disk
    Folder folder;
    // The current layout for the table at `path` that already has `existing`; empty when the
    // table's layout is another part's (the rebuild then only indexes it).
    std::function<std::string(std::string_view path, const Fields& existing)> layout;
    // Index files in order, for a table with `fields`.
    std::function<std::vector<IndexFile>(const Fields& fields)> indexes;
    // Whether a missing table is created by the rebuild (false: used only when present).
    std::function<bool()> created;
};

// The tables the full rebuild takes, in its order; the workstation's tables (dd, rob\fa_n) and
// firma are not among them.
const std::vector<CatalogueTable>& CATALOGUE();
const CatalogueTable& CATALOGUE(std::string_view alias);  // std::out_of_range when unknown

// "24\01\dow", "zn": the table's path as the program writes it, for a period folder.
std::string TABLE_PATH(const CatalogueTable& t, std::string_view period);
std::string INDEX_PATH(const CatalogueTable& t, const IndexFile& index, std::string_view period);
// "MM.YY" -> "YY\MM"; "" when the text is not a month.
std::string HH_Z_BMR(std::string_view bmr);

// Closes every work area from 2 to 250 except 149 (the one-copy guard): the period's tables.
void ZAMKNIJ_OKRES();
// "Plik " + path + " niedostepny" for two seconds; false.
bool NIEDOSTEPNY(std::string_view path);
// Whether the file of a program path exists ("24\01\dow" with ".dbf" or ".ntx").
bool TABLE_EXISTS(std::string_view path, std::string_view extension = ".dbf");

// Index files of the stock cards for a table with `fields` (bar codes, groups, markers).
std::vector<IndexFile> INDEKSY_AS(const Fields& fields);
// The entry table's one index, in the file of the table's own name.
IndexFile INDEKS_DD(std::string_view table_path);
// The highest order of the open `as` (5 down to 3) by group, certificate or price; 0 when none.
int AS_GRUPA_ORDER();

// Settings the catalogue reads, by name, with the default the settings list gives them.
std::string SETTING_TEXT(std::string_view name, std::string_view fallback);
long long SETTING_NUMBER(std::string_view name, long long fallback);

// ---- the token
// Whether this copy holds the firm table exclusively.
bool FIRMA_WYLACZNIE();
// Takes the token (closing and reopening firma exclusively, `tries` attempts). On failure says
// "Wszyscy musza wyjsc z programu" (unless `quiet`) and reopens firma shared; false then.
bool WEZ_FIRMA_WYLACZNIE(int tries, bool quiet = false);
// Gives the token back: firma reopened shared, one attempt ("Musisz zaczekac" when refused).
bool ODDAJ_FIRMA();

// ---- bringing a period into use
// Opens the catalogue shared, for the firm's current period or for `folder`. False (after
// "Plik <path> niedostepny") when a table cannot be opened: the caller ends the program.
bool INIT_DBF(std::string_view folder = {});
// Tidies the folders, brings every table to its layout, rebuilds every index, then opens the
// catalogue with INIT_DBF. Modes: "" normal; "BEZ_INIT_DBF" (month close: settlements reconciled,
// the token kept to the end); "ZMIANA MM.RR" (tables not reopened); "z korekta As" (with
// KOREKTA__AS: stock cards recomputed).
bool INIT_NTX(std::string_view mode = {});
// Recreates the workstation's empty entry table in area 4 as `dd`, related to `as` unless
// `bez_relacji`.
bool NOWE_DD(bool bez_relacji = false);
// Creates the firm table with `slots` workstation slots (0: 99 with ST99.TXT, 2 with ST2.TXT,
// else 30).
void TWORZ_FIRMA(int slots = 0);
// Merges stock cards with the same warehouse and code (only when `as` has KOD13).
void AS_DUBLOWANE();

}  // namespace sklad
