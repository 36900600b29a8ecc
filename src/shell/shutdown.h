#pragma once
// The end of a run. Every way out after registration releases the workstation first, then closes
// the tables; the orderly ways also write the operator's end entry. A copy that ends otherwise
// (power loss, a killed process) leaves its slot taken, and the next copy that starts alone
// reports it in bledy.txt and rebuilds the indexes.

#include <string_view>

#include "common/memvar.h"

namespace sklad {

// The automatic transfer of the end of work has run (it runs once, however many ways out pass).
SESSION_VAR(bool, AUTO_GG_ZROBIONE, false);

// Creates and posts the automatic "GG" transfer of one warehouse; true when a document was made.
// Waits for the posting of documents; until then it makes none.
bool AUTO_GG(std::string_view warehouse);

// The automatic transfer of the end of work (marker AUTO_GG.TXT): warehouses 1 and 3 to 9, once
// per run, only while the period's tables are open and today lies in the open period. True when
// it ran.
bool PRZENIESIENIE_NA_KONIEC();

// The orderly end: the automatic transfer, OUT_NET, `message` for one second (none when empty),
// a clear screen, every table closed, and the operator's end entry when an operator name is set.
// The caller then ends the program with its exit code.
void KONIEC_PRACY(std::string_view message = "KONIEC PRACY PROGRAMU");

// An end asked for by a signal (SIGTERM, SIGHUP, SIGINT) or a lost terminal, before the console
// ends the process: the slot released, the tables closed, the operator's end entry. Nothing is
// posted and nothing is waited for.
void KONIEC_SYGNALEM(int signal);

// Makes KONIEC_SYGNALEM the end hook of the application's console (again after a new console
// is installed).
void USTAW_KONIEC_SYGNALEM();

}  // namespace sklad
