#pragma once
// Small helpers the operator routines share over the current record of prawa.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "common/browse_list.h"
#include "data/engine.h"

namespace sklad::operators_detail {

std::string trim(std::string_view s);   // both ends
std::string rtrim(std::string_view s);  // trailing blanks only
std::string pad(std::string_view s, std::size_t n);  // cut or padded with blanks to n
// A text field of the current record; "" when the table lacks it.
std::string pole(std::string_view field);
// Writes the fields the table has into the current record under its lock, tried for `seconds`;
// false (nothing written) when the lock failed.
bool zapisz(std::initializer_list<std::pair<std::string_view, Value>> fields, double seconds);
// A tone, unless the marker file TONE.--- silences them.
void ton(double frequency, double duration = 1);
// The screen row of the list's current record.
int wiersz(BrowseList& list);

}  // namespace sklad::operators_detail
