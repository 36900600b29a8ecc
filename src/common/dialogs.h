#pragma once
// The standard windows every screen uses: the yes/no question, the message window, the end-of-work
// question, the password prompt with its masked entry, and the menu frame. They draw in the window
// area (rows 15 to 20, columns 30 to 72), restore what they covered and put the cursor back.

#include <string>
#include <string_view>

#include "common/memvar.h"

namespace sklad {

SESSION_VAR(bool, KONCOWKA, false);  // the operator confirmed the end of work

// Yes/no question; default "T", "N" or " " (a blank default accepts only T or N).
// With bypass "T" the answer is yes without asking.
bool OKNO(std::string_view question, std::string_view default_answer, std::string_view bypass = "");

// Message window shown for one second (a key ends it early).
bool _OKNO_(std::string_view text);
// Shown for `seconds` (0 = until a key); 0 draws an alarm in yellow, other values but 1 in red.
bool _OKNO_(std::string_view text, double seconds);
// Drawn and left on screen, nothing waited for or restored ("..." by convention).
bool _OKNO_(std::string_view text, std::string_view leave);

// "CZY CHCESZ ZAKONCZYC PRACE ?"; yes also sets KONCOWKA.
bool KONIEC();

// The password prompt. ok: the typed password matched the expected one (letter case ignored, both
// padded to 10), at the first or second attempt; an empty expected password passes without asking.
// An expected password beginning with "HAS" only reads: text holds what was typed.
struct HasloResult {
    bool ok = false;
    std::string text;
    explicit operator bool() const { return ok; }
};
HasloResult HASLO(std::string_view password, std::string_view title = "");

// Masked entry of up to 10 characters (asterisks shown); returns them upper-cased, padded to 10.
std::string GET_HHHHH(int row = 19, int col = 50);

// Frame: side lines, a bottom line with corners, a band of half blocks below the top row and up to
// four separator rows.
bool RAMKA(int top, int left, int bottom, int right, int sep1 = -1, int sep2 = -1, int sep3 = -1,
           int sep4 = -1);

// The amount as a bank form wants it: the picture's text, decimal comma, dots for blanks after
// the first digit.
std::string TR_BANK(const platform::Decimal& amount, std::string_view picture);

}  // namespace sklad
