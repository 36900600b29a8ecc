#pragma once
// The console toolkit under the names the application's routines use. The application has one
// console; the program installs the terminal one at start-up, tests install a headless one.
// Texts are code page 852 bytes.

#include <functional>
#include <string>
#include <string_view>
#include <vector>
#include <initializer_list>

#include "platform/console/achoice.h"
#include "platform/console/console.h"
#include "platform/console/keys.h"
#include "platform/console/screen.h"
#include "platform/value/value.h"

namespace sklad {

using namespace platform::console::keys;           // K_ENTER, K_F2, K_ALT_K...
using namespace platform::console::achoice_codes;  // AC_IDLE, AC_SELECT...
using platform::console::AchoiceFunction;
using platform::console::Console;
using platform::console::ScreenImage;

// ---- the one console
// The application's console. Until one is installed it is a headless console on a virtual clock,
// so that routines run in tests that did not set one up never touch a terminal or sleep.
Console& CONSOLE();
// Installs `c` (not owned; nullptr goes back to the built-in headless one) and applies the
// application's run-time choices to it: menu wrap on, bell off, cursor hidden.
void INSTALL_CONSOLE(Console* c);

// ---- output
void SETPOS(int row, int col);
void DEVPOS(int row, int col);
// Writes at the device position (screen or printer); colour: a colour string, "" = current.
void DEVOUT(std::string_view text, std::string_view colour = "");
void DEVOUT(const platform::Value& v, std::string_view colour = "");
inline void DEVOUT(const std::string& text, std::string_view colour = "") { DEVOUT(std::string_view(text), colour); }
inline void DEVOUT(const char* text, std::string_view colour = "") { DEVOUT(std::string_view(text), colour); }
void DISPOUTAT(int row, int col, std::string_view text, std::string_view colour = "");
void DISPOUTAT(int row, int col, const platform::Value& v, std::string_view colour = "");
inline void DISPOUTAT(int row, int col, const std::string& text, std::string_view colour = "") {
    DISPOUTAT(row, col, std::string_view(text), colour);
}
inline void DISPOUTAT(int row, int col, const char* text, std::string_view colour = "") {
    DISPOUTAT(row, col, std::string_view(text), colour);
}
void QOUT(std::string_view text = "");
void QQOUT(std::string_view text);
// A value as DEVOUT/QOUT show it: text as is, numbers as STR, dates "dd.mm.yyyy", "T"/"F", nil "NIL".
std::string VALUE_TEXT(const platform::Value& v);

// ---- rectangles
// frame: 1 single, 2 double (anything else single), or a frame string of 8/9 characters.
void DISPBOX(int top, int left, int bottom, int right, int frame = 1, std::string_view colour = "");
void DISPBOX(int top, int left, int bottom, int right, std::string_view frame, std::string_view colour = "");
void SCROLL(int top = 0, int left = 0, int bottom = 24, int right = 79, int rows = 0, int cols = 0);
void CLS();  // clears the screen, position 0,0
ScreenImage SAVESCREEN(int top = 0, int left = 0, int bottom = 24, int right = 79);
void RESTSCREEN(int top, int left, int bottom, int right, const ScreenImage& image);
void RESTSCREEN(const ScreenImage& image);  // the whole screen

// ---- cursor, colour, sound, batches
inline constexpr int SC_NONE = 0, SC_NORMAL = 1, SC_INSERT = 2, SC_SPECIAL1 = 3, SC_SPECIAL2 = 4;
int SETCURSOR();  // the shape now
int SETCURSOR(int shape);  // returns the shape before
int ROW();
int COL();
std::string SETCOLOR();  // the colour now
std::string SETCOLOR(std::string_view colour);  // returns the colour before; "" = defaults
bool ISCOLOR();
// frequency in Hz, duration in eighteenths of a second
void TONE(double frequency, double duration = 1);
void DISPBEGIN();
void DISPEND();

// ---- keyboard
int INKEY();                // does not wait
int INKEY(double seconds);  // 0 = until a key; negative = does not wait
int LASTKEY();
int NEXTKEY();
// Empties the type-ahead buffer, then puts each byte of `keys` into it.
void __KEYBOARD(std::string_view keys = "");
void __KEYBOARD(std::initializer_list<int> keys);
// Binds a routine to a key (an empty one unbinds); returns the routine bound before.
using HotKeyRoutine = std::function<void()>;
HotKeyRoutine SETKEY(int key, HotKeyRoutine routine);
HotKeyRoutine SETKEY(int key);

// ---- clock
platform::Date DATE();
std::string TIME();  // "hh:mm:ss"
double SECONDS();    // since midnight

// ---- light-bar menu
void __ATPROMPT(int row, int col, std::string_view prompt, std::string_view message = "");
// Runs the prompts placed since the last menu; returns the chosen number, 0 on Esc.
int __MENUTO(int initial = 1);

// ---- pick-list and editor
int ACHOICE(int top, int left, int bottom, int right, const std::vector<std::string>& items,
            const std::vector<bool>& selectable = {}, AchoiceFunction user = {}, int initial = 1,
            int window_row = 0);
// Returns the edited text after Ctrl-W, the original after Esc.
std::string MEMOEDIT(std::string_view text, int top = 0, int left = 0, int bottom = 24, int right = 79,
                     bool editable = true);
// Edits a text file in place (a missing file starts empty); true when it was saved.
bool MEMOEDIT_FILE(const std::string& path, int top = 0, int left = 0, int bottom = 24, int right = 79,
                   bool editable = true);

}  // namespace sklad
