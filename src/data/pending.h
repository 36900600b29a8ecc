#pragma once
// Entry points the catalogue calls into work that other parts of the program do. Until that work
// is built each returns at once, reporting success.

namespace sklad {

// Recomputes the stock cards from the period's documents (the reorganisation run); true when done.
bool KOREKTA_AS();
// With the workstation's rate table open as rob_wal: adds the month's rates to be confirmed,
// previews them when any were added, and reconciles the settlements with them.
void KURSY_DO_POTWIERDZENIA();
// Archives the operator log at the turn of the month. The log belongs to the shell, above this
// layer, which installs the routine that does it; nothing happens until then.
void KAS_KANTY();
void KAS_KANTY_ROUTINE(void (*routine)());
// Takes the supervisor's password from the current (first) record of prawa into M_BOSS0.
void HASLO_SZEFA_Z_PRAWA();

}  // namespace sklad
