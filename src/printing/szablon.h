#pragma once
// Template files: editable text copied into a printout (document footers, labels). A template
// can only print: a line naming a routine calls one of the print procedures registered for
// templates (druk.h), and an expression line is a text literal, never evaluated as code.

#include <string_view>

namespace sklad {

// Copies the template `file` into the printout being written. Lines:
//   "text"         the literal's text on a new line (what follows the closing quote is ignored)
//   &NAME or &NAME(text)   the template procedure NAME, with the text as its one argument
//   *...           a comment
//   (empty)        an empty line, only in "tylko wypisz" mode
//   anything else  printed as it stands
// False when the file cannot be read.
bool DRUK_PLIK(std::string_view file, bool tylko_wypisz);
// Label printing: the template written into rob\zebraNN.prn and sent to the label printer.
bool DRUK_PLIK(std::string_view file);

}  // namespace sklad
