#pragma once
// The small value files of the working folder: the document kinds left out of lists
// ("POMINAC.TXT"), the bank line printed in bold ("BANKBOLD.TXT") and the date of "DATA.RR".
// File names are matched without regard to letter case and blanks, as marker files are.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/memvar.h"

namespace sklad {

SESSION_VAR(std::string, M_RD_POMIN, "");  // ",FZ,PA," or "" when nothing is left out
SESSION_VAR(std::string, M_BANKBOLD, "");  // bank text printed in bold on invoices
SESSION_VAR(Date, M_DATA_RR, Date::from_ymd(2001, 1, 1));

void CZYTAJ_POMINAC();
void CZYTAJ_BANKBOLD();
// Needs today's date from the console clock.
void CZYTAJ_DATA_RR();

namespace settings_detail {
// The file of the working folder whose name matches `name` without regard to case and blanks
// (FILE_X tells whether there is one; this finds it, to be read).
std::optional<std::filesystem::path> find_file(std::string_view name);
// The whole file, at most `limit` bytes; nullopt when it cannot be read.
std::optional<std::string> read_file(const std::filesystem::path& p, std::size_t limit);
}  // namespace settings_detail

}  // namespace sklad
