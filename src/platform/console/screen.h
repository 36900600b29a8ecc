#pragma once
// The 25 x 80 text screen: every cell is one code page 852 byte and one colour attribute.
// All drawing clips at the screen edges; coordinates are row 0..24, column 0..79.

#include <string>
#include <string_view>
#include <vector>

#include "platform/console/colour.h"

namespace platform::console {

inline constexpr int kRows = 25;
inline constexpr int kCols = 80;

struct Cell {
    unsigned char ch = ' ';
    Attr attr = make_attr(7, 0);
    friend bool operator==(const Cell&, const Cell&) = default;
};

// A saved rectangle; it may be kept as long as needed and restored later (the whole main screen
// image is one). A default-constructed image is empty and restoring it does nothing.
struct ScreenImage {
    int rows = 0;
    int cols = 0;
    std::vector<Cell> cells;  // row by row
    bool empty() const { return cells.empty(); }
    friend bool operator==(const ScreenImage&, const ScreenImage&) = default;
};

// Frame strings: 8 characters clockwise from the top-left corner (corner, top, corner, right side,
// corner, bottom, corner, left side) and an optional 9th that fills the inside. Code page 852 bytes.
inline constexpr std::string_view kBoxSingle = "\xDA\xC4\xBF\xB3\xD9\xC4\xC0\xB3";  // ┌─┐│┘─└│
inline constexpr std::string_view kBoxDouble = "\xC9\xCD\xBB\xBA\xBC\xCD\xC8\xBA";  // ╔═╗║╝═╚║
inline constexpr std::string_view kBoxSingleFill = "\xDA\xC4\xBF\xB3\xD9\xC4\xC0\xB3 ";
inline constexpr std::string_view kBoxDoubleFill = "\xC9\xCD\xBB\xBA\xBC\xCD\xC8\xBA ";

class Screen {
  public:
    Screen();

    const Cell& at(int row, int col) const { return cells_[row * kCols + col]; }
    Cell& at(int row, int col) { return cells_[row * kCols + col]; }
    static bool inside(int row, int col) { return row >= 0 && row < kRows && col >= 0 && col < kCols; }

    // Writes bytes from (row, col) on one row; what falls outside the screen is dropped.
    void write(int row, int col, std::string_view cp852, Attr attr);
    // Fills the rectangle with blanks in `attr` (rectangle corners inclusive, clipped).
    void clear(int top, int left, int bottom, int right, Attr attr);
    // Scrolls the rectangle: rows > 0 moves the contents up, < 0 down; cols > 0 left, < 0 right.
    // Uncovered cells become blanks in `attr`; rows == cols == 0 clears it.
    void scroll(int top, int left, int bottom, int right, int rows, int cols, Attr attr);
    // Draws a frame of 8 (or 9, with fill) characters; other lengths: an empty string draws nothing
    // and shorter strings repeat their last character.
    void box(int top, int left, int bottom, int right, std::string_view frame, Attr attr);
    // Changes only the attribute of a rectangle (lighting a row without rewriting its text).
    void paint(int top, int left, int bottom, int right, Attr attr);

    ScreenImage save(int top, int left, int bottom, int right) const;
    // Puts the image back into the rectangle row by row; a shorter image leaves the rest unchanged.
    void restore(int top, int left, int bottom, int right, const ScreenImage& image);

    // The characters of a row (80 code page 852 bytes).
    std::string row_bytes(int row) const;

    // Counts changes so a backend can skip drawing when nothing changed.
    unsigned long generation() const { return generation_; }

  private:
    std::vector<Cell> cells_;
    unsigned long generation_ = 0;
    void set(int row, int col, Cell c);
};

}  // namespace platform::console
