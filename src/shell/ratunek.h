#pragma once
// The repair start (program argument "999"): every table of the current period is rebuilt from
// its own records, then every index, while this copy holds the firm table exclusively from the
// first step to the last, so that no other copy can start in the middle.

#include <string_view>

namespace sklad {

// False when nothing could be done (an archive is open, or other copies run); the program then
// ends. When even the firm table could not be reopened this copy has already let go of
// everything (parametr.txt written, tables closed).
bool RATUNEK();

// Rebuilds the tables of `folder` (the working folder when empty): of the first 30 "*.dbf" files,
// those with names longer than 5 characters, without "-" and "_", not beginning with "XXX".
// Each is copied without its deleted records into a new table built beside it, which then
// replaces it whole, so an interruption never loses a table. The entry tables "d1" to "d4" are
// created anew, empty. A table another copy holds is shown and left. True.
bool ODSWIEZ(std::string_view folder);

}  // namespace sklad
