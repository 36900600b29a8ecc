#pragma once
// Output redirected into a spool file. Between INITDRUK and CLOSEDRUK the console's positioned
// output (DEVPOS, DEVOUT) and line output (QOUT, QQOUT) go into the file and not to the screen,
// as a printer would take them: QOUT starts a new line with CR LF, DEVPOS moves the print head
// with line ends and blanks (a row above the current one ejects the page with a form feed).
// Redirections nest: CLOSEDRUK restores whatever output was in force before its INITDRUK.

#include <string>
#include <string_view>

namespace sklad {

// ---- this workstation's spool files: the stem, STR2(STACJA), ".prn" in the folder rob
std::string PLIK_WYDRUKU(std::string_view stem = "wydruk");  // "rob\wydruk07.prn"
std::string PLIK_DRUKU();                                    // "rob\druk07.prn"
std::string PLIK_ZEBRY();                                    // "rob\zebra07.prn"

// Makes `file` ready for a new printout: erases it, and when it cannot be erased takes the first
// of the names with the two characters before the extension replaced by 51 to 99 that belongs
// to no live workstation slot and can be created anew (exclusively: a name that exists is
// another printout and is left alone). Returns the name to print into; "" when none is free.
std::string PRZYGOTUJ_WYDRUK(std::string_view file);

// Redirects output into `file` (created or emptied, its folder made). False when it cannot be
// created; output then stays where it was.
bool INITDRUK(std::string_view file);
// Ends the innermost redirection and closes its file. False when writing the file failed.
bool CLOSEDRUK();
bool DRUK_WLACZONY();  // a redirection is in force

// The print head of the innermost redirection (0, 0 when none).
int PROW();
int PCOL();
void SETPRC(int row, int col);
// A form feed; the head goes to 0, 0.
void EJECT();

}  // namespace sklad
