#pragma once
// The text editor and read-only viewer over a string or a file. Lines are never wrapped (printouts
// are wider than the window); the window scrolls sideways. Ctrl-W (and Ctrl-End, the same code)
// keeps the changes, Esc leaves without them. Line ends (CR LF or LF) are kept as the text had them.
// Keys: arrows, Ctrl-Left/Right by word, Home/End of line, Ctrl-Home/Ctrl-End... of the window,
// PgUp/PgDn, Ctrl-PgUp/Ctrl-PgDn to the start/end of the text, Enter splits the line, Del,
// Backspace, Ctrl-Y deletes the line, Ctrl-T the word to the right, Ins toggles insert mode.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/console/console.h"

namespace platform::console {

struct EditResult {
    std::string text;  // the edited text when saved, otherwise the original
    bool saved = false;
};

// Edits `text` (code page 852) in the window; read-only when `editable` is false (Esc or Ctrl-W
// leaves). The window is not framed; the caller draws around it.
EditResult memoedit(Console& console, std::string_view text, int top, int left, int bottom, int right,
                    bool editable = true);

// Edits a file (a missing file starts empty); on Ctrl-W writes it back through a temporary file
// and a rename, so a failed write never leaves half a file. Returns true when it was written.
// Throws std::filesystem::filesystem_error when reading or writing fails.
bool memoedit_file(Console& console, const std::filesystem::path& path, int top, int left, int bottom, int right,
                   bool editable = true);

}  // namespace platform::console
