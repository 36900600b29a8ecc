#include "common/browse_list.h"

#include "common/colours.h"
#include "common/console.h"
#include "common/kalk.h"
#include "data/access.h"
#include "data/engine.h"
#include "data/rows.h"
#include "platform/console/screen.h"

namespace sklad {

namespace {

void key_line(const BrowseList& l) {
    if (!l.picker || l.key_row < 0) return;
    std::string line = "Klucz : " + INDEXKEY();
    line.resize(80, ' ');
    DISPOUTAT(l.key_row, 0, line.substr(0, 80), "W/N");
}

// The keys every list shares; false for any other.
bool shared_key(BrowseList& l, int key) {
    Browse& b = *l.browse;
    switch (key) {
        case K_UP: b.up(); break;
        case K_DOWN: b.down(); break;
        case K_PGUP: b.page_up(); break;
        case K_PGDN: b.page_down(); break;
        case K_CTRL_PGUP: b.go_top(); break;
        case K_CTRL_PGDN: b.go_bottom(); break;
        case K_HOME: b.home(); break;
        case K_END: b.end(); break;
        case K_CTRL_LEFT: b.pan_left(); break;
        case K_CTRL_RIGHT: b.pan_right(); break;
        case K_CTRL_HOME: b.pan_home(); break;
        case K_CTRL_END: b.pan_end(); break;
        case K_LEFT: l.picker ? b.pan_home() : b.left(); break;
        case K_RIGHT: l.picker ? b.pan_end() : b.right(); break;
        case K_ALT_K: KALK(); break;
        default: return false;
    }
    return true;
}

// The keys of pickers: -1 for any other, else what the loop does next.
int picker_key(BrowseList& l, int key) {
    if (!l.picker) return BL_UNKNOWN;
    switch (key) {
        case K_ENTER: l.chosen = true; return BL_LEAVE;
        case K_F1: return BL_LEAVE;
        case K_TAB:
        case K_ALT_I:
            TYPEAHEAD_CLEAR(l.search);
            NEXT_ORDER();
            key_line(l);
            return BL_REFRESH;
        default: break;
    }
    if (TYPEAHEAD_KEY(l.search, key)) return BL_REFRESH;
    return BL_UNKNOWN;
}

}  // namespace

int NEXT_ORDER() {
    int count = 0;
    while (!INDEXKEY(count + 1).empty()) ++count;
    if (count == 0) return 0;
    ORDSETFOCUS(INDEXORD() % count + 1);
    return INDEXORD();
}

BrowseList BROWSE_LIST(int top, int left, int bottom, int right, bool picker) {
    INSTALL_WORKAREA_ROWS();
    BrowseList l;
    l.browse = TBROWSEDB(top, left, bottom, right);
    l.browse->set_auto_lite(false);
    l.picker = picker;
    if (picker) l.browse->set_colour_spec(COLOUR_PICKER());
    return l;
}

void PODSWLIN(BrowseList& l, bool lit) {
    Browse& b = *l.browse;
    b.colour_rect(b.row_pos(), 1, b.row_pos(), b.col_count(), lit ? l.lit : l.unlit);
}

int STABILIZACJA(BrowseList& l) {
    l.browse->stabilize();
    if (l.shown) l.shown();  // lines that follow the current record (key hints of operator lists)
    PODSWLIN(l, true);
    const int key = INKEY(0);
    PODSWLIN(l, false);
    return key;
}

void FRESHORDER(BrowseList& l) {
    Browse& b = *l.browse;
    const long record = RECNO();
    const bool phantom = EOF();
    b.refresh_all();
    b.stabilize();
    if (phantom) return;
    while (RECNO() != record) {
        b.up();
        b.stabilize();
        if (b.hit_top()) break;
    }
}

bool BROWSE_LOOP(BrowseList& l) {
    Browse& b = *l.browse;
    l.chosen = false;
    l.search.row = l.key_row;
    const bool own_line = !l.search.line;
    if (own_line) l.search.line = [&l] { key_line(l); };
    SETCURSOR(SC_NONE);
    const std::string frame = l.frame_colour.empty() ? COLOUR_FRAME() : l.frame_colour;
    DISPBOX(b.top() - 1, b.left_col() - 1, b.bottom() + 1, b.right_col() + 1, platform::console::kBoxDoubleFill, frame);
    key_line(l);
    FRESHORDER(l);
    for (;;) {
        const int key = STABILIZACJA(l);
        if (!(l.picker && (key == K_BS || ZNAK_SZUKANIA(key)))) TYPEAHEAD_CLEAR(l.search);
        if (shared_key(l, key)) continue;
        if (key == K_ESC) break;
        int answer = picker_key(l, key);
        if (answer == BL_UNKNOWN && l.keys) answer = l.keys(key);
        if (answer == BL_LEAVE) break;
        if (answer == BL_REFRESH) {
            FRESHORDER(l);
        } else if (answer == BL_UNKNOWN && !FILE_X("TONE.---")) {
            TONE(3000, 2);
            TONE(3000, 2);
        }
    }
    if (own_line) l.search.line = {};
    return l.chosen;
}

}  // namespace sklad
