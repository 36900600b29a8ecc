#pragma once
// The control-code vocabulary of print procedures. The operator's printer kind M_DRUKARKA picks
// the dialect: a kind beginning with "PACKARD" is a laser printer speaking PCL, anything else a
// dot-matrix printer speaking ESC/P. Print procedures take their font strings from here, so a
// sequence is spelt in one place.

#include <optional>
#include <string>
#include <string_view>

namespace sklad {

inline constexpr char ESC = '\x1b';
inline constexpr char FF = '\x0c';

// ---- the printer kind, read by prefix and by contained tokens
bool JEST_PCL();       // begins with "PACKARD"
bool JEST_PACKARDL();  // begins with "PACKARDL": wider normal pitch, larger headlines
bool JEST_DUPLEX();    // PCL with "LASER": odd sale printouts get an empty page
bool BEZ_CHR12();      // contains "-CHR(12)": document printouts write no form feeds
bool JEST_DF();        // contains "COM" or "DF_IP": a fiscal printer is attached here
// The drive letter written before ":\PDF" in `text`, when there is one.
std::optional<char> DYSK_PDF(std::string_view text);

// ---- PCL (laser)
// ESC "&l0O", ESC "(10U", ESC "(s0P", ESC "(s" pitch "H", ESC "(s" points "V", ESC "(s0S",
// ESC "(s" weight "B", ESC "(s4101T", ESC "(s2Q".
std::string PCL_FONT(int pitch, int points, int weight = 0);
std::string PCL_NORMALNY();     // 20/10 (12/10 on "PACKARDL")
std::string PCL_MALY();         // 20/6
std::string PCL_BARDZO_MALY();  // 22/4
std::string PCL_NAGLOWEK();     // 6/14 (6/20 on "PACKARDL")
std::string PCL_POGRUBIONY();   // 12/12, weight 4

// ---- ESC/P (dot-matrix)
std::string ESCP_ODSTEP(char n);  // ESC "3" n: line spacing
std::string ESCP_TRYB(char n);    // ESC "!" n: print mode
std::string ESCP_PODKRESLENIE(bool on);
// The dot-matrix setup. Without arguments writes ESC "3" 0x1C and returns ESC "!" 0x01; with
// them writes ESC "3" spacing and ESC "!" mode and returns ESC "!" mode: the string that puts
// the normal font back after a headline.
std::string DRUK();
std::string DRUK(int spacing, int mode);

// ---- by the printer kind
std::string FONT_NORMALNY();   // PCL normal, or ESC "3" space with ESC "!" 0x05
std::string FONT_NAGLOWEK();   // PCL headline, or ESC "!" "!"
// The end of a report: the larger of J_PAPIER and 2 empty lines, and on a laser printer a form
// feed followed by a line end.
void KONIEC_DRUK();

}  // namespace sklad
