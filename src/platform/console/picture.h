#pragma once
// Display pictures: "@Z 9999999.99", "@R 99-999", "!!.!!", "@S10"... One formatter serves
// output at a position, list cells and entry fields, so a value looks the same everywhere.

#include <string>
#include <string_view>

#include "platform/value/value.h"

namespace platform::console {

// A picture split into its function letters (after '@', up to the first blank) and its template.
struct Picture {
    bool upper = false;        // @!  every letter upper case
    bool zero_blank = false;   // @Z  a zero number shows as blanks
    bool clear_first = false;  // @K  the first typed character clears an entry field
    bool literals_out = false; // @R  template literals are shown but are not part of the value
    bool left_justify = false; // @B  numbers shown from the left
    bool european = false;     // @E  decimal comma for numbers
    int scroll = 0;            // @Sn an entry field n columns wide that scrolls over a wider value
    std::string mask;          // the template; empty when the picture has none

    static Picture parse(std::string_view text);
};

// True for the template letters that stand for a character of the value.
bool is_mask_slot(char m);
// Whether `c` may be typed at a template position `m` of a text value; numbers check their own.
bool mask_accepts(char m, char c);

// Letters of code page 852 (Polish and the other Latin letters it carries) and their capitals.
bool is_letter(char c);
char to_upper(char c);
std::string to_upper(std::string_view s);

// The template a number edits and shows with when the picture gives none: ten integer places and
// as many decimals as the value carries.
std::string default_number_mask(const Decimal& v);

// A number through a numeric template: right-aligned, rounded half away from zero to the template's
// decimals, ',' shown only after a digit, '-' in front of the first digit; '*' when it does not fit.
std::string format_number(const Decimal& v, const Picture& p);
// Any value through a picture, as DEVOUTPICT shows it (@S is for entry fields and does not cut here).
std::string format_value(const Value& v, const Picture& p);
std::string format_value(const Value& v, std::string_view picture);

}  // namespace platform::console
