#include "platform/printer/spool.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/text/overstrike.h"

namespace platform::printer {

namespace {

constexpr char kEsc = 0x1B;
// ESC/P dot-matrix type is the same height at every pitch.
constexpr double kDotMatrixPoints = 10;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The type selection as the two printer languages set it; `style()` folds it into a Style.
struct TypeState {
    double pitch = 10;  // before condensed and double width
    double points = 12;
    bool bold = false, italic = false, underline = false;
    bool condensed = false, double_width = false, line_double_width = false;

    Style style() const {
        Style s;
        s.cpi = pitch;
        if (condensed) s.cpi = pitch <= 10 ? 17.14 : pitch <= 12 ? 20 : pitch;
        if (double_width || line_double_width) s.cpi /= 2;
        s.points = points;
        s.bold = bold;
        s.italic = italic;
        s.underline = underline;
        s.condensed = condensed;
        s.double_width = double_width || line_double_width;
        return s;
    }

    // ESC "!" n, the ESC/P master select.
    void master_select(unsigned char n) {
        pitch = (n & 0x01) ? 12 : 10;
        condensed = n & 0x04;
        bold = n & 0x18;  // emphasized or double-strike
        double_width = n & 0x20;
        italic = n & 0x40;
        underline = n & 0x80;
        points = kDotMatrixPoints;
    }
};

// A PCL parameter value: optional sign, digits, optional fraction. Kept within sane bounds
// so that a damaged file cannot ask for absurd type.
struct Number {
    double value = 0;
    bool present = false;
};

class Parser {
  public:
    Parser(std::string_view in, const ParseOptions& options) : in_(in), options_(options) {
        doc_.pages.emplace_back();
    }

    SpoolDocument run() {
        while (pos_ < in_.size() && line_no_ <= options_.last_line) step();
        if (!line_empty()) end_line();
        drop_trailing_blank_pages();
        return std::move(doc_);
    }

  private:
    std::string_view in_;
    ParseOptions options_;
    std::size_t pos_ = 0;
    SpoolDocument doc_;
    TypeState type_;
    double spacing_ = 0;
    bool landscape_ = false;
    long line_no_ = 1;
    Line line_;
    double x_ = 0;
    bool new_run_ = true;  // the next character starts a run (type changed or carriage moved)

    bool kept() const { return line_no_ >= options_.first_line && line_no_ <= options_.last_line; }
    Page& page() { return doc_.pages.back(); }
    bool line_empty() const { return line_.runs.empty(); }
    bool page_empty() { return page().lines.empty() && page().pictures.empty() && line_empty(); }

    int peek(std::size_t ahead = 0) const {
        return pos_ + ahead < in_.size() ? static_cast<unsigned char>(in_[pos_ + ahead]) : -1;
    }

    void step() {
        char c = in_[pos_++];
        switch (c) {
            case '\r':
                if (peek() == '\n') ++pos_;
                end_line();
                return;
            case '\n':
                end_line();
                return;
            case '\f':
                form_feed();
                return;
            case '\b':
                backspace();
                return;
            case kEsc:
                escape();
                return;
            case 0x0F: set_type([](TypeState& t) { t.condensed = true; }); return;
            case 0x12: set_type([](TypeState& t) { t.condensed = false; }); return;
            case 0x0E: set_type([](TypeState& t) { t.line_double_width = true; }); return;
            case 0x14: set_type([](TypeState& t) { t.line_double_width = false; }); return;
            default:
                // Other control bytes print as blanks, as the printers show them.
                put(static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c);
        }
    }

    template <class F>
    void set_type(F change) {
        change(type_);
        new_run_ = true;
    }

    void put(char c) {
        if (!kept()) return;
        Style s = type_.style();
        if (new_run_ || line_.runs.back().style != s) {
            line_.runs.push_back(Run{x_, {}, s});
            new_run_ = false;
        }
        line_.runs.back().text += c;
        x_ += s.char_width();
    }

