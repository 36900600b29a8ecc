#include "platform/console/console.h"

#include <algorithm>
#include <cstdlib>

namespace platform::console {

Console::Console(std::unique_ptr<Backend> backend, std::unique_ptr<Clock> clock)
    : backend_(std::move(backend)), clock_(std::move(clock)), keyboard_(*backend_, *clock_) {
    keyboard_.on_end([this](int signal) {
        if (!ending_) end(signal);
    });
    screen_.clear(0, 0, kRows - 1, kCols - 1, colour_.standard());
}

Console::~Console() = default;

std::string Console::set_colour(std::string_view spec) {
    std::string before = colour_.to_string();
    colour_.apply(spec);
    return before;
}

Attr Console::attr_of(std::string_view spec) const {
    if (spec.empty()) return colour_.standard();
    auto list = parse_colour_list(spec);
    return list.front() ? *list.front() : colour_.standard();
}

void Console::set_pos(int row, int col) {
    cursor_.row = row;
    cursor_.col = col;
    refresh();
}

void Console::out(std::string_view cp852, std::optional<Attr> attr) {
    screen_.write(cursor_.row, cursor_.col, cp852, attr.value_or(colour_.standard()));
    cursor_.col += static_cast<int>(cp852.size());
    refresh();
}

void Console::out_at(int row, int col, std::string_view cp852, std::optional<Attr> attr) {
    cursor_.row = row;
    cursor_.col = col;
    out(cp852, attr);
}

void Console::devpos(int row, int col) {
    if (device_sink_)
        device_sink_->devpos(row, col);
    else
        set_pos(row, col);
}

void Console::devout(std::string_view cp852, std::optional<Attr> attr) {
    if (device_sink_)
        device_sink_->devout(cp852);
    else
        out(cp852, attr);
}

void Console::console_write(std::string_view cp852) {
    auto new_line = [this] {
        cursor_.col = 0;
        if (++cursor_.row >= kRows) {
            screen_.scroll(0, 0, kRows - 1, kCols - 1, 1, 0, colour_.standard());
            cursor_.row = kRows - 1;
        }
    };
    if (cursor_.row < 0 || cursor_.row >= kRows) cursor_.row = std::clamp(cursor_.row, 0, kRows - 1);
    if (cursor_.col < 0) cursor_.col = 0;
    for (char c : cp852) {
        if (c == '\n') {
            new_line();
            continue;
        }
        if (c == '\r') {
            cursor_.col = 0;
            continue;
        }
        if (cursor_.col >= kCols) new_line();
        screen_.write(cursor_.row, cursor_.col, std::string_view(&c, 1), colour_.standard());
        ++cursor_.col;
    }
    refresh();
}

void Console::qout(std::string_view cp852) {
    if (line_sink_) line_sink_->qout(cp852);
    if (!line_sink_ || line_screen_too_) {
        console_write("\n");
        console_write(cp852);
    }
}

void Console::qqout(std::string_view cp852) {
    if (line_sink_) line_sink_->qqout(cp852);
    if (!line_sink_ || line_screen_too_) console_write(cp852);
}

void Console::box(int top, int left, int bottom, int right, std::string_view frame, std::optional<Attr> attr) {
    screen_.box(top, left, bottom, right, frame, attr.value_or(colour_.standard()));
    cursor_.row = top + 1;
    cursor_.col = left + 1;
    refresh();
}

void Console::scroll(int top, int left, int bottom, int right, int rows, int cols) {
    screen_.scroll(top, left, bottom, right, rows, cols, colour_.standard());
    refresh();
}

void Console::clear_screen() {
    screen_.clear(0, 0, kRows - 1, kCols - 1, colour_.standard());
    set_pos(0, 0);
}

void Console::restore(int top, int left, int bottom, int right, const ScreenImage& image) {
    screen_.restore(top, left, bottom, right, image);
    refresh();
}

void Console::paint(int top, int left, int bottom, int right, Attr attr) {
    screen_.paint(top, left, bottom, right, attr);
    refresh();
}

CursorShape Console::set_cursor_shape(CursorShape shape) {
    CursorShape before = cursor_.shape;
    cursor_.shape = shape;
    refresh();
    return before;
}

void Console::disp_end() {
    if (disp_depth_ > 0) --disp_depth_;
    refresh();
}

void Console::refresh() {
    if (disp_depth_ == 0) backend_->present(screen_, cursor_);
}

void Console::tone(double frequency, double duration) {
    backend_->tone(frequency, duration);
    if (duration > 0) clock_->sleep(seconds_to_millis(duration / 18.2));
}

int Console::inkey(Wait wait, bool hot_keys) {
    refresh();
    return keyboard_.inkey(wait, hot_keys);
}

void Console::sleep(Millis d) {
    refresh();
    clock_->sleep(d);
}

void Console::end(int signal) {
    ending_ = true;
    if (end_handler_) {
        try {
            end_handler_(signal);
        } catch (...) {
            // The end goes on whatever the application's clean-up met.
        }
    }
    backend_.reset();  // restores the terminal
    std::exit(128 + signal);
}

}  // namespace platform::console
