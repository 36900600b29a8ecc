#pragma once
// The record-list control: a browse over a row source with parallel lists of column values,
// pictures and headings, that moves by itself on the movement keys and reports everything else to
// a key callback.
//
// The callback gets (mode, column) with the current column 1-based:
//   0 idle      after a movement key was handled
//   1 top hit   a move up was tried on the first row
//   2 bottom hit a move down was tried on the last row
//   3 empty     a movement key on a source without rows
//   4 exception any other key (LASTKEY tells which)
// and answers 0 leave, 1 go on, 2 reread and redraw every row and go on. While it runs, the cursor
// stands on the current cell (ROW() is the screen row of the current record). It is not called
// before the first key (a caller that wants it at once puts a movement key into the type-ahead).
// Without a callback, Esc and Enter leave.
//
// Movement keys: Up, Down, PgUp, PgDn, Ctrl-PgUp (first row), Ctrl-PgDn (last row), Left, Right,
// Home and End (first and last visible column), Ctrl-Left and Ctrl-Right (pan), Ctrl-Home and
// Ctrl-End (first and last column). The current cell is shown in the enhanced colour.

#include <functional>
#include <string>
#include <vector>

#include "platform/console/browse.h"
#include "platform/text/cp852.h"

namespace platform::console {

inline namespace dbedit_codes {
inline constexpr int DE_IDLE = 0;
inline constexpr int DE_HITTOP = 1;
inline constexpr int DE_HITBOTTOM = 2;
inline constexpr int DE_EMPTY = 3;
inline constexpr int DE_EXCEPT = 4;
inline constexpr int DE_ABORT = 0;
inline constexpr int DE_CONT = 1;
inline constexpr int DE_REFRESH = 2;
}  // namespace dbedit_codes

using DbeditFunction = std::function<int(int mode, int column)>;

struct DbeditSpec {
    std::vector<std::function<Value()>> columns;
    std::vector<std::string> pictures;  // parallel to columns; missing = none
    std::vector<std::string> headings;  // parallel to columns; missing = none
    std::string head_sep = std::string("─┬─"_852);
    std::string col_sep = std::string(" │ "_852);
    std::string foot_sep;
    DbeditFunction user;
};

void dbedit(Console& console, int top, int left, int bottom, int right, RowSource source, const DbeditSpec& spec);

}  // namespace platform::console
