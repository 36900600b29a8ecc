#pragma once
// The main screen, the main menu loop and its five submenus. A submenu runs one choice and puts
// Enter into the keyboard buffer, so the main loop reopens it at once on the same entry; Left and
// Right walk the submenus in a ring; Esc asks whether to end the work.

#include <functional>
#include <string>
#include <vector>

namespace sklad {

// Ends the program from inside a menu with an exit code (caught at the program's edge).
struct ProgramEnd {
    int code;
};

void EKRAN_GLOWNY();
// Runs the main menu until K_GLOWNE becomes 0.
void GLOWNE_MENU();
void ASORTYMENT();
void KONTRAHENCI();
void DOWODY();
void RAPORTY();
void SPECJALNE();
void _LEWA();
void _PRAWA();

// One entry of a submenu: where it stands, whether the operator sees it, what it does.
struct MenuEntry {
    int row;
    std::string text;  // code page 852
    bool shown = true;
    std::function<void()> action;
};

struct Submenu {
    char letter;        // the denial-list letter: M, K, D, R, S
    int& position;      // the entry chosen last time
    int col;
    int width;
    std::vector<MenuEntry> entries;
    std::string esc_question = "CZY CHCESZ ZAKONCZYC PRACE ?";
};

// The submenu protocol: frame drawn by the caller, entries shown, one choice run.
void RUN_SUBMENU(Submenu& menu);
// The operator's denial list holds "-" + letter + the entry's two digits, or "-" + letter + "*".
bool ZABRONIONE(char letter, int entry);
// A small menu of prompts at one column, rows from `row`; the choice, 0 on Esc.
int MALE_MENU(int row, int col, const std::vector<std::string>& prompts);

}  // namespace sklad
