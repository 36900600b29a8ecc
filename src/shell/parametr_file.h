#pragma once
// The text layout of parametr.mem and parametr.txt: one variable a line with its name, type
// letter, width, decimals and value, then an end line with the count, so that a cut-off file is
// told from a whole one:
//
//   J_VAT C 2 0 "23"
//   J_TEZ N 3 0 14
//   #END 2
//
// Character values are quoted; bytes outside printable ASCII, the quote and the backslash are
// written as \xHH, so the file is plain ASCII that survives any editor and mail program. Lines
// beginning with "#" are comments. A reader keeps every line it understands and lists the others.

#include <string>
#include <string_view>
#include <vector>

namespace sklad {

struct WpisParametru {
    std::string name;  // upper case
    char type = 'C';   // C, N, D (YYYYMMDD) or L (T/F)
    int width = 0;
    int decimals = 0;
    std::string value;  // C: the bytes; N, D, L: the text as written
};

struct TekstParametrow {
    std::vector<WpisParametru> entries;  // in file order; a later line of the same name wins
    std::vector<std::string> problems;   // one per damaged line, and one for a missing end
};

TekstParametrow PARAMETR_Z_TEKSTU(std::string_view text);
std::string PARAMETR_DO_TEKSTU(const std::vector<WpisParametru>& entries);

}  // namespace sklad
