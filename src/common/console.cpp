#include "common/console.h"

#include <memory>
#include <utility>
#include <variant>

#include "platform/console/headless.h"
#include "platform/console/memoedit.h"
#include "platform/console/menu.h"

namespace sklad {

namespace {

namespace pc = platform::console;

struct ConsoleState {
    std::unique_ptr<Console> fallback;
    Console* current = nullptr;
    std::vector<pc::MenuItem> prompts;  // placed by __ATPROMPT, taken by the next __MENUTO
};

ConsoleState& state() {
    static ConsoleState s;
    return s;
}

// The run-time choices of the application: menus wrap, entry fields insert and wait for
// confirmation, no bell, and the cursor is hidden until a form or prompt shows it.
void apply_choices(Console& c) {
    auto& s = c.settings();
    s.wrap = true;
    s.insert = true;
    s.confirm = true;
    s.bell = false;
    c.set_cursor_shape(pc::CursorShape::None);
}

}  // namespace

Console& CONSOLE() {
    auto& st = state();
    if (st.current) return *st.current;
    if (!st.fallback) {
        st.fallback = std::make_unique<Console>(std::make_unique<pc::HeadlessBackend>(),
                                                std::make_unique<pc::VirtualClock>());
        apply_choices(*st.fallback);
    }
    return *st.fallback;
}

void INSTALL_CONSOLE(Console* c) {
    auto& st = state();
    st.current = c;
    st.prompts.clear();
    if (c) apply_choices(*c);
}

// ---- output

void SETPOS(int row, int col) { CONSOLE().set_pos(row, col); }
void DEVPOS(int row, int col) { CONSOLE().devpos(row, col); }

void DEVOUT(std::string_view text, std::string_view colour) {
    Console& c = CONSOLE();
    c.devout(text, c.attr_of(colour));
}
void DEVOUT(const platform::Value& v, std::string_view colour) { DEVOUT(std::string_view(VALUE_TEXT(v)), colour); }

void DISPOUTAT(int row, int col, std::string_view text, std::string_view colour) {
    Console& c = CONSOLE();
    c.out_at(row, col, text, c.attr_of(colour));
}
void DISPOUTAT(int row, int col, const platform::Value& v, std::string_view colour) {
    DISPOUTAT(row, col, std::string_view(VALUE_TEXT(v)), colour);
}

void QOUT(std::string_view text) { CONSOLE().qout(text); }
void QQOUT(std::string_view text) { CONSOLE().qqout(text); }

std::string VALUE_TEXT(const platform::Value& v) {
    struct Visitor {
        std::string operator()(std::monostate) const { return "NIL"; }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(const platform::Decimal& d) const {
            std::string plain = d.to_plain();
            auto dot = plain.find('.');
            int decimals = dot == std::string::npos ? 0 : static_cast<int>(plain.size() - dot - 1);
            return d.str(decimals ? 11 + decimals : 10, decimals);
        }
        std::string operator()(const platform::Date& d) const { return d.dmy(); }
        std::string operator()(bool b) const { return b ? "T" : "F"; }
    };
    return std::visit(Visitor{}, v);
}

// ---- rectangles

void DISPBOX(int top, int left, int bottom, int right, int frame, std::string_view colour) {
    DISPBOX(top, left, bottom, right, frame == 2 ? pc::kBoxDouble : pc::kBoxSingle, colour);
}
void DISPBOX(int top, int left, int bottom, int right, std::string_view frame, std::string_view colour) {
    Console& c = CONSOLE();
    c.box(top, left, bottom, right, frame, c.attr_of(colour));
}
void SCROLL(int top, int left, int bottom, int right, int rows, int cols) {
    CONSOLE().scroll(top, left, bottom, right, rows, cols);
}
void CLS() { CONSOLE().clear_screen(); }
ScreenImage SAVESCREEN(int top, int left, int bottom, int right) { return CONSOLE().save(top, left, bottom, right); }
void RESTSCREEN(int top, int left, int bottom, int right, const ScreenImage& image) {
    CONSOLE().restore(top, left, bottom, right, image);
}
void RESTSCREEN(const ScreenImage& image) { RESTSCREEN(0, 0, pc::kRows - 1, pc::kCols - 1, image); }

// ---- cursor, colour, sound, batches

int SETCURSOR() { return static_cast<int>(CONSOLE().cursor_shape()); }
int SETCURSOR(int shape) {
    if (shape < SC_NONE || shape > SC_SPECIAL2) shape = SC_NORMAL;
    return static_cast<int>(CONSOLE().set_cursor_shape(static_cast<pc::CursorShape>(shape)));
}
int ROW() { return CONSOLE().row(); }
int COL() { return CONSOLE().col(); }
std::string SETCOLOR() { return CONSOLE().colour().to_string(); }
std::string SETCOLOR(std::string_view colour) { return CONSOLE().set_colour(colour); }
bool ISCOLOR() { return CONSOLE().is_colour(); }
void TONE(double frequency, double duration) { CONSOLE().tone(frequency, duration); }
void DISPBEGIN() { CONSOLE().disp_begin(); }
void DISPEND() { CONSOLE().disp_end(); }

// ---- keyboard

int INKEY() { return CONSOLE().inkey(pc::Wait::none()); }
int INKEY(double seconds) { return CONSOLE().inkey(pc::Wait::seconds(seconds)); }
int LASTKEY() { return CONSOLE().lastkey(); }
int NEXTKEY() { return CONSOLE().nextkey(); }

void __KEYBOARD(std::string_view keys) {
    auto& kb = CONSOLE().keyboard();
    kb.clear();
    kb.stuff(keys);
}
void __KEYBOARD(std::initializer_list<int> keys) {
    auto& kb = CONSOLE().keyboard();
    kb.clear();
    for (int k : keys) kb.put(k);
}

HotKeyRoutine SETKEY(int key, HotKeyRoutine routine) { return CONSOLE().keyboard().set_key(key, std::move(routine)); }
HotKeyRoutine SETKEY(int key) { return CONSOLE().keyboard().get_key(key); }

// ---- clock

platform::Date DATE() { return CONSOLE().clock().today(); }
std::string TIME() { return CONSOLE().clock().time_of_day(); }
double SECONDS() { return CONSOLE().clock().seconds(); }

// ---- light-bar menu

void __ATPROMPT(int row, int col, std::string_view prompt, std::string_view message) {
    Console& c = CONSOLE();
    c.out_at(row, col, prompt);
    state().prompts.push_back({row, col, std::string(prompt), std::string(message)});
}

int __MENUTO(int initial) {
    // Taken out first: a hot key run from inside this menu may place and run a menu of its own.
    std::vector<pc::MenuItem> items = std::move(state().prompts);
    state().prompts.clear();
    return pc::menu_to(CONSOLE(), items, initial);
}

// ---- pick-list and editor

int ACHOICE(int top, int left, int bottom, int right, const std::vector<std::string>& items,
            const std::vector<bool>& selectable, AchoiceFunction user, int initial, int window_row) {
    pc::AchoiceOptions opt;
    opt.selectable = selectable;
    opt.user = std::move(user);
    opt.initial = initial;
    opt.window_row = window_row;
    return pc::achoice(CONSOLE(), top, left, bottom, right, items, opt);
}

std::string MEMOEDIT(std::string_view text, int top, int left, int bottom, int right, bool editable) {
    return pc::memoedit(CONSOLE(), text, top, left, bottom, right, editable).text;
}

bool MEMOEDIT_FILE(const std::string& path, int top, int left, int bottom, int right, bool editable) {
    return pc::memoedit_file(CONSOLE(), path, top, left, bottom, right, editable);
}

}  // namespace sklad
