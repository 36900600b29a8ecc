#include "platform/console/screen.h"

#include <algorithm>
#include <cstdlib>

namespace platform::console {

namespace {

struct Rect {
    int top, left, bottom, right;
    bool empty() const { return top > bottom || left > right; }
};

Rect clip(int top, int left, int bottom, int right) {
    return {std::max(top, 0), std::max(left, 0), std::min(bottom, kRows - 1), std::min(right, kCols - 1)};
}

}  // namespace

Screen::Screen() : cells_(kRows * kCols) {}

void Screen::set(int row, int col, Cell c) {
    if (!inside(row, col)) return;
    Cell& cell = at(row, col);
    if (cell == c) return;
    cell = c;
    ++generation_;
}

void Screen::write(int row, int col, std::string_view cp852, Attr attr) {
    if (row < 0 || row >= kRows) return;
    for (std::size_t i = 0; i < cp852.size(); ++i) {
        long c = static_cast<long>(col) + static_cast<long>(i);
        if (c >= kCols) break;
        if (c >= 0) set(row, static_cast<int>(c), Cell{static_cast<unsigned char>(cp852[i]), attr});
    }
}

void Screen::clear(int top, int left, int bottom, int right, Attr attr) {
    Rect r = clip(top, left, bottom, right);
    for (int y = r.top; y <= r.bottom; ++y)
        for (int x = r.left; x <= r.right; ++x) set(y, x, Cell{' ', attr});
}

void Screen::paint(int top, int left, int bottom, int right, Attr attr) {
    Rect r = clip(top, left, bottom, right);
    for (int y = r.top; y <= r.bottom; ++y)
        for (int x = r.left; x <= r.right; ++x) set(y, x, Cell{at(y, x).ch, attr});
}

void Screen::scroll(int top, int left, int bottom, int right, int rows, int cols, Attr attr) {
    Rect r = clip(top, left, bottom, right);
    if (r.empty()) return;
    int h = r.bottom - r.top + 1, w = r.right - r.left + 1;
    if ((rows == 0 && cols == 0) || std::abs(rows) >= h || std::abs(cols) >= w) {
        clear(r.top, r.left, r.bottom, r.right, attr);
        return;
    }
    ScreenImage old = save(r.top, r.left, r.bottom, r.right);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int sy = y + rows, sx = x + cols;
            Cell c = (sy >= 0 && sy < h && sx >= 0 && sx < w) ? old.cells[sy * w + sx] : Cell{' ', attr};
            set(r.top + y, r.left + x, c);
        }
}

void Screen::box(int top, int left, int bottom, int right, std::string_view frame, Attr attr) {
    if (frame.empty() || top > bottom || left > right) return;
    auto ch = [&](std::size_t i) {
        return static_cast<unsigned char>(frame[std::min(i, frame.size() - 1)]);
    };
    for (int x = left + 1; x < right; ++x) {
        set(top, x, Cell{ch(1), attr});
        if (bottom != top) set(bottom, x, Cell{ch(5), attr});
    }
    for (int y = top + 1; y < bottom; ++y) {
        set(y, left, Cell{ch(7), attr});
        if (right != left) set(y, right, Cell{ch(3), attr});
    }
    set(top, left, Cell{ch(0), attr});
    if (right != left) set(top, right, Cell{ch(2), attr});
    if (bottom != top) {
        set(bottom, right, Cell{ch(4), attr});
        set(bottom, left, Cell{ch(6), attr});
    }
    if (frame.size() >= 9)
        for (int y = top + 1; y < bottom; ++y)
            for (int x = left + 1; x < right; ++x) set(y, x, Cell{ch(8), attr});
}

ScreenImage Screen::save(int top, int left, int bottom, int right) const {
    Rect r = clip(top, left, bottom, right);
    ScreenImage img;
    if (r.empty()) return img;
    img.rows = r.bottom - r.top + 1;
    img.cols = r.right - r.left + 1;
    img.cells.reserve(static_cast<std::size_t>(img.rows * img.cols));
    for (int y = r.top; y <= r.bottom; ++y)
        for (int x = r.left; x <= r.right; ++x) img.cells.push_back(at(y, x));
    return img;
}

void Screen::restore(int top, int left, int bottom, int right, const ScreenImage& image) {
    Rect r = clip(top, left, bottom, right);
    if (r.empty() || image.empty()) return;
    // Cells go back in reading order, as the rectangle is given, so an image saved from a
    // rectangle of the same size lands exactly where it came from.
    std::size_t i = 0;
    for (int y = r.top; y <= r.bottom; ++y)
        for (int x = r.left; x <= r.right; ++x) {
            if (i >= image.cells.size()) return;
            set(y, x, image.cells[i++]);
        }
}

std::string Screen::row_bytes(int row) const {
    std::string out;
    if (row < 0 || row >= kRows) return out;
    for (int x = 0; x < kCols; ++x) out += static_cast<char>(at(row, x).ch);
    return out;
}

}  // namespace platform::console
