#include "platform/console/menu.h"

#include "platform/console/keys.h"
#include "platform/console/picture.h"

namespace platform::console {

namespace {

// The character a prompt is chosen by: its first non-blank one, in capitals.
char first_letter(std::string_view prompt) {
    auto p = prompt.find_first_not_of(' ');
    return p == std::string_view::npos ? '\0' : to_upper(prompt[p]);
}

void show_message(Console& con, const std::vector<MenuItem>& items, int cur) {
    const auto& s = con.settings();
    if (!s.message_row) return;
    bool any = false;
    for (const auto& it : items) any = any || !it.message.empty();
    if (!any) return;  // the row belongs to the screen when no prompt brings a message
    const std::string& msg = items[cur - 1].message;
    int row = *s.message_row;
    con.screen().clear(row, 0, row, kCols - 1, con.colour().standard());
    int col = s.message_centre ? std::max(0, (kCols - static_cast<int>(msg.size())) / 2) : 0;
    con.screen().write(row, col, msg, con.colour().standard());
}

}  // namespace

int menu_to(Console& con, const std::vector<MenuItem>& items, int initial) {
    const int n = static_cast<int>(items.size());
    if (n == 0) return 0;
    int cur = initial >= 1 && initial <= n ? initial : 1;
    auto draw = [&](int i, bool lit) {
        const MenuItem& it = items[i - 1];
        con.screen().write(it.row, it.col, it.prompt, lit ? con.colour().enhanced() : con.colour().standard());
    };
    con.disp_begin();
    for (int i = 1; i <= n; ++i) draw(i, i == cur);
    con.disp_end();
    while (true) {
        con.disp_begin();
        draw(cur, true);
        show_message(con, items, cur);
        con.set_pos(items[cur - 1].row, items[cur - 1].col);
        con.disp_end();
        int key = con.inkey(Wait::forever());
        int next = cur;
        const bool wrap = con.settings().wrap;
        switch (key) {
            case K_ENTER:
            case K_PGUP:
            case K_PGDN: return cur;
            case K_ESC: return 0;
            case K_UP:
            case K_LEFT: next = cur > 1 ? cur - 1 : (wrap ? n : 1); break;
            case K_DOWN:
            case K_RIGHT: next = cur < n ? cur + 1 : (wrap ? 1 : n); break;
            case K_HOME: next = 1; break;
            case K_END: next = n; break;
            default:
                if (key > ' ' && key < 256) {
                    char c = to_upper(static_cast<char>(key));
                    for (int step = 1; step <= n; ++step) {
                        int i = (cur - 1 + step) % n + 1;
                        if (first_letter(items[i - 1].prompt) == c) {
                            draw(cur, false);
                            draw(i, true);
                            con.set_pos(items[i - 1].row, items[i - 1].col);
                            return i;
                        }
                    }
                }
                break;
        }
        if (next != cur) {
            draw(cur, false);
            cur = next;
        }
    }
}

}  // namespace platform::console
