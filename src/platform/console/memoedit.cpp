#include "platform/console/memoedit.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unistd.h>

#include "platform/console/keys.h"

namespace platform::console {

namespace {

constexpr int kTabSize = 4;

bool is_word_char(char c) { return c != ' ' && c != '\t'; }

class Editor {
  public:
    Editor(Console& con, std::string_view text, int top, int left, int bottom, int right, bool editable)
        : con_(con), top_(top), left_(left), height_(std::max(1, bottom - top + 1)),
          width_(std::max(1, right - left + 1)), editable_(editable) {
        split(text);
    }

    EditResult run(std::string_view original);

  private:
    // One line of text and the end it had ("\r\n", "\n", or "" for the last line).
    struct Line {
        std::string text;
        std::string eol;
    };

    Console& con_;
    int top_, left_, height_, width_;
    bool editable_;
    std::vector<Line> lines_;
    int row_ = 0, col_ = 0;           // cursor in the text
    int top_line_ = 0, left_col_ = 0;  // first line and column shown

    void split(std::string_view text) {
        std::size_t start = 0;
        while (true) {
            auto nl = text.find('\n', start);
            if (nl == std::string_view::npos) {
                lines_.push_back({std::string(text.substr(start)), ""});
                break;
            }
            bool crlf = nl > start && text[nl - 1] == '\r';
            lines_.push_back({std::string(text.substr(start, nl - start - (crlf ? 1 : 0))), crlf ? "\r\n" : "\n"});
            start = nl + 1;
        }
    }
    std::string join() const {
        std::string out;
        for (const auto& l : lines_) out += l.text + l.eol;
        return out;
    }
    // The end a new line gets: the one the text already uses.
    std::string default_eol() const {
        for (const auto& l : lines_)
            if (!l.eol.empty()) return l.eol;
        return "\r\n";
    }

    int count() const { return static_cast<int>(lines_.size()); }
    std::string& line() { return lines_[row_].text; }
    int len(int r) const { return static_cast<int>(lines_[r].text.size()); }

    void keep_visible() {
        row_ = std::clamp(row_, 0, count() - 1);
        col_ = std::clamp(col_, 0, len(row_));
        if (row_ < top_line_) top_line_ = row_;
        if (row_ >= top_line_ + height_) top_line_ = row_ - height_ + 1;
        if (col_ < left_col_) left_col_ = col_;
        if (col_ >= left_col_ + width_) left_col_ = col_ - width_ + 1;
    }
    void draw() {
        con_.disp_begin();
        Attr a = con_.colour().standard();
        for (int r = 0; r < height_; ++r) {
            int i = top_line_ + r;
            std::string shown;
            if (i < count() && left_col_ < len(i)) shown = lines_[i].text.substr(left_col_, width_);
            for (char& c : shown)
                if (c == '\t') c = ' ';
            shown.resize(width_, ' ');
            con_.screen().write(top_ + r, left_, shown, a);
        }
        if (editable_) {
            con_.set_cursor_shape(con_.settings().insert ? CursorShape::Insert : CursorShape::Normal);
            con_.set_pos(top_ + row_ - top_line_, left_ + col_ - left_col_);
        }
        con_.disp_end();
    }

    void word_left() {
        if (col_ == 0) {
            if (row_ > 0) col_ = len(--row_);
            return;
        }
        const std::string& t = line();
        while (col_ > 0 && !is_word_char(t[col_ - 1])) --col_;
        while (col_ > 0 && is_word_char(t[col_ - 1])) --col_;
    }
    void word_right() {
        const std::string& t = line();
        if (col_ >= len(row_)) {
            if (row_ + 1 < count()) ++row_, col_ = 0;
            return;
        }
        while (col_ < len(row_) && is_word_char(t[col_])) ++col_;
        while (col_ < len(row_) && !is_word_char(t[col_])) ++col_;
    }
    void join_next() {
        if (row_ + 1 >= count()) return;
        line() += lines_[row_ + 1].text;
        lines_[row_].eol = lines_[row_ + 1].eol;
        lines_.erase(lines_.begin() + row_ + 1);
    }
    // Splits the line at the cursor: the second part keeps the line's old end.
    void new_line() {
        Line rest{lines_[row_].text.substr(col_), lines_[row_].eol};
        lines_[row_].text.erase(col_);
        lines_[row_].eol = rest.eol.empty() ? default_eol() : rest.eol;
        lines_.insert(lines_.begin() + row_ + 1, std::move(rest));
        ++row_;
        col_ = 0;
    }
    void type(char c) {
        if (con_.settings().insert || col_ >= len(row_))
            line().insert(line().begin() + col_, c);
        else
            line()[col_] = c;
        ++col_;
    }

