#include "platform/console/achoice.h"

#include <algorithm>

#include "platform/console/keys.h"
#include "platform/console/picture.h"

namespace platform::console {

namespace {

class PickList {
  public:
    PickList(Console& con, int top, int left, int bottom, int right, const std::vector<std::string>& items,
             const AchoiceOptions& opt)
        : con_(con), top_(top), left_(left), height_(std::max(1, bottom - top + 1)),
          width_(std::max(1, right - left + 1)), items_(items), opt_(opt), n_(static_cast<int>(items.size())) {}

    int run();

  private:
    Console& con_;
    int top_, left_, height_, width_;
    const std::vector<std::string>& items_;
    const AchoiceOptions& opt_;
    int n_;
    int cur_ = 1;
    int first_ = 1;  // item on the window's first row

    bool selectable(int i) const {
        return i >= 1 && i <= n_ && (static_cast<std::size_t>(i - 1) >= opt_.selectable.size() || opt_.selectable[i - 1]);
    }
    // Nearest selectable item from `i` going in `dir` (+1/-1), 0 when none.
    int seek(int i, int dir) const {
        for (; i >= 1 && i <= n_; i += dir)
            if (selectable(i)) return i;
        return 0;
    }
    int first_selectable() const { return seek(1, 1); }
    int last_selectable() const { return seek(n_, -1); }

    void draw() {
        if (cur_ < first_) first_ = cur_;
        if (cur_ >= first_ + height_) first_ = cur_ - height_ + 1;
        con_.disp_begin();
        for (int r = 0; r < height_; ++r) {
            int i = first_ + r;
            std::string text = i <= n_ ? items_[i - 1] : std::string();
            text.resize(width_, ' ');
            Attr a = i == cur_ ? con_.colour().enhanced()
                               : (i > n_ || selectable(i) ? con_.colour().standard() : con_.colour().unselected());
            con_.screen().write(top_ + r, left_, text, a);
        }
        con_.set_pos(top_ + cur_ - first_, left_);
        con_.disp_end();
    }
    // Moves to `i` (kept inside the list), choosing the nearest selectable item in `dir`.
    void go(int i, int dir) {
        i = std::clamp(i, 1, n_);
        int s = seek(i, dir);
        if (!s) s = seek(i, -dir);
        if (s) cur_ = s;
    }
    bool first_letter(int key) {
        if (key <= ' ' || key >= 256) return false;
        char c = to_upper(static_cast<char>(key));
        for (int step = 1; step <= n_; ++step) {
            int i = (cur_ - 1 + step) % n_ + 1;
            const std::string& t = items_[i - 1];
            auto p = t.find_first_not_of(' ');
            if (selectable(i) && p != std::string::npos && to_upper(t[p]) == c) {
                cur_ = i;
                return true;
            }
        }
        return false;
    }
    int call(int mode) { return opt_.user(mode, cur_, cur_ - first_); }
};

int PickList::run() {
    if (n_ == 0 || !first_selectable()) {
        if (opt_.user) opt_.user(AC_NOITEM, 0, 0);
        return 0;
    }
    cur_ = std::clamp(opt_.initial, 1, n_);
    if (!selectable(cur_)) go(cur_, 1);
    first_ = std::clamp(cur_ - opt_.window_row, 1, std::max(1, n_ - height_ + 1));
    first_ = std::min(first_, cur_);
    while (true) {
        draw();
        int mode = AC_IDLE;
        if (opt_.user && con_.keyboard().typeahead_empty()) {
            int answer = call(AC_IDLE);
            if (answer == AC_ABORT) return 0;
            if (answer == AC_SELECT) return cur_;
            draw();
        }
        int key = con_.inkey(Wait::forever());
        switch (key) {
            case K_UP:
                if (int p = seek(cur_ - 1, -1)) cur_ = p;
                else mode = AC_HITTOP;
                break;
            case K_DOWN:
                if (int p = seek(cur_ + 1, 1)) cur_ = p;
                else mode = AC_HITBOTTOM;
                break;
            case K_PGUP:
                if (cur_ == first_selectable()) mode = AC_HITTOP;
                else {
                    first_ = std::max(1, first_ - height_);
                    go(cur_ - height_, -1);
                }
                break;
            case K_PGDN:
                if (cur_ == last_selectable()) mode = AC_HITBOTTOM;
                else {
                    first_ = std::min(std::max(1, n_ - height_ + 1), first_ + height_);
                    go(cur_ + height_, 1);
                }
                break;
            case K_HOME:
            case K_CTRL_PGUP: go(1, 1); break;
            case K_END:
            case K_CTRL_PGDN: go(n_, -1); break;
            case K_CTRL_HOME: go(first_, 1); break;
            case K_CTRL_END: go(std::min(n_, first_ + height_ - 1), -1); break;
            default:
                if (!opt_.user) {
                    if (key == K_ENTER) return cur_;
                    if (key == K_ESC || key == K_LEFT || key == K_RIGHT) return 0;
                    first_letter(key);
                    break;
                }
                mode = AC_EXCEPT;
                break;
        }
        if (mode == AC_IDLE || !opt_.user) continue;
        draw();
        int answer = call(mode);
        if (answer == AC_ABORT) return 0;
        if (answer == AC_SELECT) return cur_;
        if (answer == AC_GOTO) first_letter(con_.lastkey());
    }
}

}  // namespace

int achoice(Console& console, int top, int left, int bottom, int right, const std::vector<std::string>& items,
            const AchoiceOptions& options) {
    PickList list(console, top, left, bottom, right, items, options);
    return list.run();
}

}  // namespace platform::console
