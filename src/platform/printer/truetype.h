#pragma once
// What a PDF needs to know about a TrueType font file to embed it whole: glyph numbers of
// characters, advance widths and the figures of its font descriptor.

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform::printer {

class FontError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TrueTypeFont {
  public:
    // Throws FontError when the file is missing or is not a TrueType font.
    static TrueTypeFont load(const std::filesystem::path& file);
    static TrueTypeFont parse(std::string bytes, std::string name);

    const std::string& name() const { return name_; }  // PostScript-style base font name
    const std::string& bytes() const { return bytes_; }

    // Glyph of a Unicode character; 0 (the missing-glyph box) when the font has none.
    std::uint16_t glyph(char32_t c) const;
    // Advance width in thousandths of the type size.
    int advance(std::uint16_t glyph) const;

    // The font file with the outlines of only `glyphs` (and what they are built from); glyph
    // numbers stay as they are, so the subset is drawn with the same codes.
    std::string subset(const std::set<std::uint16_t>& glyphs) const;

    // Font descriptor figures, in thousandths of the type size.
    int ascent() const { return ascent_; }
    int descent() const { return descent_; }
    int cap_height() const { return cap_height_; }
    int bbox(int i) const { return bbox_[i]; }
    double italic_angle() const { return italic_angle_; }
    bool fixed_pitch() const { return fixed_pitch_; }

  private:
    struct Segment {
        char32_t first, last;
        std::int64_t delta;                // glyph = c + delta, when offset is absent
        std::uint32_t glyph_array = 0;     // format 4: byte position of idRangeOffset entry, else 0
        bool sequential = false;           // format 12: glyph = delta + (c - first)
    };

    struct Table {
        std::size_t offset, length;
    };

    std::string name_;
    std::string bytes_;
    std::map<std::string, Table> tables_;
    int units_ = 1000;
    std::vector<std::uint16_t> advances_;
    std::vector<Segment> segments_;
    std::uint16_t num_glyphs_ = 0;
    int ascent_ = 0, descent_ = 0, cap_height_ = 0;
    int bbox_[4] = {0, 0, 0, 0};
    double italic_angle_ = 0;
    bool fixed_pitch_ = false;

    int scale(int units) const { return units * 1000 / units_; }
};

}  // namespace platform::printer
