#pragma once
// The F1 key of every input wait: HELP opens what the session variable POMOC names for the
// screen that is open, over a saved screen that it restores afterwards. The pickers (items,
// contractors, document kinds) belong to their subsystems, which register them here by number;
// the help texts of 999 and 2000 are shown in a read-only viewer.

#include <functional>

#include "common/memvar.h"

namespace sklad {

// The help context: 0 nothing, 999 "pomoc.txt", 2000 "ps2000\pomoc.txt", other numbers a
// registered picker (start-up declares it here; a menu sets 999 while it waits).
SESSION_VAR(int, POMOC, 0);

// A picker opened by F1. On a choice it fills the form's session variables and may feed Enter
// keys so that the read moves past the filled fields.
using HelpPicker = std::function<void()>;

// Registers the picker F1 opens while POMOC holds `pomoc` (an empty one removes it).
void HELP_REGISTER(int pomoc, HelpPicker picker);
// Registers the document-kind picker, opened whenever the field being read is M_RD.
void HELP_REGISTER_RD(HelpPicker picker);

// What F1 opens now (bound to F1 with SETKEY). Screen, colour and cursor are restored afterwards.
void HELP();

// A text file in the read-only viewer over the whole screen, restored afterwards (nothing when
// the file does not exist).
void HELP_TEXT(std::string_view file);

}  // namespace sklad
