#pragma once
// Amounts in Polish words, with Polish letters in the overprint form (letter, backspace, mark)
// that a character printer prints as one accented letter.

#include <string>
#include <string_view>

#include "platform/value/decimal.h"

namespace sklad {

std::string SLOWNIE(platform::Decimal amount);
// The overprint form of one code page 852 letter; other characters come back unchanged.
std::string L(char letter);
// The same for a whole code page 852 text.
std::string L_TEXT(std::string_view text);
// Plain letters back: every backspace and the character after it are removed.
std::string USUN_CHR8(std::string_view text);

}  // namespace sklad
