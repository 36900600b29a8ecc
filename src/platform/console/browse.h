#pragma once
// A browse object: a rectangle of one-line rows over a row source (a table in its index order, an
// array...), in columns with headings and separators. The program moves it (up, down, pages, top,
// bottom, columns), then calls stabilize() to bring the display up to date; the source is left on
// the current row. Colours come from a list of colour pairs that columns and colour_rect() index.

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/console/console.h"
#include "platform/value/value.h"

namespace platform::console {

// How the browse walks the rows. skip(n) moves n rows (back when negative) and answers how many it
// moved, stopping at either end. eof/bof tell an empty source (both true) from a full one; the
// bookmark pair is optional and lets the browse come back to the current row exactly after reading
// the rows around it, also when other users changed the rows in between.
struct RowSource {
    std::function<void()> go_top;
    std::function<void()> go_bottom;
    std::function<long(long)> skip;
    std::function<bool()> eof;
    std::function<bool()> bof;
    std::function<long()> bookmark;
    std::function<void(long)> go_to;
};

struct BrowseColumn {
    BrowseColumn() = default;
    BrowseColumn(std::string heading_, std::function<Value()> value_, std::string picture_ = "")
        : heading(std::move(heading_)), value(std::move(value_)), picture(std::move(picture_)) {}

    std::string heading;
    std::function<Value()> value;   // the cell's value on the current row
    std::string picture;            // how the value is shown ("" = as it is)
    int width = 0;                  // 0: the wider of the heading and the first value shown
    std::pair<int, int> colours{1, 2};  // colour pairs (1-based in the browse's list): plain, lit
    // Colour pairs chosen by the cell's value; empty = `colours`.
    std::function<std::pair<int, int>(const Value&)> colour_block;
};

class Browse {
  public:
    Browse(Console& console, int top, int left, int bottom, int right, RowSource source);

    // ---- set-up (any change is drawn at the next stabilize)
    void add_column(BrowseColumn c);
    std::vector<BrowseColumn>& columns() { return columns_; }
    void set_head_sep(std::string s);
    void set_col_sep(std::string s);
    void set_foot_sep(std::string s);
    // "W/N, N/W, N/W, N/GR": the pairs the columns and colour_rect() index from 1. Empty: the
    // console's standard and enhanced colours.
    void set_colour_spec(std::string spec);
    void set_auto_lite(bool on) { auto_lite_ = on; }
    // Recomputes column widths and the layout (after columns were changed).
    void configure();

    // ---- movement: applied at the next stabilize
    void up();
    void down();
    void page_up();
    void page_down();
    void go_top();
    void go_bottom();
    void left();
    void right();
    void home();       // first visible column
    void end();        // last visible column
    void pan_left();   // show one more column on the left
    void pan_right();
    void pan_home();   // first column
    void pan_end();    // last column
    void refresh_all();      // reread and redraw every row
    void refresh_current();  // reread and redraw the current row

    // Brings the display up to date in one call and leaves the source on the current row; true.
    bool stabilize();
    void force_stable() { stabilize(); }
    bool stable() const { return ops_.empty() && !dirty_; }

    // ---- the current row and cell
    int row_pos() const { return row_pos_; }  // 1-based
    void set_row_pos(int r);                  // takes effect at the next refresh
    int col_pos() const { return col_pos_; }  // 1-based
    void set_col_pos(int c);
    int row_count() const { return row_count_; }
    int col_count() const { return static_cast<int>(columns_.size()); }
    int left_visible() const { return left_visible_; }
    int right_visible() const { return right_visible_; }
    bool hit_top() const { return hit_top_; }
    bool hit_bottom() const { return hit_bottom_; }
    bool empty() const;  // the source has no rows

    // Paints the current cell lit / plain.
    void hilite();
    void dehilite();
    // Paints cells of rows top..bottom and columns left..right (1-based) with a colour pair: the first
    // colour plain, the second when the cell is lit. Kept until the rows are read again.
    void colour_rect(int top, int left, int bottom, int right, std::pair<int, int> pair);

    // Screen row of a data row (1-based), and screen column and width of a column (1-based; -1 when
    // the column is not visible).
    int screen_row(int row) const { return data_top_ + row - 1; }
    int column_x(int col) const;
    int column_width(int col) const;

    int top() const { return top_; }
    int left_col() const { return left_; }
    int bottom() const { return bottom_; }
    int right_col() const { return right_; }

  private:
    enum class Op { Up, Down, PageUp, PageDown, Top, Bottom };

    Console& console_;
    int top_, left_, bottom_, right_;
    RowSource src_;
    std::vector<BrowseColumn> columns_;
    std::string head_sep_, col_sep_ = " ", foot_sep_;
    std::vector<Attr> colours_;
    bool auto_lite_ = true;

    bool configured_ = false;
    std::vector<int> widths_;
    bool widths_from_row_ = false;  // widths measured on a row (not only the headings of an empty source)
    int head_rows_ = 0;    // heading line, then the head separator
    int data_top_ = 0;     // screen row of data row 1
    int row_count_ = 0;
    int row_pos_ = 1;
    int col_pos_ = 1;
    int left_visible_ = 1;
    int right_visible_ = 0;
    std::vector<Op> ops_;
    bool dirty_ = true;          // every row must be read and drawn
    int dirty_row_ = 0;          // only this row (when not dirty_)
    bool hit_top_ = false;
    bool hit_bottom_ = false;
    bool lit_ = false;
    int rows_shown_ = 0;         // rows that hold a source row
    // Cell values of the rows on screen (so colour changes redraw without reading again).
    std::vector<std::vector<Value>> cells_;
    std::map<std::pair<int, int>, std::pair<int, int>> rect_colours_;  // (row, col) -> pair

    Attr colour(int index) const;
    std::pair<int, int> cell_pair(int row, int col) const;
    std::vector<Value> read_row() const;
    void compute_widths();
    void fit_columns();
    void draw_frame_rows();
    void draw_row(int row);
    void draw_cell(int row, int col, bool lit);
    void apply_ops();
    void read_rows();
    void movement();  // a move: the hit flags start again
};

}  // namespace platform::console
