#pragma once
// The editors of the settings and of the firm record.

#include <string>
#include <string_view>

namespace sklad {

// The user parameter editor: three pages of settings, the cash counters of the firm record; the
// settings this user changed are saved, and the copy parametr.txt is rewritten.
bool PARAMETRY_PROGRAMU(int mode = 1);
// The administrator parameter editor; reads parametr.txt when parametr.mem is missing.
bool INST_VELT();
// The firm data editor over the firm record (area "firma"); a second page with KRS.TXT. True.
bool ED_FIRMY();

// Whether the document kind (J_RD by default) is in the document-kind table; an empty table, or
// none open, accepts any kind.
bool JEST_RD();
bool JEST_RD(std::string_view kind);

}  // namespace sklad
