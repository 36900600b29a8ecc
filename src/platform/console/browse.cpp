#include "platform/console/browse.h"

#include <algorithm>

#include "platform/console/picture.h"

namespace platform::console {

namespace {

// A separator row under or over the columns: the fill character (the string's last) along the
// columns and, where a column separator stands, the string's junction character under its bar.
std::string separator_cell(const std::string& sep, const std::string& col_sep) {
    char fill = sep.back();
    char junction = fill;
    for (char c : sep)
        if (c != fill) {
            junction = c;
            break;
        }
    std::string out(col_sep.size(), fill);
    auto bar = col_sep.find_first_not_of(' ');
    if (!out.empty()) out[bar == std::string::npos ? 0 : bar] = junction;
    return out;
}

std::string fit(std::string text, int width, bool right_align) {
    auto w = static_cast<std::size_t>(std::max(width, 0));
    if (text.size() > w) return text.substr(0, w);
    if (right_align) return std::string(w - text.size(), ' ') + text;
    text.resize(w, ' ');
    return text;
}

}  // namespace

Browse::Browse(Console& console, int top, int left, int bottom, int right, RowSource source)
    : console_(console), top_(top), left_(left), bottom_(bottom), right_(right), src_(std::move(source)) {}

void Browse::add_column(BrowseColumn c) {
    columns_.push_back(std::move(c));
    configured_ = false;
}

void Browse::set_head_sep(std::string s) {
    head_sep_ = std::move(s);
    configured_ = false;
}

void Browse::set_col_sep(std::string s) {
    col_sep_ = std::move(s);
    configured_ = false;
}

void Browse::set_foot_sep(std::string s) {
    foot_sep_ = std::move(s);
    configured_ = false;
}

void Browse::set_colour_spec(std::string spec) {
    colours_.clear();
    if (!spec.empty())
        for (const auto& a : parse_colour_list(spec)) colours_.push_back(a.value_or(console_.colour().standard()));
    dirty_ = true;
}

Attr Browse::colour(int index) const {
    if (colours_.empty()) return index == 2 ? console_.colour().enhanced() : console_.colour().standard();
    if (index < 1 || index > static_cast<int>(colours_.size())) return colours_[0];
    return colours_[static_cast<std::size_t>(index - 1)];
}

bool Browse::empty() const { return src_.eof && src_.bof && src_.eof() && src_.bof(); }

std::vector<Value> Browse::read_row() const {
    std::vector<Value> row;
    row.reserve(columns_.size());
    for (const auto& c : columns_) row.push_back(c.value ? c.value() : Value{});
    return row;
}

void Browse::configure() {
    bool headings = std::any_of(columns_.begin(), columns_.end(), [](const auto& c) { return !c.heading.empty(); });
    head_rows_ = (headings ? 1 : 0) + (head_sep_.empty() ? 0 : 1);
    int foot_rows = foot_sep_.empty() ? 0 : 1;
    data_top_ = top_ + head_rows_;
    row_count_ = std::max(0, bottom_ - top_ + 1 - head_rows_ - foot_rows);
    compute_widths();
    fit_columns();
    configured_ = true;
    dirty_ = true;
}

void Browse::compute_widths() {
    std::vector<Value> first;
    widths_from_row_ = !empty();
    if (widths_from_row_) first = read_row();
    int max_width = right_ - left_ + 1;
    widths_.clear();
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const auto& c = columns_[i];
        int w = c.width;
        if (w <= 0) {
            w = static_cast<int>(c.heading.size());
            Value v = i < first.size() ? first[i] : Value{};
            if (!first.empty()) w = std::max(w, static_cast<int>(format_value(v, c.picture).size()));
        }
        widths_.push_back(std::clamp(w, 1, max_width));
    }
}

void Browse::fit_columns() {
    int n = col_count();
    if (n == 0) {
        left_visible_ = 1;
        right_visible_ = 0;
        return;
    }
    col_pos_ = std::clamp(col_pos_, 1, n);
    left_visible_ = std::clamp(left_visible_, 1, n);
    if (col_pos_ < left_visible_) left_visible_ = col_pos_;
    int width = right_ - left_ + 1;
    int sep = static_cast<int>(col_sep_.size());
    auto last_fitting = [&](int from) {
        int x = 0, last = from;
        for (int c = from; c <= n; ++c) {
            int w = widths_[static_cast<std::size_t>(c - 1)] + (c > from ? sep : 0);
            if (c > from && x + w > width) break;
            x += w;
            last = c;
        }
        return last;
    };
    right_visible_ = last_fitting(left_visible_);
    while (col_pos_ > right_visible_) right_visible_ = last_fitting(++left_visible_);
}

int Browse::column_x(int col) const {
    if (col < left_visible_ || col > right_visible_) return -1;
    int x = left_;
    for (int c = left_visible_; c < col; ++c) x += widths_[static_cast<std::size_t>(c - 1)] + static_cast<int>(col_sep_.size());
    return x;
}

