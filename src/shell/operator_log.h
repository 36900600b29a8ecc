#pragma once
// The operator log operator.txt in the working folder and its archives: session entries, audit
// events, and the yearly ("oper" + yyyy + ".txt") and monthly ("operator\20yy_mm.txt")
// rotations. Lines end in CR LF. The log and its archives are written only while J_KANTY is "T"
// (the program-start entry "E" and the card entry "3" excepted).
//
// Every entry is one write on a file opened for appending, so entries of copies writing at once
// never mix. A rotation first renames the log to a name of its own process, which only one copy
// can do, and appends it to the archive: an archive that exists already is added to, not lost.
//
// The session entries of operators ("P", "K") and the card entry ("3") are kept only where the
// installation asks for them with the marker file SESJE.TXT.

#include <string>
#include <string_view>

namespace sklad {

// Session entries: "P" an operator starts, "K" ends, "3" tampered with a loyalty card, "E" the
// program was started. Rereads the settings first and saves J_DAT_OPE/J_TIM_OPE after writing.
// False (after "Problem_" and the error number) when the log cannot be made.
bool CZAS_PRACY(std::string_view mode);

// Event 0: makes sure operator.txt exists (start-up housekeeping on workstation 1). Other
// events append `text` as it is (the caller composes its lines). False when the log cannot be
// made.
bool TWORZ_KANT(int event, std::string_view text = "");

// Moves operator.txt to the archive `target` (a program path such as "OPERATOR\2024_01.TXT")
// and starts an empty log. True.
bool KAS_KANTY(std::string_view target);

// The monthly rotation at the end of a full index rebuild: while the open period (HH) is today's
// month, a non-empty log goes to the archive of the month before, unless that archive exists.
void ARCHIWUM_OPERATORA();

// Appends `line` and CR LF to a text file of the working folder, creating it when missing.
bool DOKLEJ_TXT(std::string_view file, std::string_view line);

}  // namespace sklad
