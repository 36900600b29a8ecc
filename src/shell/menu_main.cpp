#include <algorithm>

#include "common/console.h"
#include "common/help.h"
#include "common/dialogs.h"
#include "common/forms.h"
#include "common/format.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "operators/rights.h"
#include "platform/text/cp852.h"
#include "operators/operators.h"
#include "shell/menu.h"
#include "shell/session.h"
#include "shell/vat.h"

namespace sklad {

namespace {

std::string trim(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    s.erase(0, std::min(s.find_first_not_of(' '), s.size()));
    return s;
}

std::string padded(std::string_view text, int width) {
    std::string s(text);
    s.resize(static_cast<std::size_t>(width), ' ');
    return s;
}

// The computer of the main screen: monitor, then keyboard, in the lower left corner.
void draw_computer() {
    const std::string c = "W+/N";
    DISPBOX(14, 3, 20, 26, 2, c);
    SCROLL(15, 4, 19, 25);
    DISPOUTAT(21, 4, std::string(22, static_cast<char>(220)), c);  // lower half blocks: the keyboard's top
    DISPOUTAT(22, 4, std::string(22, static_cast<char>(219)), c);
}

std::string firm_name() {
    if (SELECT("firma") == 0) return "";
    const int area = SELECT();
    DBSELECTAREA("firma");
    std::string name = trim(FC("nodb"));
    bool second_line = FIELDPOS("nodb1") > 0 && !trim(FC("nodb1")).empty();
    DBSELECTAREA(area);
    return second_line ? std::string(32, ' ') : name;
}

std::string period_label() {
    std::string bmr;
    if (SELECT("firma") != 0) bmr = FC("firma->bmr");
    if (bmr.size() < 5) return "";
    std::string yy = bmr.substr(3, 2);
    std::string label = trim(MIESIAC(bmr.substr(0, 2), (yy[0] == '9' ? "19" : "20") + yy));
    if (!HH_ARC.empty()) label += " arc";
    return label;
}

}  // namespace

void EKRAN_GLOWNY() {
    const std::string background = TOJESTKASA ? "GR/N+" : "B/N+";
    DISPBEGIN();
    CLS();
    for (int r = 0; r <= 23; ++r) DISPOUTAT(r, 0, std::string(80, static_cast<char>(219)), background);
    draw_computer();
    std::string name = firm_name();
    if (name.size() > 32) name.resize(32);
    DISPOUTAT(23, 0, std::string(32, ' '), "N/W");
    DISPOUTAT(23, std::max(0, (32 - static_cast<int>(name.size())) / 2), name, "N/W");
    std::string label = period_label();
    if (label.size() > 18) label.resize(18);
    DISPOUTAT(18, 5 + (18 - static_cast<int>(label.size())) / 2, label, "W+/N");
    std::string keys = "F1-Pomoc    ";
    keys += std::string{24, 25, 26, 27};
    keys += "-Wybor    Enter-Zatwierdzenie     Alt_K-Kalkulator    Esc-Koniec";
    DISPOUTAT(24, 0, keys, "W+/N");
    DISPOUTAT(24, 2, "-Pomoc", "W/N");
    DISPOUTAT(24, 16, "-Wybór"_852, "W/N");
    DISPOUTAT(24, 31, "-Zatwierdzenie", "W/N");
    DISPOUTAT(24, 55, "-Kalkulator", "W/N");
    DISPOUTAT(24, 73, "-Koniec", "W/N");
    DISPEND();
}

namespace {

struct MainEntry {
    int row, col, width;
    std::string text;
    void (*routine)();
};

// The entries the operator's profile shows, in menu order, with the routine each runs.
std::vector<MainEntry> main_entries() {
    const MainEntry all[5] = {
        {4, 1, 35, TOJESTKASA ? " MAGAZYN KOSZTOW" : " MAGAZYN", ASORTYMENT},
        {3, 13, 28, " ROZRACHUNKI", KONTRAHENCI},
        {2, 26, 24, " DOWODY", DOWODY},
        {1, 34, 42, " RAPORTY", RAPORTY},
        {0, 43, 37, " FUNKCJE SPECJALNE", SPECJALNE},
    };
    std::vector<MainEntry> shown;
    if (PRAWA1(1))
        shown = {all[2]};
    else if (PRAWA1(2))
        shown = {all[0]};
    else if (PRAWA1(5))
        shown = {all[2], all[3]};
    else
        shown.assign(all, all + 5);
    // The routine each shown entry runs, decided by profiles 5, 6, 1, 2 in this order.
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (PRAWA1(5)) {
            shown[i].routine = i == 0 ? DOWODY : RAPORTY;
        } else if (PRAWA1(6)) {
            if (shown[i].routine == KONTRAHENCI) shown[i].routine = ASORTYMENT;
            if (shown[i].routine == RAPORTY || shown[i].routine == SPECJALNE) shown[i].routine = DOWODY;
        } else if (PRAWA1(1)) {
            shown[i].routine = DOWODY;
        } else if (PRAWA1(2)) {
            shown[i].routine = ASORTYMENT;
        }
    }
    return shown;
}

}  // namespace

