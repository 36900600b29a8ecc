#pragma once
// How every table is opened, locked, appended to and created: the retry loops are the same
// everywhere, and every wait listens to the keyboard (a key press shortens it).

#include <source_location>
#include <string>
#include <string_view>

namespace sklad {

// Opens `file` in the selected area under `alias`, shared or exclusive, trying `tries` times one
// second apart (0: until it opens).
bool NET_USE(std::string_view file, std::string_view alias, bool exclusive, int tries);
// Locks the current record / the whole table of the selected area, trying for `seconds` in
// half-second steps (0: until it is locked).
bool REC_LOCK(double seconds);
bool FIL_LOCK(double seconds);
// Appends a blank record to the selected table, trying as REC_LOCK does; the new record is
// current and locked.
bool ADD_REC(double seconds);
// Whether a file exists, whatever the letter case of its name; blanks in the name are ignored;
// '*' and '?' match as wildcards.
bool FILE_X(std::string_view name);
std::string USUN_SPACJE(std::string_view text);
// (Re)creates the table a structure string describes, empty; the table is not left open.
// False when the working folder cannot be written ("Plik strukt.dbf niedostepny") or the table
// is open on another workstation.
bool TWORZ(std::string_view spec, bool overwrite = true, int number = 0,
           std::source_location where = std::source_location::current());

}  // namespace sklad
