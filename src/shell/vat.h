#pragma once
// The default VAT rate J_VAT and the fiscal printer's rate slots J_PTUA to J_PTUZ.

#include <string>

namespace sklad {

// Normalises J_VAT: "ZW" and "NP" stay; a number is right-aligned, must be one of the slots A to F
// (else it becomes slot A) and is at most 23 unless NORWEGIA.TXT exists; with VAT_13_5.TXT it is
// written "99.9". Slots A to D are right-aligned on the way ("--" in A becomes "23").
// Without an argument (as an editor's field check) it also shows the rate at row 13 (col 78, or
// 76 with VAT_13_5.TXT). Always true.
bool VAT_DOMYSLNY();
bool VAT_DOMYSLNY(int flag);

// Normalises one slot value in place: "00", "  " and "0 " become " 0", "8 " becomes " 8",
// "05" becomes " 5"; "ZW", "NP" and right-aligned rates stay. Always true.
bool SPR_PTU(std::string& slot);

}  // namespace sklad
