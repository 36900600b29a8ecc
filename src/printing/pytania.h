#pragma once
// The questions printing asks on the bottom row, and the names of files the operator exports to.

#include <string>
#include <string_view>

namespace sklad {

// Reads one text on `row` (cleared meanwhile, given back afterwards), after `prompt` at `col`:
// `width` characters, of which `shown` are on screen (0: all), upper case when asked. Returns it
// trimmed; LASTKEY() tells how the read ended.
std::string PYTAJ(int row, int col, std::string_view prompt, std::string_view preset, int width, int shown = 0,
                  bool upper = false);

// The file `name` that the operator typed, in the export folder `folder`, with `extension` added
// unless the name ends with it: "TXT\raport.TXT". Only a bare file name is taken: a name with a
// folder, a drive, ".." or control characters is refused with a message, as it could reach a
// live table or a marker file. An existing file is replaced only when the operator agrees.
// Returns "" when refused or declined; the folder exists otherwise.
std::string PLIK_EKSPORTU(std::string_view folder, std::string_view name, std::string_view extension);

}  // namespace sklad
