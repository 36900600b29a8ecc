#pragma once
// The card-file screen: the maintenance screen of a master table. Rows 0 to 13 show the form of
// the current record in display colours, row 14 is the title bar (title, the index key in force
// at column 33, the month when the open period is not the current one at column 65), rows 15 to
// 23 list the records one per line through the record-list control (DBEDIT), and row 24 names the
// function keys.
//
// A screen states only what is its own (a CardFile): title, key line, columns, form fields and form
// routines, the type-ahead of its index orders and its keys. CARDFILE does the rest: the screen
// state, the form of the record under the pointer after every move (the list row repainted in the
// row colour), Tab and Alt-I for the next order, the type-ahead search, F1, the filter mark,
// Esc, and the keys that change data left out in a month other than the current one. A key's
// action works over a saved screen that is restored afterwards; the list and the form are then
// drawn again from the table, the same record lit.
//
// Routines of the screen run with its table selected.

#include <functional>
#include <string>
#include <vector>

#include "common/memvar.h"
#include "common/record_form.h"
#include "common/znaki.h"
#include "platform/text/cp852.h"

namespace sklad {

// The state of the card-file screen that is open (an inner screen keeps its own and gives the
// outer one back when it closes).
SESSION_VAR(int, KEYSTROKE, 0);     // the key last pressed
SESSION_VAR(bool, DBUFIRST, false); // the first record is still to be drawn
SESSION_VAR(bool, ZERO, false);     // the form is to be drawn again
SESSION_VAR(bool, FILTRUJ, false);  // a filter the operator chose is on the list

// One key of a screen beyond the moves, type-ahead, Tab, F1 and Esc.
struct CardKey {
    int key = 0;
    // DE_CONT or DE_REFRESH: back to the list, drawn again; DE_ABORT: the list ends (and starts
    // again while FILTRUJ is set, e.g. after a filter was chosen).
    std::function<int()> action;
    bool changes_data = false;  // does nothing in a month other than the current one
    bool window = true;         // works over a saved screen, restored afterwards
};

struct CardFile {
    std::string title;               // row 14, from column 0
    std::string keys_line;           // row 24
    std::string keys_line_readonly;  // row 24 in a month other than the current one
    int list_top = 15;
    int list_bottom = 23;
    // The list: a value expression, a picture and a heading per column.
    std::vector<std::string> columns, pictures, headings;
    std::string head_sep{"┼─"_852}, col_sep{"│"_852}, foot_sep{"┴─"_852};
    // The form: the fields held in M_ variables while the screen is open, and the routines that
    // create their entry fields.
    std::vector<std::string> fields;
    std::vector<FormRoutine> form;
    std::function<void()> read;            // record into the form (default: FORM_READ of the fields)
    std::function<void()> start;           // order and first record (default: order 1, first record)
    std::function<void()> default_filter;  // the filter outside one the operator chose (default: none)
    std::vector<SearchOrder> search;       // type-ahead per index order (search[0]: order 1)
    std::vector<CardKey> keys;
    std::function<void()> help;            // F1 on the list
};

// Runs the screen on the selected table until Esc; afterwards the table is in order 1 with its
// default filter on its first record. True.
bool CARDFILE(const CardFile& screen);

// Whether the open period folder (HH) is the firm's current month (FIRMA->BMR); true when either is
// not known yet.
bool CURRENT_PERIOD();

}  // namespace sklad
