#pragma once
// The key codes the whole system compares against. Plain keys are their code page 852 byte;
// cursor and editing keys are the control bytes of the old keyboard conventions; function keys
// are negative; Alt+letter is 256 plus the key's scan code.

#include <optional>
#include <string>
#include <string_view>

namespace platform::console {

// The constants live in their own inline namespace so the application can take just them.
inline namespace keys {

inline constexpr int K_NONE = 0;

// Cursor movement
inline constexpr int K_UP = 5;
inline constexpr int K_DOWN = 24;
inline constexpr int K_LEFT = 19;
inline constexpr int K_RIGHT = 4;
inline constexpr int K_HOME = 1;
inline constexpr int K_END = 6;
inline constexpr int K_PGUP = 18;
inline constexpr int K_PGDN = 3;
inline constexpr int K_CTRL_LEFT = 26;
inline constexpr int K_CTRL_RIGHT = 2;
inline constexpr int K_CTRL_HOME = 29;
inline constexpr int K_CTRL_END = 23;
inline constexpr int K_CTRL_PGUP = 31;
inline constexpr int K_CTRL_PGDN = 30;
inline constexpr int K_CTRL_UP = 397;
inline constexpr int K_CTRL_DOWN = 401;
inline constexpr int K_ALT_UP = 408;
inline constexpr int K_ALT_DOWN = 416;
inline constexpr int K_ALT_LEFT = 411;
inline constexpr int K_ALT_RIGHT = 413;
inline constexpr int K_ALT_HOME = 407;
inline constexpr int K_ALT_END = 415;
inline constexpr int K_ALT_PGUP = 409;
inline constexpr int K_ALT_PGDN = 417;

// Editing and control
inline constexpr int K_ENTER = 13;
inline constexpr int K_CTRL_ENTER = 10;
inline constexpr int K_ALT_ENTER = 284;
inline constexpr int K_ESC = 27;
inline constexpr int K_ALT_ESC = 257;
inline constexpr int K_TAB = 9;
inline constexpr int K_SH_TAB = 271;
inline constexpr int K_ALT_TAB = 421;
inline constexpr int K_BS = 8;
inline constexpr int K_ALT_BS = 270;
inline constexpr int K_INS = 22;
inline constexpr int K_DEL = 7;
inline constexpr int K_CTRL_INS = 402;
inline constexpr int K_CTRL_DEL = 403;
inline constexpr int K_ALT_INS = 418;
inline constexpr int K_ALT_DEL = 419;
inline constexpr int K_SPACE = 32;

// Ctrl+letter is the control byte of the letter (several coincide with the keys above).
inline constexpr int K_CTRL_A = 1, K_CTRL_B = 2, K_CTRL_C = 3, K_CTRL_D = 4, K_CTRL_E = 5, K_CTRL_F = 6,
                     K_CTRL_G = 7, K_CTRL_H = 8, K_CTRL_I = 9, K_CTRL_J = 10, K_CTRL_K = 11, K_CTRL_L = 12,
                     K_CTRL_M = 13, K_CTRL_N = 14, K_CTRL_O = 15, K_CTRL_P = 16, K_CTRL_Q = 17, K_CTRL_R = 18,
                     K_CTRL_S = 19, K_CTRL_T = 20, K_CTRL_U = 21, K_CTRL_V = 22, K_CTRL_W = 23, K_CTRL_X = 24,
                     K_CTRL_Y = 25, K_CTRL_Z = 26;

// Function keys: F1 is 28, F2..F10 are -1..-9, then Shift, Ctrl and Alt blocks of ten.
inline constexpr int K_F1 = 28;
inline constexpr int K_F2 = -1, K_F3 = -2, K_F4 = -3, K_F5 = -4, K_F6 = -5, K_F7 = -6, K_F8 = -7, K_F9 = -8,
                     K_F10 = -9, K_F11 = -40, K_F12 = -41;
inline constexpr int K_SH_F1 = -10, K_SH_F2 = -11, K_SH_F3 = -12, K_SH_F4 = -13, K_SH_F5 = -14, K_SH_F6 = -15,
                     K_SH_F7 = -16, K_SH_F8 = -17, K_SH_F9 = -18, K_SH_F10 = -19, K_SH_F11 = -42, K_SH_F12 = -43;
inline constexpr int K_CTRL_F1 = -20, K_CTRL_F2 = -21, K_CTRL_F3 = -22, K_CTRL_F4 = -23, K_CTRL_F5 = -24,
                     K_CTRL_F6 = -25, K_CTRL_F7 = -26, K_CTRL_F8 = -27, K_CTRL_F9 = -28, K_CTRL_F10 = -29,
                     K_CTRL_F11 = -44, K_CTRL_F12 = -45;
inline constexpr int K_ALT_F1 = -30, K_ALT_F2 = -31, K_ALT_F3 = -32, K_ALT_F4 = -33, K_ALT_F5 = -34,
                     K_ALT_F6 = -35, K_ALT_F7 = -36, K_ALT_F8 = -37, K_ALT_F9 = -38, K_ALT_F10 = -39,
                     K_ALT_F11 = -46, K_ALT_F12 = -47;

// Alt+letter: 256 + the letter key's scan code.
inline constexpr int K_ALT_Q = 272, K_ALT_W = 273, K_ALT_E = 274, K_ALT_R = 275, K_ALT_T = 276, K_ALT_Y = 277,
                     K_ALT_U = 278, K_ALT_I = 279, K_ALT_O = 280, K_ALT_P = 281, K_ALT_A = 286, K_ALT_S = 287,
                     K_ALT_D = 288, K_ALT_F = 289, K_ALT_G = 290, K_ALT_H = 291, K_ALT_J = 292, K_ALT_K = 293,
                     K_ALT_L = 294, K_ALT_Z = 300, K_ALT_X = 301, K_ALT_C = 302, K_ALT_V = 303, K_ALT_B = 304,
                     K_ALT_N = 305, K_ALT_M = 306;
inline constexpr int K_ALT_1 = 376, K_ALT_2 = 377, K_ALT_3 = 378, K_ALT_4 = 379, K_ALT_5 = 380, K_ALT_6 = 381,
                     K_ALT_7 = 382, K_ALT_8 = 383, K_ALT_9 = 384, K_ALT_0 = 385;

}  // namespace keys

// F1 (0) .. F12 (11) with a modifier: 0 none, 1 Shift, 2 Ctrl, 3 Alt.
int function_key(int index, int modifier);
// Alt with a letter 'a'..'z' / 'A'..'Z' or a digit; nullopt for anything else.
std::optional<int> alt_key(char c);

// Key names as tests, the demo and logs write them: "Enter", "F2", "Shift-F5", "Alt-K", "Ctrl-PgDn",
// "Up", "Backspace", "Space", a single character for itself. Case of the name does not matter.
std::optional<int> key_from_name(std::string_view name);
// The inverse, for messages and test failures; unknown codes print as "#<code>".
std::string key_name(int key);

}  // namespace platform::console
