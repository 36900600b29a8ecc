#pragma once
// The framed browse list: pickers (an item, a contractor, a document kind) and the lists of small
// tables (operators, cash documents). A list is a browse over the selected table (TBROWSEDB) inside
// a double frame, driven by the program's own key loop: STABILIZACJA brings the display up to date,
// lights the current row (PODSWLIN), waits for one key and unlights the row; the key is then
// dispatched, first by the keys every list shares, then by the list's own handler.
//
// Shared keys: Esc leaves; Up/Down, PgUp/PgDn, Ctrl-PgUp/Ctrl-PgDn move; Home/End go to the first
// and last visible column; Ctrl-Left/Ctrl-Right pan; Ctrl-Home/Ctrl-End pan to the first and last
// column; Left/Right move one column (pickers: to the first and last column); Alt-K opens the
// calculator. Pickers also take Enter (choose the current record and leave), F1 (leave), Tab and
// Alt-I (next index order) and the type-ahead search. Any other key the handler does not take
// sounds two tones, unless the marker file TONE.--- exists.

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "common/lists.h"
#include "common/znaki.h"

namespace sklad {

// Answers of a list's own key handler.
inline constexpr int BL_UNKNOWN = -1;  // not a key of this list
inline constexpr int BL_LEAVE = 0;     // leave the list
inline constexpr int BL_CONT = 1;      // go on
inline constexpr int BL_REFRESH = 2;   // repaint every row (FRESHORDER) and go on

struct BrowseList {
    std::unique_ptr<Browse> browse;
    bool picker = true;
    std::pair<int, int> lit{2, 2};    // colour pairs of the current row while the list waits for a key
    std::pair<int, int> unlit{1, 1};  // ... and while the program works on it
    std::string frame_colour;         // "" = the screen frame colour
    int key_row = 24;                 // pickers: "Klucz : " and the order in force on this row
    TypeAhead search;                 // pickers: the orders that take type-ahead
    std::function<int(int key)> keys; // the list's own keys (Enter of an operator-type list)
    std::function<void()> shown;      // after the display is up to date, before each key wait
    bool chosen = false;              // a picker's Enter chose the current record
};

// A list over the selected table in the rectangle (inside the frame). A picker takes the pickers'
// colours; any other list sets its own colour specification on `browse`.
BrowseList BROWSE_LIST(int top, int left, int bottom, int right, bool picker = true);

// Paints the current row with the lit or the unlit colour pair.
void PODSWLIN(BrowseList& l, bool lit);
// Brings the display up to date, lights the current row, waits for a key, unlights the row.
int STABILIZACJA(BrowseList& l);
// Repaints every row keeping the pointer on its record; on the phantom record past the end it
// repaints without moving.
void FRESHORDER(BrowseList& l);
// Draws the frame and runs the key loop until the list is left; true when a picker's Enter chose
// the current record, which then stays current.
bool BROWSE_LOOP(BrowseList& l);

// The next index order of the selected table, cyclically over the orders it has; the order now.
int NEXT_ORDER();

}  // namespace sklad