int Browse::column_width(int col) const {
    if (col < left_visible_ || col > right_visible_) return -1;
    return std::min(widths_[static_cast<std::size_t>(col - 1)], right_ - column_x(col) + 1);
}

std::pair<int, int> Browse::cell_pair(int row, int col) const {
    auto it = rect_colours_.find({row, col});
    if (it != rect_colours_.end()) return it->second;
    const auto& c = columns_[static_cast<std::size_t>(col - 1)];
    if (c.colour_block && row <= rows_shown_) return c.colour_block(cells_[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col - 1)]);
    return c.colours;
}

void Browse::draw_cell(int row, int col, bool lit) {
    int x = column_x(col);
    if (x < 0 || row < 1 || row > row_count_) return;
    std::string text;
    bool right_align = false;
    if (row <= rows_shown_) {
        const Value& v = cells_[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col - 1)];
        text = format_value(v, columns_[static_cast<std::size_t>(col - 1)].picture);
        right_align = std::holds_alternative<Decimal>(v);
    }
    auto pair = cell_pair(row, col);
    console_.out_at(screen_row(row), x, fit(text, column_width(col), right_align),
                    colour(lit ? pair.second : pair.first));
}

void Browse::draw_row(int row) {
    int y = screen_row(row);
    Attr plain = colour(1);
    console_.out_at(y, left_, std::string(static_cast<std::size_t>(right_ - left_ + 1), ' '), plain);
    for (int c = left_visible_; c <= right_visible_; ++c) {
        if (c > left_visible_) console_.out_at(y, column_x(c) - static_cast<int>(col_sep_.size()), col_sep_, plain);
        draw_cell(row, c, false);
    }
}

void Browse::draw_frame_rows() {
    Attr plain = colour(1);
    int width = right_ - left_ + 1;
    int y = top_;
    auto sep_row = [&](const std::string& sep, int row) {
        std::string line(static_cast<std::size_t>(width), sep.back());
        std::string cell = separator_cell(sep, col_sep_);
        for (int c = left_visible_ + 1; c <= right_visible_; ++c) {
            int at = column_x(c) - static_cast<int>(col_sep_.size()) - left_;
            line.replace(static_cast<std::size_t>(at), cell.size(), cell);
        }
        console_.out_at(row, left_, line, plain);
    };
    if (head_rows_ > (head_sep_.empty() ? 0 : 1)) {
        console_.out_at(y, left_, std::string(static_cast<std::size_t>(width), ' '), plain);
        for (int c = left_visible_; c <= right_visible_; ++c)
            console_.out_at(y, column_x(c), fit(columns_[static_cast<std::size_t>(c - 1)].heading, column_width(c), false),
                            plain);
        ++y;
    }
    if (!head_sep_.empty()) sep_row(head_sep_, y);
    if (!foot_sep_.empty()) sep_row(foot_sep_, data_top_ + row_count_);
}

void Browse::movement() {
    hit_top_ = false;
    hit_bottom_ = false;
}

void Browse::up() {
    movement();
    ops_.push_back(Op::Up);
}
void Browse::down() {
    movement();
    ops_.push_back(Op::Down);
}
void Browse::page_up() {
    movement();
    ops_.push_back(Op::PageUp);
}
void Browse::page_down() {
    movement();
    ops_.push_back(Op::PageDown);
}
void Browse::go_top() {
    movement();
    ops_.push_back(Op::Top);
}
void Browse::go_bottom() {
    movement();
    ops_.push_back(Op::Bottom);
}

// Column moves: the lit cell follows; the columns are redrawn only when the visible set changes.
namespace {
template <class F>
void move_column(Browse& b, bool& dirty, F change) {
    int before = b.left_visible();
    b.dehilite();
    change();
    if (b.left_visible() != before) dirty = true;
}
}  // namespace

void Browse::left() {
    move_column(*this, dirty_, [&] {
        if (col_pos_ > 1) --col_pos_;
        fit_columns();
    });
}
void Browse::right() {
    move_column(*this, dirty_, [&] {
        if (col_pos_ < col_count()) ++col_pos_;
        fit_columns();
    });
}
void Browse::home() {
    move_column(*this, dirty_, [&] { col_pos_ = left_visible_; });
}
void Browse::end() {
    move_column(*this, dirty_, [&] { col_pos_ = right_visible_; });
}
void Browse::pan_left() {
    move_column(*this, dirty_, [&] {
        if (left_visible_ > 1) --left_visible_;
        col_pos_ = std::min(col_pos_, right_visible_);
        fit_columns();
        col_pos_ = std::min(col_pos_, right_visible_);
    });
}
void Browse::pan_right() {
    move_column(*this, dirty_, [&] {
        if (right_visible_ < col_count()) {
            ++left_visible_;
            col_pos_ = std::max(col_pos_, left_visible_);
            fit_columns();
        }
    });
}
void Browse::pan_home() {
    move_column(*this, dirty_, [&] {
        left_visible_ = 1;
        col_pos_ = 1;
        fit_columns();
    });
}
void Browse::pan_end() {
    move_column(*this, dirty_, [&] {
        col_pos_ = col_count();
        fit_columns();
    });
}

