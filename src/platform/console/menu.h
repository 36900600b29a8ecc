#pragma once
// The light-bar menu: prompts placed at row/column, one lit at a time; arrows move (wrapping when the
// console's wrap setting is on), Enter, PgUp and PgDn choose, Esc gives 0, and the first character
// of a prompt chooses the next prompt that starts with it. Hot keys run while it waits.

#include <string>
#include <vector>

#include "platform/console/console.h"

namespace platform::console {

struct MenuItem {
    int row = 0;
    int col = 0;
    std::string prompt;   // code page 852
    std::string message;  // shown on the console's message row while the prompt is lit
};

// Draws the prompts (standard colour, the current one in the enhanced colour) and waits for a
// choice. `initial` is the 1-based prompt lit first (out of range: the first). Returns the chosen
// prompt's number, 0 for Esc; the chosen prompt stays lit.
int menu_to(Console& console, const std::vector<MenuItem>& items, int initial);

}  // namespace platform::console
