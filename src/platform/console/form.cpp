#include "platform/console/form.h"

#include <algorithm>

#include "platform/console/keys.h"

namespace platform::console {

Get& Form::add(Get g) {
    gets_.push_back(std::move(g));
    show(gets_.back());
    return gets_.back();
}

void Form::clear() {
    if (reading_) {
        killed_ = true;
        clear_after_ = true;
        return;
    }
    gets_.clear();
}

void Form::show(const Get& g) {
    ColourSpec spec = console_->colour();
    if (!g.colour.empty()) spec.apply(g.colour);
    console_->out_at(g.row, g.col, g.text(), g.has_focus() ? spec.enhanced() : spec.unselected());
}

void Form::show_all() {
    for (const Get& g : gets_) show(g);
}

void Form::place_cursor(const Get& g) { console_->set_pos(g.row, g.col + g.cursor_offset()); }

ReadOutcome Form::read(int start) {
    killed_ = false;
    updated_ = false;
    clear_after_ = false;
    bool escaped = false;
    int n = static_cast<int>(gets_.size());
    int pos = std::clamp(start - 1, 0, std::max(n - 1, 0));
    int dir = 1;
    int refused = 0;
    reading_ = true;
    show_all();
    bool done = n == 0;
    while (!done && !killed_) {
        if (pos < 0) {
            pos = 0;
            dir = 1;
        }
        if (pos >= n) break;  // moved on past the last field
        Get& g = gets_[static_cast<std::size_t>(pos)];
        if (g.when && !g.when()) {
            // Passed over; when no field at all may be entered the read ends.
            if (++refused > 2 * n) break;
            pos += dir;
            continue;
        }
        refused = 0;
        switch (edit(g)) {
            case Exit::Up:
                dir = -1;
                pos = std::max(pos - 1, 0);
                break;
            case Exit::Down:
                dir = 1;
                if (pos + 1 < n) ++pos;
                break;
            case Exit::Enter:
                dir = 1;
                ++pos;
                break;
            case Exit::Top:
                dir = 1;
                pos = 0;
                break;
            case Exit::Escape:
                escaped = true;
                done = true;
                break;
            case Exit::Write:
            case Exit::Kill:
            case Exit::None:
                done = true;
                break;
        }
    }
    reading_ = false;
    if (clear_after_) gets_.clear();
    clear_after_ = false;
    return {updated_, escaped};
}

Form::Exit Form::edit(Get& g) {
    g.set_focus();
    active_ = &g;
    show(g);
    ConsoleSettings& settings = console_->settings();
    Exit exit = Exit::None;
    while (exit == Exit::None) {
        if (killed_) {
            exit = Exit::Kill;
            break;
        }
        place_cursor(g);
        int key = wait_key(g);
        if (killed_) {
            exit = Exit::Kill;
            break;
        }
        switch (key) {
            case K_ENTER: exit = Exit::Enter; break;
            case K_UP:
            case K_SH_TAB: exit = Exit::Up; break;
            case K_DOWN:
            case K_TAB: exit = Exit::Down; break;
            case K_PGUP:
            case K_PGDN:
            case K_CTRL_W: exit = Exit::Write; break;
            case K_CTRL_HOME: exit = Exit::Top; break;
            case K_ESC: exit = Exit::Escape; break;
            case K_INS:
                settings.insert = !settings.insert;
                if (console_->cursor_shape() != CursorShape::None)
                    console_->set_cursor_shape(settings.insert ? CursorShape::Insert : CursorShape::Normal);
                break;
            default:
                if (g.edit_key(key, settings.insert) && g.type_out()) {
                    if (settings.bell) console_->tone(700, 1);
                    if (!settings.confirm) exit = Exit::Enter;
                }
                break;
        }
        show(g);
        if (exit == Exit::Escape) {
            g.undo();
        } else if (exit != Exit::None && !post_validate(g)) {
            exit = killed_ ? Exit::Kill : Exit::None;
        }
    }
    g.kill_focus();
    active_ = nullptr;
    show(g);
    return exit;
}

bool Form::post_validate(Get& g) {
    // Only what was typed can be bad: an untouched field (a number too wide for its picture) may be left.
    if (g.changed() && g.bad_input()) return false;
    if (g.changed()) {
        g.assign();
        updated_ = true;
    }
    // Editing goes on from the start of the field, as when it was entered.
    g.reset();
    bool ok = !g.valid || g.valid();
    // The VALID may have corrected this field or recomputed others: show them from their variables.
    g.update_buffer();
    show_all();
    return ok;
}

int Form::wait_key(Get& g) {
    Keyboard& kb = console_->keyboard();
    for (;;) {
        int key = console_->inkey(Wait::forever(), false);
        HotKey routine = kb.get_key(key);
        if (!routine) return key;
        // The routine sees what is typed in the field (the calculator starts from it).
        if (g.changed() && !g.bad_input()) {
            g.assign();
            updated_ = true;
        }
        // Unbound while it runs so it is not entered twice; bound again unless it rebound the key itself.
        kb.set_key(key, {});
        routine();
        if (!kb.get_key(key)) kb.set_key(key, routine);
        if (killed_) return K_NONE;
        g.update_buffer();
        show_all();
        place_cursor(g);
    }
}

}  // namespace platform::console
