#pragma once
// Workstations: each running copy holds one slot of the firm record's field ST, and the slot's
// position is the copy's number STACJA, which names its scratch files. Opening the firm table
// exclusively is the only proof that no other copy runs; the copy that wins it resets the slots.
//
// Slot values: "0" or blank free; "?" taken, nobody logged in yet; an operator number taken by
// that operator; the shade character taken by the supervisor.

#include <string>
#include <string_view>

#include "common/memvar.h"
#include "data/layouts.h"

namespace sklad {

// True from a lone start (this copy reset the slots) until the first login.
SESSION_VAR(bool, PIERWSZE_WEJSCIE, false);
// This copy holds its slot: set by IN_NET, cleared by OUT_NET. A copy that never registered
// (a failed start, the repair start before registration) must not free slot STACJA.
SESSION_VAR(bool, STACJA_ZAJETA, false);

// The supervisor's mark in a slot (code page 852 shade).
inline constexpr char ST_SZEF = '\xB1';

// Registers this copy. `argument` is the program's argument ("" when there is none). Returns the
// workstation number, or 0 when the copy must end (the reason has been shown). A lone copy keeps
// the firm table open exclusively in area 1 until the catalogue reopens it shared; it also sets
// INDEKSOWAC when the indexes must be rebuilt.
int IN_NET(std::string_view argument = "");

// Releases this copy's slot (when it holds one and the firm table is open) and writes
// parametr.txt. True.
bool OUT_NET();

// Writes the logged-in operator's number into this copy's slot ("0", the supervisor, as the
// shade character). False when the record could not be locked.
bool ST_OPERATOR(std::string_view operator_number);

// The guard around a document correction; with the current firm layout there is nothing to
// guard, so it does nothing. True.
bool FIRMA_ST_2(std::string_view sign);

// ---- per-workstation files
// This copy's number as its scratch files carry it: "01" to "99".
std::string NR_STACJI();
// A scratch file of this copy in rob: "rob\" + base + number + extension ("rob\d07").
std::string PLIK_STACJI(std::string_view base, std::string_view extension = "");

// ---- the slot field (workstation_firma.cpp)
// How many slots a new firm table gets: 99 with ST99.TXT, 2 with ST2.TXT, else 30.
int LICZBA_STACJI();
// The characters of the taken slots in `st`, the shade shown as "0".
std::string ZAJETE_STACJE(std::string_view st);
// Whether the firm table with `fields` must be rebuilt to the current layout (`argument`
// beginning with "3" always asks for it).
bool FIRMA_DO_PRZEBUDOWY(const Fields& fields, std::string_view argument);
// Creates the firm table when it is missing. Built under a name of this process and linked into
// place, so two copies starting on an empty folder never replace each other's table.
void UTWORZ_FIRMA();

// ---- one copy per computer (workstation_guard.cpp)
// With VATJEDEN.TXT: holds C:\VAT_ROB\PROGRAM exclusively in area 149 for the whole run. False
// (after "Program juz otwarty na pasku") when another copy on this computer holds it.
bool JEDNA_KOPIA_NA_KOMPUTERZE();

}  // namespace sklad
