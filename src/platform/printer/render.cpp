#include "platform/printer/render.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

namespace platform::printer {

namespace {

constexpr double kDotsPerPoint = 600.0 / 72;

struct Bitmap {
    int width = 0, height = 0;
    std::string rgb;
};

// Uncompressed 24- and 32-bit BMP files, the pictures print procedures point at.
std::optional<Bitmap> read_bmp(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto u = [&](std::size_t at, int n) -> std::int64_t {
        std::uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
        return n == 4 ? static_cast<std::int32_t>(v) : static_cast<std::int64_t>(v);
    };
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    std::int64_t offset = u(10, 4), width = u(18, 4), height = u(22, 4), bpp = u(28, 2), compression = u(30, 4);
    bool top_down = height < 0;
    height = std::abs(height);
    if ((bpp != 24 && bpp != 32) || (compression != 0 && compression != 3) || width <= 0 || height <= 0 ||
        width > 10000 || height > 10000 || offset < 0)
        return std::nullopt;
    std::size_t stride = static_cast<std::size_t>((bpp * width + 31) / 32 * 4);
    if (static_cast<std::size_t>(offset) + stride * static_cast<std::size_t>(height) > b.size()) return std::nullopt;
    Bitmap bmp{static_cast<int>(width), static_cast<int>(height), {}};
    bmp.rgb.reserve(static_cast<std::size_t>(width * height * 3));
    for (std::int64_t row = 0; row < height; ++row) {
        std::size_t at = static_cast<std::size_t>(offset) + stride * static_cast<std::size_t>(top_down ? row : height - 1 - row);
        for (std::int64_t x = 0; x < width; ++x, at += static_cast<std::size_t>(bpp / 8)) {
            bmp.rgb += b[at + 2];
            bmp.rgb += b[at + 1];
            bmp.rgb += b[at];
        }
    }
    return bmp;
}

PdfFont font_of(const Style& s) {
    if (s.bold) return s.italic ? PdfFont::BoldOblique : PdfFont::Bold;
    return s.italic ? PdfFont::Oblique : PdfFont::Regular;
}

}  // namespace

PdfDocument render_pdf(const SpoolDocument& doc, const RenderOptions& o) {
    PdfDocument pdf(o.fonts);
    pdf.set_info(o.info);
    for (const Page& page : doc.pages) {
        double width = page.landscape ? kA4Height : kA4Width, height = page.landscape ? kA4Width : kA4Height;
        double left = o.margin + o.left_indent, top = height - o.margin;
        pdf.add_page(width, height);
        for (const Picture& p : page.pictures) {
            auto bmp = read_bmp(p.file);
            if (!bmp) continue;  // a missing or unreadable picture leaves its place empty
            double x = left + std::min(p.x1, p.x2) / kDotsPerPoint, w = std::abs(p.x2 - p.x1) / kDotsPerPoint;
            double h = std::abs(p.y2 - p.y1) / kDotsPerPoint, y = top - std::min(p.y1, p.y2) / kDotsPerPoint - h;
            if (w > 0 && h > 0) pdf.picture_rgb(x, y, w, h, bmp->width, bmp->height, bmp->rgb);
        }
        double cursor = top;
        bool sheet_used = false;
        for (const Line& line : page.lines) {
            double advance = line.spacing > 0 ? line.spacing : 1.2 * line.points;
            if (sheet_used && cursor - advance < o.margin) {
                pdf.add_page(width, height);
                cursor = top;
            }
            sheet_used = true;
            double baseline = cursor - advance * 0.8;
            cursor -= advance;
            for (const Run& run : line.runs) {
                PdfFont f = font_of(run.style);
                double size = run.style.points, cw = run.style.char_width();
                double stretch = 100 * cw / pdf.char_width(f, size);
                pdf.text_852(left + run.x, baseline, f, size, run.text, stretch);
                if (run.style.underline)
                    pdf.line(left + run.x, baseline - 0.15 * size, left + run.x + cw * static_cast<double>(run.text.size()),
                             baseline - 0.15 * size, 0.06 * size);
            }
        }
    }
    return pdf;
}

void spool_file_to_pdf(const std::filesystem::path& spool, const std::filesystem::path& pdf,
                       const RenderOptions& options, const ParseOptions& lines) {
    PdfDocument doc = render_pdf(read_spool_file(spool, lines), options);
    // Written beside the target and renamed, so a reader never sees half a file.
    std::filesystem::path part = pdf;
    part += ".part";
    try {
        doc.save(part);
        std::filesystem::rename(part, pdf);
    } catch (const std::filesystem::filesystem_error& e) {
        std::error_code ignored;
        std::filesystem::remove(part, ignored);
        throw PdfError("cannot write " + pdf.string() + ": " + e.code().message());
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(part, ignored);
        throw;
    }
}

}  // namespace platform::printer
