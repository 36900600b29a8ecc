#include "common/dialogs.h"

#include <algorithm>

#include "common/console.h"
#include "platform/console/picture.h"
#include "platform/text/cp852.h"

namespace sklad {

namespace {

// What a window covers and changes, put back when it closes.
class WindowArea {
  public:
    WindowArea()
        : image_(SAVESCREEN(15, 30, 20, 72)), colour_(SETCOLOR()), row_(ROW()), col_(COL()), cursor_(SETCURSOR()) {}
    void restore() {
        if (done_) return;
        done_ = true;
        RESTSCREEN(15, 30, 20, 72, image_);
        SETCOLOR(colour_);
        SETCURSOR(cursor_);
        SETPOS(row_, col_);
    }
    void keep() { done_ = true; }
    ~WindowArea() { restore(); }

  private:
    ScreenImage image_;
    std::string colour_;
    int row_, col_, cursor_;
    bool done_ = false;
};

const std::string_view kDouble = "╔═╗║╝═╚║ "_852;
const std::string_view kSingle = "┌─┐│┘─└│ "_852;

int centred_col(std::string_view text) {
    int len = static_cast<int>(text.size());
    return std::max(0, 31 + (41 - len) / 2);
}

std::string upper(std::string_view s) { return platform::console::to_upper(s); }

std::string pad10(std::string s) {
    s.resize(10, ' ');
    return s;
}

// The "[T/N]" line of a question with its default; returns the answer "T" or "N".
std::string ask_tn(std::string_view default_answer, bool poll_enter_always) {
    DISPBOX(18, 37, 20, 65, kSingle);
    SETCURSOR(SC_NORMAL);
    DISPOUTAT(19, 38, "      [T/N]  ? ");
    int col = COL();
    DISPOUTAT(19, col, default_answer, ISCOLOR() ? "W+/R" : "N/W");
    SETPOS(19, col);
    const bool blank_default = default_answer.empty() || default_answer == " ";
    for (;;) {
        int k = INKEY(0);
        if (k == 'T' || k == 't') return "T";
        if (k == 'N' || k == 'n') return "N";
        if (k == K_ENTER && (poll_enter_always || !blank_default)) return upper(default_answer);
    }
}

void message_box(std::string_view text, std::string_view box_colour, std::string_view text_colour) {
    DISPBOX(15, 30, 19, 72, kDouble, box_colour);
    DISPOUTAT(17, centred_col(text), text, text_colour);
}

}  // namespace

bool OKNO(std::string_view question, std::string_view default_answer, std::string_view bypass) {
    if (bypass == "T") return true;
    WindowArea area;
    DISPBOX(15, 30, 19, 72, kDouble, "N/W");
    const bool adding = upper(question.substr(0, 9)) == "CZY DODAC";
    DISPOUTAT(17, centred_col(question), question, adding ? "GR+/N" : "W+/N");
    return ask_tn(default_answer, false) == "T";
}

bool _OKNO_(std::string_view text) {
    WindowArea area;
    message_box(text, "N/W", "W+/N");
    INKEY(1);
    return true;
}

bool _OKNO_(std::string_view text, double seconds) {
    WindowArea area;
    message_box(text, seconds == 1 ? "N/W" : "W+/R", seconds == 0 ? "GR+/N" : "R+/N");
    INKEY(seconds);
    return true;
}

bool _OKNO_(std::string_view text, std::string_view /*leave*/) {
    message_box(text, "N/W", "W+/N");
    return true;
}

bool KONIEC() {
    WindowArea area;
    DISPBOX(15, 30, 19, 72, kDouble, "N/W");
    DISPOUTAT(17, 33, "   CZY  CHCESZ  ZAKONCZYC  PRACE  ?", "W+/N");
    bool yes = ask_tn("T", true) == "T";
    if (yes) KONCOWKA = true;
    return yes;
}

std::string GET_HHHHH(int row, int col) {
    CONSOLE().settings().confirm = false;  // stays off: later entry fields are left when full
    SETCURSOR(SC_NORMAL);
    std::string colour = SETCOLOR("W+/B,W+/B,,,N/N");
    std::string typed;
    DISPOUTAT(row, col, std::string(10, ' '));
    while (typed.size() < 10) {
        std::string shown = std::string(typed.size(), '*') + "_";
        shown.resize(10, ' ');
        DISPOUTAT(row, col, shown);
        SETPOS(row, col + static_cast<int>(typed.size()));
        int k = INKEY(0);
        if (k == K_ENTER || k == K_ESC) break;
        if (k == K_BS) {
            if (!typed.empty()) typed.pop_back();
            continue;
        }
        if (k < 32 || k > 255) continue;
        typed += platform::console::to_upper(static_cast<char>(k));
    }
    if (typed.size() == 10) DISPOUTAT(row, col, std::string(10, '*'));
    SETCOLOR(colour);
    SETCURSOR(SC_NONE);
    return pad10(typed);
}

HasloResult HASLO(std::string_view password, std::string_view title) {
    if (password.empty()) return {true, ""};
    WindowArea area;
    DISPBOX(15, 30, 19, 72, kDouble, "N/W");
    DISPOUTAT(17, 37, title.empty() ? "      PODAJ  HASŁO  !"_852 : title, "W+/N");
    DISPBOX(18, 37, 20, 65, kSingle);
    DISPOUTAT(19, 38, "    HASŁO : "_852);
    std::string typed = GET_HHHHH(19, 50);
    if (upper(password.substr(0, 3)) == "HAS") return {true, typed};
    const std::string expected = pad10(upper(password));
    if (typed == expected) return {true, typed};
    DISPOUTAT(17, 39, "       ZŁE  HASŁO !"_852, "W+/N");
    TONE(1000, 1);
    typed = GET_HHHHH(19, 50);
    return {typed == expected, typed};
}

bool RAMKA(int top, int left, int bottom, int right, int sep1, int sep2, int sep3, int sep4) {
    const std::string colour = "W+/N";
    const char vertical = "│"_852[0], horizontal = "─"_852[0];
    for (int r = top; r <= bottom; ++r) {
        DISPOUTAT(r, left, std::string(1, vertical), colour);
        DISPOUTAT(r, right, std::string(1, vertical), colour);
    }
    const int inner = std::max(0, right - left - 1);
    DISPOUTAT(bottom, left, "└"_852, colour);
    DISPOUTAT(bottom, left + 1, std::string(static_cast<std::size_t>(inner), horizontal), colour);
    DISPOUTAT(bottom, right, "┘"_852, colour);
    DISPOUTAT(top + 1, left + 1, std::string(static_cast<std::size_t>(inner), static_cast<char>(223)), colour);
    for (int sep : {sep1, sep2, sep3, sep4})
        if (sep >= 0) DISPOUTAT(sep, left + 1, std::string(static_cast<std::size_t>(inner), horizontal), colour);
    return true;
}

std::string TR_BANK(const platform::Decimal& amount, std::string_view picture) {
    std::string s = platform::console::format_value(platform::Value(amount), picture);
    std::replace(s.begin(), s.end(), '.', ',');
    auto first_digit = s.find_first_of("0123456789");
    if (first_digit != std::string::npos)
        std::replace(s.begin() + static_cast<std::ptrdiff_t>(first_digit), s.end(), ' ', '.');
    return s;
}

}  // namespace sklad
