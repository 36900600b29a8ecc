#pragma once
// The print preview: a spool file shown 80 columns at a time, paged both ways and scrolled
// sideways, from which the operator prints it (whole, a part, after empty lines), copies it to a
// text or table file, asks for its PDF or mails it.

#include <string_view>

namespace sklad {

// Keys: Up/Down/PgUp/PgDn, Ctrl-PgUp/Ctrl-PgDn (first/last screen), Right/Left (8 columns),
// End/Home (40 columns), Enter (column 1), F5 (print), Alt-F5 (print from one line to another),
// Ctrl-F5 (print after empty lines), Alt-K (calculator), Alt-P (PDF, with PDF.TXT), Alt-E (mail),
// Alt-W (edit a copy), Alt-T (copy to a text file), Alt-B (copy the open table), Esc.
void READTEXT(std::string_view file);

}  // namespace sklad