    // "letter, backspace, mark" makes a Polish letter; any other backspace moves the
    // carriage back one character so that what follows overprints, as on paper.
    void backspace() {
        if (kept() && !new_run_ && !line_.runs.empty() && peek() >= 0) {
            std::string& text = line_.runs.back().text;
            if (auto letter = text::compose_overstrike(text.back(), static_cast<char>(peek()))) {
                text.back() = *letter;
                ++pos_;
                return;
            }
        }
        x_ = std::max(0.0, x_ - type_.style().char_width());
        new_run_ = true;
    }

    void end_line() {
        if (kept()) {
            line_.points = type_.points;
            for (const Run& r : line_.runs) line_.points = std::max(line_.points, r.style.points);
            line_.spacing = spacing_;
            page().lines.push_back(std::move(line_));
        }
        line_ = Line{};
        x_ = 0;
        new_run_ = true;
        type_.line_double_width = false;
        ++line_no_;
    }

    void form_feed() {
        if (!kept()) return;
        if (!line_empty()) {
            // The rest of this line continues on the new page under the same number.
            long n = line_no_;
            end_line();
            line_no_ = n;
        }
        if (doc_.pages.size() == 1 && page_empty()) return;  // no blank leading page
        Page next;
        next.landscape = landscape_;
        doc_.pages.push_back(std::move(next));
    }

    void set_landscape(bool on) {
        landscape_ = on;
        if (page_empty()) page().landscape = on;  // otherwise it takes effect on the next page
    }

    void drop_trailing_blank_pages() {
        auto blank = [](const Page& p) {
            if (!p.pictures.empty()) return false;
            for (const Line& l : p.lines)
                for (const Run& r : l.runs)
                    if (r.text.find_first_not_of(' ') != std::string::npos) return false;
            return true;
        };
        while (doc_.pages.size() > 1 && blank(doc_.pages.back())) doc_.pages.pop_back();
    }

    // ---- control sequences -------------------------------------------------------------

    void escape() {
        int c = peek();
        if (c < 0) return;
        ++pos_;
        switch (c) {
            case '!': with_byte([this](unsigned char n) { set_type([n](TypeState& t) { t.master_select(n); }); }); return;
            case '3': with_byte([this](unsigned char n) { spacing_ = n * 72.0 / 180; }); return;
            case 'A': with_byte([this](unsigned char n) { spacing_ = n * 72.0 / 60; }); return;
            case '0': spacing_ = 72.0 / 8; return;
            case '2': spacing_ = 72.0 / 6; return;
            case '-': with_byte([this](unsigned char n) { set_type([n](TypeState& t) { t.underline = n & 1; }); }); return;
            case 'W':
                with_byte([this](unsigned char n) { set_type([n](TypeState& t) { t.double_width = n & 1; }); });
                return;
            case '4': set_type([](TypeState& t) { t.italic = true; }); return;
            case '5': set_type([](TypeState& t) { t.italic = false; }); return;
            case 'P': set_type([](TypeState& t) { t.pitch = 10; }); return;
            case 'M': set_type([](TypeState& t) { t.pitch = 12; }); return;
            case 'x':
            case 'J': with_byte([](unsigned char) {}); return;  // quality, paper feed: no effect here
            case '@':
                set_type([](TypeState& t) { t = TypeState{}; });
                spacing_ = 0;
                return;
            case 'I':
                if (peek() == ';') {
                    picture();
                    return;
                }
                return;
            default:
                if (c >= 0x21 && c <= 0x2F) pcl(static_cast<char>(c));
                // Anything else is a two-byte command this renderer has no use for.
        }
    }

    template <class F>
    void with_byte(F apply) {
        if (peek() < 0) return;
        apply(static_cast<unsigned char>(in_[pos_++]));
    }

