#pragma once
// A pick-list over an array of texts in a window. Without a user function: arrows, PgUp/PgDn,
// Home/End, Ctrl-PgUp/Ctrl-PgDn move, Enter chooses, Esc, Left and Right give 0 and a first letter
// goes to the next item starting with it. With one, every key the list does not handle itself
// (Enter and Esc included) and each hit of the top or bottom is reported to it, and its answer decides.

#include <functional>
#include <string>
#include <vector>

#include "platform/console/console.h"

namespace platform::console {

inline namespace achoice_codes {
// Modes the user function is called with.
inline constexpr int AC_IDLE = 0;       // nothing pending after a movement
inline constexpr int AC_HITTOP = 1;     // tried to move above the first item
inline constexpr int AC_HITBOTTOM = 2;  // tried to move below the last item
inline constexpr int AC_EXCEPT = 3;     // a key the list does not handle (lastkey tells which)
inline constexpr int AC_NOITEM = 4;     // no item can be chosen
// Answers of the user function.
inline constexpr int AC_ABORT = 0;   // leave, result 0
inline constexpr int AC_SELECT = 1;  // leave, result the current item
inline constexpr int AC_CONT = 2;    // go on
inline constexpr int AC_GOTO = 3;    // treat the key as a first letter, then go on
}  // namespace achoice_codes

// (mode, current item 1-based, row of it inside the window 0-based) -> answer
using AchoiceFunction = std::function<int(int mode, int item, int window_row)>;

struct AchoiceOptions {
    std::vector<bool> selectable;  // empty = every item; missing entries count as selectable
    AchoiceFunction user;          // empty = none
    int initial = 1;               // item lit first
    int window_row = 0;            // its row inside the window
};

// Returns the chosen item (1-based) or 0.
int achoice(Console& console, int top, int left, int bottom, int right, const std::vector<std::string>& items,
            const AchoiceOptions& options = {});

}  // namespace platform::console
