#pragma once
// Small text helpers every screen and printout uses: zero-padded numbers, month names and lengths,
// period ranges, Roman-numeral dates and centring.

#include <string>
#include <string_view>

#include "platform/value/decimal.h"
#include "platform/value/value.h"

namespace sklad {

std::string STR2(long long n);  // "07"; "00" for 0 and for numbers above 99
std::string STR3(long long n);  // STR(n, 3) with every blank replaced by "0"
std::string CENTRUJ(std::string_view text);
// Month name right-aligned in 11 columns, " '" and the year: "    Styczen '24".
std::string MIESIAC(std::string_view mm, std::string_view yy);
std::string K_MIES(std::string_view mm, std::string_view year);  // last day, "28" to "31"
std::string K_MIES_FK(std::string_view period);                   // period "YY/MM": last day "dd.mm.yyyy"
std::string P_MIES(std::string_view period);                      // period "YY/MM": "01.mm.yyyy"
std::string DTOC_X(platform::Date d);                             // "05.XII.2024"
bool T_N(std::string_view c);                                     // "T" or "N"
bool SPR(std::string_view c);                                     // "A", "B", "C" or "D"

}  // namespace sklad
