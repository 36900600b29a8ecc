#pragma once
// The colours of the list and form screens, and the help line (row 24) they share.
//
// The frame, the current list row and the pickers take their colours from the kind of display
// (monochrome), the marker file SMALL.TXT and the sales-desk profile of the operator
// (TOJESTKASA), in that order of precedence.

#include <string>
#include <string_view>

namespace sklad {

// Title bar and screen frame: "W+/B"; sales desk "W+/GR"; SMALL.TXT "W+/G"; monochrome "N/W,W/N".
std::string COLOUR_FRAME();
// The current list row repainted by a card file's row routine: "W+/R"; sales desk "W+/GR";
// SMALL.TXT and monochrome "N/W".
std::string COLOUR_ROW();
// Pickers opened by F1: "B/W,W+/B"; sales desk "GR/W,W+/GR"; SMALL.TXT "G/W,W+/G"; monochrome "N/W,W/N".
std::string COLOUR_PICKER();

inline constexpr std::string_view COLOUR_FORM_SHOW = "W/N,W/N,,,W+/N";  // a record form, display only
inline constexpr std::string_view COLOUR_FORM_EDIT = "W/N,N/W,,,W+/N";  // a record form being edited
inline constexpr std::string_view COLOUR_SEARCH = "N/W";                // type-ahead text on row 24
inline constexpr std::string_view COLOUR_SEARCH_MARK = "N*/W";          // its input-position mark
inline constexpr std::string_view COLOUR_POPUP_FRAME = "R+/N";          // frames of parameter boxes
inline constexpr std::string_view COLOUR_OPERATORS = "W/N, N/W, N/W, N/GR, N/GR, N/W";  // the operator list
inline constexpr std::string_view COLOUR_KEY_NAME = "W+/N";             // "F4" in "F4-Edycja" on row 24
inline constexpr std::string_view COLOUR_FILTER_MARK = "N/W";           // "Filtr" on row 24 while filtering

// The help line: `text` on row 24 in the default colour with each key name (the word before a
// "-", as "F4" or "Alt_F5") in bright white; with `filter` the word "Filtr" in reverse.
void KEY_LINE(std::string_view text, bool filter = false);

}  // namespace sklad
