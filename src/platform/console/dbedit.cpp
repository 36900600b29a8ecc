#include "platform/console/dbedit.h"

#include <algorithm>

#include "platform/console/keys.h"

namespace platform::console {

namespace {

// Applies a movement key to the browse; false for any other key.
bool move(Browse& b, int key) {
    switch (key) {
        case K_UP: b.up(); break;
        case K_DOWN: b.down(); break;
        case K_PGUP: b.page_up(); break;
        case K_PGDN: b.page_down(); break;
        case K_CTRL_PGUP: b.go_top(); break;
        case K_CTRL_PGDN: b.go_bottom(); break;
        case K_LEFT: b.left(); break;
        case K_RIGHT: b.right(); break;
        case K_HOME: b.home(); break;
        case K_END: b.end(); break;
        case K_CTRL_LEFT: b.pan_left(); break;
        case K_CTRL_RIGHT: b.pan_right(); break;
        case K_CTRL_HOME: b.pan_home(); break;
        case K_CTRL_END: b.pan_end(); break;
        default: return false;
    }
    return true;
}

}  // namespace

void dbedit(Console& console, int top, int left, int bottom, int right, RowSource source, const DbeditSpec& spec) {
    Browse b(console, top, left, bottom, right, std::move(source));
    for (std::size_t i = 0; i < spec.columns.size(); ++i) {
        BrowseColumn c;
        c.value = spec.columns[i];
        if (i < spec.pictures.size()) c.picture = spec.pictures[i];
        if (i < spec.headings.size()) c.heading = spec.headings[i];
        b.add_column(std::move(c));
    }
    b.set_head_sep(spec.head_sep);
    b.set_col_sep(spec.col_sep);
    b.set_foot_sep(spec.foot_sep);
    for (;;) {
        b.stabilize();
        int key = console.inkey(Wait::forever());
        bool moved = move(b, key);
        if (!spec.user) {
            if (!moved && (key == K_ESC || key == K_ENTER)) return;
            continue;
        }
        b.stabilize();
        console.set_pos(b.screen_row(b.row_pos()), std::max(b.column_x(b.col_pos()), left));
        int mode = DE_EXCEPT;
        if (moved) mode = b.empty() ? DE_EMPTY : b.hit_top() ? DE_HITTOP : b.hit_bottom() ? DE_HITBOTTOM : DE_IDLE;
        switch (spec.user(mode, b.col_pos())) {
            case DE_ABORT: return;
            case DE_REFRESH: b.refresh_all(); break;
            default: break;
        }
    }
}

}  // namespace platform::console