void Browse::refresh_all() { dirty_ = true; }
void Browse::refresh_current() { dirty_row_ = row_pos_; }

void Browse::set_row_pos(int r) {
    row_pos_ = std::max(r, 1);
    dirty_ = true;
}

void Browse::set_col_pos(int c) {
    dehilite();
    col_pos_ = c;
    fit_columns();
    dirty_ = true;
}

void Browse::apply_ops() {
    long page = std::max(row_count_, 1);
    for (Op op : ops_) {
        switch (op) {
            case Op::Down:
                if (src_.skip(1) == 0) hit_bottom_ = true;
                else ++row_pos_;
                break;
            case Op::Up:
                if (src_.skip(-1) == 0) hit_top_ = true;
                else --row_pos_;
                break;
            case Op::PageDown:
                if (src_.skip(page) == 0) hit_bottom_ = true;
                break;
            case Op::PageUp:
                if (src_.skip(-page) == 0) hit_top_ = true;
                break;
            case Op::Top:
                src_.go_top();
                row_pos_ = 1;
                break;
            case Op::Bottom:
                src_.go_bottom();
                row_pos_ = row_count_;
                break;
        }
    }
    ops_.clear();
    row_pos_ = std::clamp(row_pos_, 1, std::max(row_count_, 1));
}

void Browse::read_rows() {
    // From the current row up to the top of the view (fewer rows when the source begins sooner).
    long up = -src_.skip(-(row_pos_ - 1));
    row_pos_ = static_cast<int>(up) + 1;
    cells_.clear();
    cells_.push_back(read_row());
    int n = 1;
    while (n < row_count_ && src_.skip(1) == 1) {
        cells_.push_back(read_row());
        ++n;
    }
    int at = n - 1;  // the row the source stands on
    if (n < row_count_ && n > 0) {
        // The source ended before the view did: rows above the top fill it, so the last row is at the bottom.
        src_.skip(-(n - 1));
        at = 0;
        long more = -src_.skip(-(row_count_ - n));
        if (more > 0) {
            std::vector<std::vector<Value>> above;
            for (long i = 0; i < more; ++i) {
                above.push_back(read_row());
                src_.skip(1);
            }
            cells_.insert(cells_.begin(), above.begin(), above.end());
            row_pos_ += static_cast<int>(more);
            n += static_cast<int>(more);
            at = static_cast<int>(more);
        }
    }
    rows_shown_ = n;
    src_.skip(row_pos_ - 1 - at);
}

bool Browse::stabilize() {
    // A list that started empty measures its columns again on its first row.
    if (!configured_ || (!widths_from_row_ && !empty())) configure();
    if (ops_.empty() && !dirty_ && dirty_row_ == 0) {
        if (auto_lite_ && !lit_) hilite();
        return true;
    }
    console_.disp_begin();
    if (empty()) {
        ops_.clear();
        cells_.clear();
        rows_shown_ = 0;
        row_pos_ = 1;
        dirty_ = true;
    } else if (!ops_.empty() || dirty_ || row_pos_ > rows_shown_) {
        // A bookmark brings the source back to the current row even when rows changed meanwhile.
        apply_ops();
        long mark = src_.bookmark ? src_.bookmark() : 0;
        read_rows();
        if (src_.bookmark && src_.go_to) src_.go_to(mark);
        dirty_ = true;
    } else {
        cells_[static_cast<std::size_t>(row_pos_ - 1)] = read_row();
    }
    if (dirty_) {
        rect_colours_.clear();
        draw_frame_rows();
        for (int r = 1; r <= row_count_; ++r) draw_row(r);
    } else {
        draw_row(row_pos_);
    }
    dirty_ = false;
    dirty_row_ = 0;
    lit_ = false;
    if (auto_lite_) hilite();
    console_.disp_end();
    return true;
}

void Browse::hilite() {
    if (!configured_) return;
    draw_cell(row_pos_, col_pos_, true);
    lit_ = true;
}

void Browse::dehilite() {
    if (!configured_) return;
    draw_cell(row_pos_, col_pos_, false);
    lit_ = false;
}

void Browse::colour_rect(int top, int left, int bottom, int right, std::pair<int, int> pair) {
    for (int r = std::max(top, 1); r <= std::min(bottom, row_count_); ++r)
        for (int c = std::max(left, 1); c <= std::min(right, col_count()); ++c) {
            rect_colours_[{r, c}] = pair;
            draw_cell(r, c, lit_ && r == row_pos_ && c == col_pos_);
        }
}

}  // namespace platform::console
