#pragma once
// A spool file as pages of lines of styled text runs. Spool files are code page 852 text
// with CR LF line ends, form feeds between pages, overstruck Polish letters and the printer
// control sequences the print procedures embed (ESC/P for dot-matrix kinds, PCL for lasers).

#include <filesystem>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform::printer {

struct Style {
    double cpi = 10;     // characters per inch: the advance of every character
    double points = 12;  // character height
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool condensed = false;     // ESC/P condensed mode (already folded into cpi)
    bool double_width = false;  // ESC/P double width (already folded into cpi)

    double char_width() const { return 72.0 / cpi; }  // in points
    bool operator==(const Style&) const = default;
};

// Text printed from `x` points right of the line's left edge, one code page 852 byte a
// character; control bytes never appear in it.
struct Run {
    double x = 0;
    std::string text;
    Style style;
};

struct Line {
    std::vector<Run> runs;
    double points = 12;   // tallest type on the line (the style in force when it is empty)
    double spacing = 0;   // line advance set by ESC/P "ESC 3 n"; 0 means from the type size

    std::string text() const;  // the runs' text, for tests and diagnostics
};

// A picture file drawn into a rectangle given in printer dots (600 an inch) from the top
// left corner of the printable area.
struct Picture {
    std::string file;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct Page {
    bool landscape = false;
    std::vector<Line> lines;
    std::vector<Picture> pictures;
};

struct SpoolDocument {
    std::vector<Page> pages;
};

struct ParseOptions {
    // Only lines first..last (1-based, both included) are kept; control sequences on the
    // other lines still take effect so the kept lines get the right type.
    long first_line = 1;
    long last_line = std::numeric_limits<long>::max();
};

class SpoolError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

SpoolDocument parse_spool(std::string_view bytes, const ParseOptions& options = {});
// Throws SpoolError when the file cannot be read.
SpoolDocument read_spool_file(const std::filesystem::path& file, const ParseOptions& options = {});

}  // namespace platform::printer
