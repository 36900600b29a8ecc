#pragma once
// The type-ahead search of card-file screens and pickers: the characters that start it (ZNAKI),
// how a typed character becomes part of a search key, and the search buffer of each index order
// that seeks as the operator types.
//
// A character is upper-cased before it joins the buffer. Polish letters arrive in code page 852,
// or in the older code page of a few old keyboards and prompts; those are taken as the code page
// 852 letter they stand for. A byte that is a Polish letter in code page 852 is read as that
// letter, so the older code page only decides the bytes code page 852 leaves to other letters.

#include <functional>
#include <string>
#include <vector>

#include "common/memvar.h"

namespace sklad {

// The search characters at start-up: punctuation, the shade, Latin letters, digits, the blank and
// the Polish letters of both code pages.
std::string ZNAKI_START();

// The characters that start or extend a type-ahead search (start-up declares it here).
SESSION_VAR(std::string, ZNAKI, ZNAKI_START());

// Whether a key is one of ZNAKI.
bool ZNAK_SZUKANIA(int key);
// The character a key adds to a search buffer: upper case, Polish letters in code page 852.
char ZNAK_KLUCZA(int key);

// One index order as the type-ahead sees it; an order with max 0 takes no type-ahead.
struct SearchOrder {
    int max = 0;                      // longest buffer
    int col = 11;                     // where the buffer is shown on the help line
    std::string label;                // shown from column 0 before the buffer ("Grupa     :")
    bool split = false;               // warehouse + code: the first character at column 0, the rest from column 2
    std::function<std::string()> start;  // what an empty buffer begins with; empty: nothing
};

// The type-ahead of one list: a buffer per index order of the selected table.
struct TypeAhead {
    std::vector<SearchOrder> orders;  // orders[0] describes index order 1
    std::vector<std::string> buffers;
    int row = 24;                     // the help line the buffer is shown on
    std::function<void()> line;       // redraws the help line without the buffer
};

// Takes a key in the index order in force: a search character extends the buffer when the
// extended key is found (the pointer then stands on the found record), otherwise it is dropped and
// the pointer goes back; Backspace shortens the buffer and seeks the shorter key (the first record
// when it is empty). False when the key is not a search key of this order.
bool TYPEAHEAD_KEY(TypeAhead& t, int key);
// Empties every buffer; true when one was not empty (the help line was redrawn).
bool TYPEAHEAD_CLEAR(TypeAhead& t);

}  // namespace sklad