    // ESC, a parameter character, a group character unless a digit follows at once, then
    // value-letter pairs; a lower-case letter continues the group, an upper-case one ends it.
    void pcl(char parameter) {
        std::string code(1, parameter);
        if (peek() >= 0x60 && peek() <= 0x7E) code += static_cast<char>(in_[pos_++]);
        for (;;) {
            Number n = number();
            int t = peek();
            if (t < 0x40 || t > 0x7E) return;  // broken sequence: drop it, keep the text
            ++pos_;
            bool last = t < 0x60;
            apply_pcl(code, n, static_cast<char>(last ? t : t - 0x20));
            if (last) return;
        }
    }

    Number number() {
        Number n;
        bool negative = false;
        if (peek() == '+' || peek() == '-') negative = in_[pos_++] == '-';
        double scale = 0;
        int digits = 0;
        while (peek() >= 0 && (is_digit(static_cast<char>(peek())) || (peek() == '.' && scale == 0))) {
            char c = in_[pos_++];
            if (c == '.') {
                scale = 1;
                continue;
            }
            n.present = true;
            if (++digits > 9) continue;  // beyond any meaningful value
            if (scale > 0) {
                scale /= 10;
                n.value += (c - '0') * scale;
            } else {
                n.value = n.value * 10 + (c - '0');
            }
        }
        if (negative) n.value = -n.value;
        return n;
    }

    void apply_pcl(const std::string& code, Number n, char letter) {
        double v = n.value;
        if (code == "&l" && letter == 'O') {
            set_landscape(v == 1);
        } else if (code == "&d" && letter == '@') {
            set_type([](TypeState& t) { t.underline = false; });
        } else if (code == "&d" && letter == 'D') {
            set_type([v](TypeState& t) { t.underline = v == 1; });
        } else if (code == "(s" && letter == 'H') {
            if (v >= 0.5 && v <= 100)
                set_type([v](TypeState& t) {
                    t.pitch = v;
                    t.condensed = t.double_width = false;
                });
        } else if (code == "(s" && letter == 'V') {
            if (v >= 1 && v <= 200) set_type([v](TypeState& t) { t.points = v; });
        } else if (code == "(s" && letter == 'S') {
            set_type([v](TypeState& t) { t.italic = v == 1; });
        } else if (code == "(s" && letter == 'B') {
            set_type([v](TypeState& t) { t.bold = v * 200 >= 600; });
        }
        // Symbol set, spacing, typeface, quality and the rest change nothing we draw.
    }

    // ESC "I;" file ";" x1 ";" y1 ";" x2 ";" y2, up to the line end (which stays a line end).
    void picture() {
        ++pos_;  // the ';'
        std::size_t end = in_.find_first_of("\r\n", pos_);
        if (end == std::string_view::npos) end = in_.size();
        std::string_view body = in_.substr(pos_, end - pos_);
        pos_ = end;
        std::vector<std::string_view> parts;
        for (std::size_t from = 0;;) {
            std::size_t semi = body.find(';', from);
            parts.push_back(body.substr(from, semi == std::string_view::npos ? std::string_view::npos : semi - from));
            if (semi == std::string_view::npos) break;
            from = semi + 1;
        }
        if (parts.size() < 5 || !kept()) return;
        double v[4];
        for (int i = 0; i < 4; ++i) {
            std::string_view p = parts[i + 1];
            while (!p.empty() && p.front() == ' ') p.remove_prefix(1);
            while (!p.empty() && p.back() == ' ') p.remove_suffix(1);
            if (p.empty() || p.size() > 6 || !std::all_of(p.begin(), p.end(), is_digit)) return;
            v[i] = std::stod(std::string(p));
        }
        page().pictures.push_back(Picture{std::string(parts[0]), v[0], v[1], v[2], v[3]});
    }
};

}  // namespace

std::string Line::text() const {
    std::string out;
    for (const Run& r : runs) out += r.text;
    return out;
}

SpoolDocument parse_spool(std::string_view bytes, const ParseOptions& options) {
    return Parser(bytes, options).run();
}

SpoolDocument read_spool_file(const std::filesystem::path& file, const ParseOptions& options) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw SpoolError("cannot open " + file.string());
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw SpoolError("cannot read " + file.string());
    return parse_spool(bytes, options);
}

}  // namespace platform::printer
