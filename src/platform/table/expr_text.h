#pragma once
// Byte-level text work of the expression functions, on code page 852 text.

#include <string>
#include <string_view>

#include "platform/value/decimal.h"

namespace platform::table::detail {

// UPPER() and LOWER() of bytes [from, end) of `s`, Polish and other code page letters included.
void upper_852(std::string& s, std::size_t from);
void lower_852(std::string& s, std::size_t from);

// DESCEND() of text: each byte b becomes 256 - b, so byte order reverses.
void descend_bytes(std::string& s, std::size_t from);

// STR(): right-aligned in `width` with `decimals` places, '*' when it does not fit; widths and
// decimals out of range are pulled into it.
void append_str(std::string& out, Decimal v, int width, int decimals);

// The key form of a number: STR() text whose byte order is numeric order.
void append_numeric_key(std::string& out, Decimal v, int width, int decimals);

// EMPTY() of text: only blanks, tabs, carriage returns and line feeds.
bool blank_text(std::string_view s);

}  // namespace platform::table::detail
