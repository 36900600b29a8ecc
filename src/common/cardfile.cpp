#include "common/cardfile.h"

#include <optional>

#include "common/browse_list.h"
#include "common/colours.h"
#include "common/console.h"
#include "common/format.h"
#include "common/forms.h"
#include "common/help.h"
#include "common/lists.h"
#include "data/access.h"
#include "data/engine.h"
#include "data/rows.h"

namespace sklad {

namespace {

// Put into the type-ahead so that the list control calls back at once: after the list is drawn
// (also the first time), the form and the lit row are drawn again. No key has this code.
constexpr int K_REDRAW = 0x10000;

struct Running {
    const CardFile& s;
    bool current = true;  // the open period is the current month
    TypeAhead search;
    int row = 0, col = 0;  // the current cell, where the list control leaves the cursor
};

const std::string& key_line_text(const Running& r) {
    return r.current || r.s.keys_line_readonly.empty() ? r.s.keys_line : r.s.keys_line_readonly;
}

void draw_key_line(const Running& r) { KEY_LINE(key_line_text(r), FILTRUJ); }

// The open period folder "YY\MM" (HH, read by name: the catalogue owns it), when it is set.
std::optional<std::string> period() {
    const auto hh = MEMVAR_GET("HH");
    const std::string* text = hh ? std::get_if<std::string>(&*hh) : nullptr;
    if (!text || text->size() < 5) return std::nullopt;
    return *text;
}

void title(const CardFile& s, bool current) {
    const std::string colour = COLOUR_FRAME();
    std::string bar = s.title.substr(0, 80);
    bar.resize(80, ' ');
    DISPOUTAT(14, 0, bar, colour);
    DISPOUTAT(14, 33, INDEXKEY().substr(0, 31), colour);
    const auto hh = period();
    if (!current && hh) DISPOUTAT(14, 65, MIESIAC(hh->substr(3, 2), hh->substr(0, 2)), colour);
}

// The current list row in the row colour, and the form of the current record.
void linia(Running& r) {
    CONSOLE().paint(r.row, 0, r.row, 79, CONSOLE().attr_of(COLOUR_ROW()));
    if (r.s.read) r.s.read();
    else FORM_READ(r.s.fields);
    FORM_SHOW(r.s.form);
    ZERO = false;
    DBUFIRST = false;
    SETPOS(r.row, r.col);
}

// The list is to be read again around the pointer, then the form drawn again.
int repaint() {
    ZERO = true;
    CONSOLE().keyboard().put(K_REDRAW);
    return DE_REFRESH;
}

int run(Running& r, const CardKey& k) {
    if (k.changes_data && !r.current) return DE_CONT;
    int answer;
    if (k.window) {
        linia(r);
        const ScreenImage screen = SAVESCREEN();
        answer = k.action();
        RESTSCREEN(screen);
        SETCOLOR("");
    } else {
        answer = k.action();
    }
    // The action may have changed the order or ended a filter.
    title(r.s, r.current);
    draw_key_line(r);
    return answer == DE_ABORT ? DE_ABORT : repaint();
}

int callback(Running& r, int mode) {
    r.row = ROW();
    r.col = COL();
    const int key = LASTKEY();
    KEYSTROKE = key;
    if (key == K_REDRAW) {
        linia(r);
        return DE_CONT;
    }
    if (mode == DE_HITBOTTOM && EOF()) {
        DBGOBOTTOM();
        return repaint();
    }
    if (mode == DE_EMPTY) {
        if (key == K_DOWN && !FILTRUJ && ADD_REC(15)) DBUNLOCK();
        return repaint();
    }
    const bool search = !FILTRUJ && (key == K_BS || ZNAK_SZUKANIA(key));
    if (!search) TYPEAHEAD_CLEAR(r.search);
    if (mode != DE_EXCEPT || ZERO) linia(r);
    if (mode != DE_EXCEPT) return DE_CONT;

    if (key == K_ESC) {
        FILTRUJ = false;
        return DE_ABORT;
    }
    if (search && TYPEAHEAD_KEY(r.search, key)) return repaint();
    if (key == K_TAB || key == K_ALT_I) {
        NEXT_ORDER();
        title(r.s, r.current);
        return repaint();
    }
    if (key == K_F1 && r.s.help) {
        CardKey help{K_F1, [&r] {
                         r.s.help();
                         return DE_REFRESH;
                     }};
        return run(r, help);
    }
    for (const CardKey& k : r.s.keys)
        if (k.key == key) return run(r, k);
    return DE_CONT;
}

// What the screen changes of the session for its lifetime, given back however it ends.
struct Saved {
    int keystroke = KEYSTROKE;
    bool first = DBUFIRST, zero = ZERO, filter = FILTRUJ;
    int pomoc = POMOC;
    HotKeyRoutine f1 = SETKEY(K_F1, {});  // F1 reaches the list as a key; form reads bind it again
    const std::vector<std::string>& fields;
    explicit Saved(const std::vector<std::string>& f) : fields(f) {}
    Saved(const Saved&) = delete;
    Saved& operator=(const Saved&) = delete;
    ~Saved() {
        FORM_RELEASE(fields);
        SETKEY(K_F1, f1);
        KEYSTROKE = keystroke;
        DBUFIRST = first;
        ZERO = zero;
        FILTRUJ = filter;
        POMOC = pomoc;
    }
};

void default_view(const CardFile& s) {
    DBCLEARFILTER();
    if (s.default_filter) s.default_filter();
}

}  // namespace

bool CURRENT_PERIOD() {
    const auto hh = period();
    if (!hh || SELECT("FIRMA") == 0) return true;
    std::string bmr;
    try {
        const Value v = WORKAREAS().expression("FIRMA->BMR")();
        if (auto* s = std::get_if<std::string>(&v)) bmr = *s;
    } catch (const std::exception&) {
        return true;  // a firm table without the month: nothing to compare with
    }
    return bmr.substr(0, 5) == hh->substr(3, 2) + "." + hh->substr(0, 2);
}

bool CARDFILE(const CardFile& s) {
    INSTALL_WORKAREA_ROWS();
    CLEAR_GETS();
    Saved saved(s.fields);
    KEYSTROKE = 0;
    DBUFIRST = true;
    ZERO = false;
    FILTRUJ = false;
    FORM_NEW(s.fields);

    Running r{s, CURRENT_PERIOD(), {}, 0, 0};
    r.search.orders = s.search;
    r.search.line = [&r] { draw_key_line(r); };

    default_view(s);
    DBGOTOP();
    if (!EOF() && REC_LOCK(1)) DBUNLOCK();  // the table is reachable
    CLS();
    if (EOF() && ADD_REC(15)) DBUNLOCK();  // an empty table shows one blank record
    if (s.start) {
        s.start();
    } else {
        if (!INDEXKEY(1).empty()) ORDSETFOCUS(1);
        DBGOTOP();
    }
    title(s, r.current);
    do {
        draw_key_line(r);
        CONSOLE().keyboard().put(K_REDRAW);
        DBEDIT(s.list_top, 0, s.list_bottom, 79, s.columns, [&r](int mode, int) { return callback(r, mode); },
               s.pictures, s.headings, s.head_sep, s.col_sep, s.foot_sep);
    } while (FILTRUJ);

    if (!INDEXKEY(1).empty()) ORDSETFOCUS(1);
    default_view(s);
    DBGOTOP();
    SETCURSOR(SC_NONE);
    return true;
}

}  // namespace sklad
