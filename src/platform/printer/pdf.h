#pragma once
// A small PDF 1.4 writer: A4 or any page size, text at positions in an embedded monospaced
// TrueType font (so every Polish letter is a real letter that reads and extracts as itself),
// lines, rectangles and RGB pictures. Coordinates are points from the bottom left corner.

#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/printer/truetype.h"

namespace platform::printer {

class PdfError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class PdfFont { Regular, Bold, Oblique, BoldOblique };

struct FontFiles {
    std::filesystem::path regular, bold, oblique, bold_oblique;
    // DejaVu Sans Mono as the Debian package fonts-dejavu-core installs it.
    static FontFiles standard();
};

struct PdfInfo {
    std::string title, author, creator, producer;  // UTF-8
    std::string creation_date;                     // "D:YYYYMMDDHHmmSS+01'00'"; empty: none
};

inline constexpr double kA4Width = 595;
inline constexpr double kA4Height = 842;

class PdfDocument {
  public:
    explicit PdfDocument(FontFiles fonts = FontFiles::standard());
    ~PdfDocument();
    PdfDocument(PdfDocument&&) noexcept;
    PdfDocument& operator=(PdfDocument&&) noexcept;

    void set_info(PdfInfo info) { info_ = std::move(info); }

    // Starts a new page; everything drawn afterwards goes on it.
    void add_page(double width = kA4Width, double height = kA4Height);
    std::size_t page_count() const { return pages_.size(); }

    // Text with its baseline starting at (x, y). `stretch` is the horizontal scale in per
    // cent, for type narrower or wider than the font's own shape. Throws FontError when the
    // font file cannot be loaded.
    void text(double x, double y, PdfFont font, double size, std::u32string_view text, double stretch = 100);
    // The same for code page 852 text, the program's own form.
    void text_852(double x, double y, PdfFont font, double size, std::string_view cp852, double stretch = 100);
    // Advance of one character of the monospaced font at `size`, unstretched.
    double char_width(PdfFont font, double size);

    void line(double x1, double y1, double x2, double y2, double width = 0.5);
    void rectangle(double x, double y, double w, double h, double line_width = 0.5, bool fill = false);
    // An 8-bit RGB picture of px by py pixels (3 bytes a pixel, rows from the top) drawn
    // into the rectangle. Throws PdfError when the data does not match the size.
    void picture_rgb(double x, double y, double w, double h, int px, int py, std::string_view rgb);

    std::string bytes() const;
    // Throws PdfError when the file cannot be written.
    void save(const std::filesystem::path& file) const;

  private:
    struct Font;
    struct Picture {
        int px, py;
        std::string rgb;
    };
    struct Page {
        double width, height;
        std::string content;
    };

    FontFiles files_;
    PdfInfo info_;
    std::vector<Page> pages_;
    std::map<PdfFont, std::unique_ptr<Font>> fonts_;
    std::vector<Picture> pictures_;

    Font& font(PdfFont f);
    Page& page();
};

// Deflate for PDF streams (zlib format); shared by the writer's streams.
std::string deflate(std::string_view data);

}  // namespace platform::printer