void GLOWNE_MENU() {
    while (K_GLOWNE != 0) {
        KLUCZ = 0;
        VAT_DOMYSLNY(0);
        M_PODATEK0 = "  ";
        POMOC = 0;
        DISPOUTAT(0, 72, TIME());
        std::vector<MainEntry> entries = main_entries();
        SETCOLOR(ISCOLOR() ? (TOJESTKASA ? "W/N,W+/GR" : "W/N,W+/B") : "");
        for (const auto& e : entries) __ATPROMPT(e.row, e.col, padded(e.text, e.width));
        K_GLOWNE = __MENUTO(std::min<int>(K_GLOWNE, static_cast<int>(entries.size())));
        SETCOLOR("");
        if (K_GLOWNE == 0) break;
        if (SELECT("as") != 0) {
            DBSELECTAREA("as");
            if (INDEXORD() != 1 && INDEXKEY(1) != "") ORDSETFOCUS(1);
            DBGOTOP();
        }
        entries[static_cast<std::size_t>(K_GLOWNE - 1)].routine();
        if (SELECT("dd") != 0) {
            const int area = SELECT();
            DBSELECTAREA("dd");
            bool has_lines = LASTREC() > 0;
            DBSELECTAREA(area);
            if (has_lines) NOWE_DD();
        }
        RESTSCREEN(XYZ);
    }
}

void _LEWA() {
    __KEYBOARD({K_ENTER, K_UP, K_ENTER});
    POM = 1;
}

void _PRAWA() {
    __KEYBOARD({K_ENTER, K_DOWN, K_ENTER});
    POM = 1;
}

bool ZABRONIONE(char letter, int entry) { return MENU_ZABRONIONE(letter, entry); }

int MALE_MENU(int row, int col, const std::vector<std::string>& prompts) {
    ScreenImage under = SAVESCREEN();
    for (std::size_t i = 0; i < prompts.size(); ++i) __ATPROMPT(row + static_cast<int>(i), col, prompts[i]);
    int choice = __MENUTO(1);
    RESTSCREEN(under);
    return choice;
}

void RUN_SUBMENU(Submenu& menu) {
    if (ISCOLOR()) SETCOLOR(TOJESTKASA ? "W/N,W+/GR" : "W/N,W+/B");
    LK_OPCJA = menu.position;
    for (const auto& e : menu.entries)
        __ATPROMPT(e.row, menu.col, e.shown ? padded(e.text, menu.width) : std::string(static_cast<std::size_t>(menu.width), ' '));
    HotKeyRoutine left = SETKEY(K_LEFT, _LEWA), right = SETKEY(K_RIGHT, _PRAWA);
    POMOC = 999;
    int n = __MENUTO(menu.position);
    POMOC = 0;
    SETKEY(K_LEFT, left);
    SETKEY(K_RIGHT, right);
    DISPOUTAT(0, 72, std::string(8, ' '));
    SETCOLOR("");

    // A jump to the neighbouring submenu only closes this one: the keys for it are waiting.
    if (POM == 0 && n > 0 && ZABRONIONE(menu.letter, n)) {
        std::string msg = "Brak praw, " + MENU_ZNACZNIK(menu.letter, n);
        _OKNO_(msg);
        _OKNO_(msg);
        menu.position = LK_OPCJA;
        __KEYBOARD({K_ENTER});
        return;
    }
    if (n > 0 && POM == 0) {
        menu.position = n;
        const auto& e = menu.entries[static_cast<std::size_t>(n - 1)];
        if (e.action) e.action();
        CLEAR_GETS();
        __KEYBOARD({K_ENTER});
    } else if (n == 0 && POM == 0) {
        if (OKNO(menu.esc_question, "T")) {
            K_GLOWNE = 0;
        } else {
            menu.position = 1;
            __KEYBOARD({K_ENTER});
        }
    }
    POM = 0;
}

}  // namespace sklad