    // Returns true when the key ends the edit; `saved` tells how.
    bool edit_key(int key, bool& saved);
    bool view_key(int key);
};

bool Editor::edit_key(int key, bool& saved) {
    switch (key) {
        case K_CTRL_W: saved = true; return true;
        case K_ESC: return true;
        case K_UP: --row_; break;
        case K_DOWN: ++row_; break;
        case K_LEFT:
            if (col_ > 0) --col_;
            else if (row_ > 0) col_ = len(--row_);
            break;
        case K_RIGHT:
            if (col_ < len(row_)) ++col_;
            else if (row_ + 1 < count()) ++row_, col_ = 0;
            break;
        case K_CTRL_LEFT: word_left(); break;
        case K_CTRL_RIGHT: word_right(); break;
        case K_HOME: col_ = 0; break;
        case K_END: col_ = len(row_); break;
        case K_CTRL_HOME: row_ = top_line_, col_ = 0; break;
        case K_PGUP: row_ -= height_, top_line_ = std::max(0, top_line_ - height_); break;
        case K_PGDN:
            row_ += height_;
            top_line_ = std::min(std::max(0, count() - height_), top_line_ + height_);
            break;
        case K_CTRL_PGUP: row_ = 0, col_ = 0; break;
        case K_CTRL_PGDN: row_ = count() - 1, col_ = len(row_); break;
        case K_INS: con_.settings().insert = !con_.settings().insert; break;
        case K_ENTER:
            if (con_.settings().insert) new_line();
            else if (row_ + 1 < count()) ++row_, col_ = 0;
            else col_ = len(row_), new_line();
            break;
        case K_DEL:
            if (col_ < len(row_)) line().erase(col_, 1);
            else join_next();
            break;
        case K_BS:
            if (col_ > 0) line().erase(--col_, 1);
            else if (row_ > 0) col_ = len(--row_), join_next();
            break;
        case K_CTRL_Y:
            if (count() > 1) {
                std::string eol = lines_[row_].eol;
                lines_.erase(lines_.begin() + row_);
                if (row_ >= count()) lines_[--row_].eol = eol;  // the last line keeps the text's end
            } else {
                lines_[0].text.clear();
            }
            col_ = 0;
            break;
        case K_CTRL_T: {
            int end = col_;
            const std::string& t = line();
            while (end < len(row_) && is_word_char(t[end])) ++end;
            while (end < len(row_) && !is_word_char(t[end])) ++end;
            line().erase(col_, end - col_);
            break;
        }
        case K_TAB: {
            int spaces = kTabSize - col_ % kTabSize;
            for (int i = 0; i < spaces; ++i) type(' ');
            break;
        }
        default:
            if (key >= ' ' && key < 256 && key != 127) type(static_cast<char>(key));
            break;
    }
    return false;
}

bool Editor::view_key(int key) {
    int longest = 0;
    for (int i = top_line_; i < std::min(count(), top_line_ + height_); ++i) longest = std::max(longest, len(i));
    int last_top = std::max(0, count() - height_);
    switch (key) {
        case K_ESC:
        case K_CTRL_W: return true;
        case K_UP: --top_line_; break;
        case K_DOWN: ++top_line_; break;
        case K_PGUP: top_line_ -= height_; break;
        case K_PGDN: top_line_ += height_; break;
        case K_CTRL_PGUP: top_line_ = 0, left_col_ = 0; break;
        case K_CTRL_PGDN: top_line_ = last_top; break;
        case K_LEFT: --left_col_; break;
        case K_RIGHT: ++left_col_; break;
        case K_HOME: left_col_ = 0; break;
        case K_END: left_col_ = std::max(0, longest - width_); break;
        default: break;
    }
    top_line_ = std::clamp(top_line_, 0, last_top);
    left_col_ = std::clamp(left_col_, 0, std::max(0, longest - 1));
    return false;
}

EditResult Editor::run(std::string_view original) {
    CursorShape shape_before = con_.cursor_shape();
    if (!editable_) con_.set_cursor_shape(CursorShape::None);
    bool saved = false;
    while (true) {
        if (editable_) keep_visible();
        draw();
        int key = con_.inkey(Wait::forever());
        if (editable_ ? edit_key(key, saved) : view_key(key)) break;
    }
    con_.set_cursor_shape(shape_before);
    if (saved) return {join(), true};
    return {std::string(original), false};
}

}  // namespace

EditResult memoedit(Console& console, std::string_view text, int top, int left, int bottom, int right,
                    bool editable) {
    Editor ed(console, text, top, left, bottom, right, editable);
    return ed.run(text);
}

bool memoedit_file(Console& console, const std::filesystem::path& path, int top, int left, int bottom, int right,
                   bool editable) {
    namespace fs = std::filesystem;
    std::string text;
    if (fs::exists(path)) {
        std::ifstream in(path, std::ios::binary);
        if (!in) throw fs::filesystem_error("cannot read", path, std::make_error_code(std::errc::io_error));
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    EditResult r = memoedit(console, text, top, left, bottom, right, editable);
    if (!r.saved || !editable) return false;
    fs::path tmp = path;
    tmp += ".~edit" + std::to_string(::getpid());
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(r.text.data(), static_cast<std::streamsize>(r.text.size()));
        out.flush();
        if (!out) {
            std::error_code ignored;
            fs::remove(tmp, ignored);
            throw fs::filesystem_error("cannot write", tmp, std::make_error_code(std::errc::io_error));
        }
    }
    fs::rename(tmp, path);
    return true;
}

}  // namespace platform::console
