#pragma once
// Polish letters as a character printer overprints them: base letter, backspace (8), mark.
// One table serves both ways, so what the words routines write is what the renderers compose:
// "," under a and e, "'" over c n o s z (and Z' is Ź), "/" through l, and Z. or Z- for Ż.
// The lower-case ż has no form of its own: it is written, and so read back, as ź.

#include <optional>
#include <string>

namespace platform::text {

struct Overstrike {
    char base;
    char mark;
};

// The overprint form of a code page 852 letter; nullopt for characters that have none.
std::optional<Overstrike> overstrike_form(char cp852);
// The code page 852 letter that `base` overprinted with `mark` stands for; nullopt when none.
std::optional<char> compose_overstrike(char base, char mark);
// A whole text with every "base, backspace, mark" that makes a letter replaced by the letter;
// other backspaces are kept.
std::string compose_overstrikes(const std::string& text);

}  // namespace platform::text
