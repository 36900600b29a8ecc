#pragma once
// The steps of bringing a period into use that INIT_NTX and INIT_DBF share with each other and
// with the month close: the unfinished-close warning, the period search, the tidying of folders,
// the one-off corrections and the settlement reconciliation.

#include <filesystem>
#include <string>
#include <string_view>

#include "data/catalogue.h"

namespace sklad {

// "MASZ ZLE ZAMKNIETY MIESIAC" with one line per marker in ZAMKNIJ, for 10 seconds; nothing when
// the folder holds no file.
void ZLE_ZAMKNIETY_MIESIAC();

// The period folder to use when `hh` holds no stock cards: today's month, else the newest month
// back to January of year 01 that has them; `hh` itself when none has.
std::string SZUKAJ_OKRESU(std::string_view hh);
// "YY\MM" of today.
std::string HH_DZIS();

// The local date a file was last written; the empty date when it cannot be read.
Date FILE_DATE(const std::filesystem::path& file);
// Erases the regular file of the working folder of that name, whatever its letter case.
void USUN_PLIK(std::string_view name);

// Erases what the rebuild clears: old print and export output, the period's index files, the
// workstation scratch files in rob (created when missing) and the program's own scratch tables
// "strukt" + two digits in the working folder. Only regular files are erased.
void SPRZATANIE(std::string_view hh);

// One-off corrections of a table open exclusively in the selected area, before it is indexed:
// goods-issue notes carried over into dow and dowod, dates of the 1900s in dow and fa_N, ODB
// left-aligned, the paid mark in currency mode, blank warehouses with MAGPUSTY.TXT.
void POPRAWKI(const CatalogueTable& t, std::string_view path);

// Settlement reconciliation of the month close, over fa_N (area 7) and the contractor files
// zo, zd, zp, zf open with their "odb" order: every contractor's OBWN and OBMA become the sums
// of its open entries. Empty entries are deleted; entries of an unknown group are kept and
// reported.
void UZGODNIJ_ROZRACHUNKI();

// INIT_DBF; with `keep_token` the firm table stays as it is (the month close keeps the token);
// without `may_rebuild` missing index files make it fail instead of starting the full rebuild.
bool OTWORZ_OKRES(std::string_view folder, bool keep_token, bool may_rebuild);

}  // namespace sklad
