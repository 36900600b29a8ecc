#include "platform/printer/pdf.h"

#include <zlib.h>

#include <charconv>
#include <cmath>
#include <fstream>
#include <set>

#include "platform/text/cp852.h"

namespace platform::printer {

namespace {

// Numbers as PDF wants them: no exponent, no locale, at most three decimals.
std::string num(double v) {
    if (!std::isfinite(v)) v = 0;
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, std::round(v * 1000) / 1000, std::chars_format::fixed);
    std::string s(buf, r.ptr);
    if (s == "-0") s = "0";
    return s;
}

std::string hex4(unsigned v) {
    static const char* digits = "0123456789ABCDEF";
    std::string s(4, '0');
    for (int i = 3; i >= 0; --i, v >>= 4) s[i] = digits[v & 15];
    return s;
}

// An information-dictionary string: plain when it is printable ASCII, else UTF-16 with a mark.
std::string info_string(std::string_view utf8) {
    bool ascii = true;
    for (char c : utf8) ascii = ascii && c >= 0x20 && c < 0x7F;
    if (ascii) {
        std::string out = "(";
        for (char c : utf8) {
            if (c == '(' || c == ')' || c == '\\') out += '\\';
            out += c;
        }
        return out + ")";
    }
    std::string out = "<FEFF";
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = text::detail::decode_utf8(utf8, i);
        if (cp > 0xFFFF) {
            cp -= 0x10000;
            out += hex4(0xD800 + (cp >> 10)) + hex4(0xDC00 + (cp & 0x3FF));
        } else {
            out += hex4(cp);
        }
    }
    return out + ">";
}

std::string stream(std::string_view dict_extra, std::string_view data, bool compress = true) {
    std::string body = compress ? deflate(data) : std::string(data);
    std::string out = "<< /Length " + std::to_string(body.size());
    if (compress) out += " /Filter /FlateDecode";
    out += dict_extra;
    out += " >>\nstream\n";
    out += body;
    out += "\nendstream";
    return out;
}

const char* font_resource(PdfFont f) {
    switch (f) {
        case PdfFont::Regular: return "FR";
        case PdfFont::Bold: return "FB";
        case PdfFont::Oblique: return "FI";
        case PdfFont::BoldOblique: return "FZ";
    }
    return "FR";
}

}  // namespace

std::string deflate(std::string_view data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
                  static_cast<uLong>(data.size()), 6) != Z_OK)
        throw PdfError("compression failed");
    out.resize(size);
    return out;
}

FontFiles FontFiles::standard() {
    const std::filesystem::path dir = "/usr/share/fonts/truetype/dejavu";
    return {dir / "DejaVuSansMono.ttf", dir / "DejaVuSansMono-Bold.ttf", dir / "DejaVuSansMono-Oblique.ttf",
            dir / "DejaVuSansMono-BoldOblique.ttf"};
}

struct PdfDocument::Font {
    TrueTypeFont ttf;
    std::map<char32_t, std::uint16_t> glyphs;  // characters drawn so far
    std::map<std::uint16_t, char32_t> chars;   // and back, for text extraction

    std::uint16_t glyph(char32_t c) {
        auto it = glyphs.find(c);
        if (it != glyphs.end()) return it->second;
        std::uint16_t g = ttf.glyph(c);
        glyphs[c] = g;
        if (g != 0) chars.emplace(g, c);
        return g;
    }
};

PdfDocument::PdfDocument(FontFiles fonts) : files_(std::move(fonts)) {}
PdfDocument::~PdfDocument() = default;
PdfDocument::PdfDocument(PdfDocument&&) noexcept = default;
PdfDocument& PdfDocument::operator=(PdfDocument&&) noexcept = default;

PdfDocument::Font& PdfDocument::font(PdfFont f) {
    auto& slot = fonts_[f];
    if (!slot) {
        const std::filesystem::path& file = f == PdfFont::Regular ? files_.regular
                                            : f == PdfFont::Bold  ? files_.bold
                                            : f == PdfFont::Oblique ? files_.oblique
                                                                    : files_.bold_oblique;
        try {
            slot = std::make_unique<Font>(Font{TrueTypeFont::load(file), {}, {}});
        } catch (...) {
            fonts_.erase(f);
            throw;
        }
    }
    return *slot;
}

PdfDocument::Page& PdfDocument::page() {
    if (pages_.empty()) add_page();
    return pages_.back();
}

void PdfDocument::add_page(double width, double height) { pages_.push_back(Page{width, height, {}}); }

void PdfDocument::text(double x, double y, PdfFont f, double size, std::u32string_view text, double stretch) {
    Font& fo = font(f);
    Page& p = page();
    std::string hex;
    for (char32_t c : text) hex += hex4(fo.glyph(c));
    p.content += "BT /" + std::string(font_resource(f)) + " " + num(size) + " Tf " + num(stretch) + " Tz " + num(x) +
                 " " + num(y) + " Td <" + hex + "> Tj ET\n";
}

void PdfDocument::text_852(double x, double y, PdfFont f, double size, std::string_view cp852, double stretch) {
    std::u32string u;
    for (char c : cp852) u += text::to_unicode(static_cast<unsigned char>(c));
    text(x, y, f, size, u, stretch);
}

double PdfDocument::char_width(PdfFont f, double size) {
    TrueTypeFont& t = font(f).ttf;
    return t.advance(t.glyph(U'M')) * size / 1000.0;
}

void PdfDocument::line(double x1, double y1, double x2, double y2, double width) {
    page().content += "q " + num(width) + " w " + num(x1) + " " + num(y1) + " m " + num(x2) + " " + num(y2) + " l S Q\n";
}

void PdfDocument::rectangle(double x, double y, double w, double h, double line_width, bool fill) {
    page().content += "q " + num(line_width) + " w " + num(x) + " " + num(y) + " " + num(w) + " " + num(h) +
                      (fill ? " re f Q\n" : " re S Q\n");
}

void PdfDocument::picture_rgb(double x, double y, double w, double h, int px, int py, std::string_view rgb) {
    if (px <= 0 || py <= 0 || rgb.size() != static_cast<std::size_t>(px) * static_cast<std::size_t>(py) * 3)
        throw PdfError("picture data does not match its size");
    pictures_.push_back(Picture{px, py, std::string(rgb)});
    page().content += "q " + num(w) + " 0 0 " + num(h) + " " + num(x) + " " + num(y) + " cm /Im" +
                      std::to_string(pictures_.size()) + " Do Q\n";
}

std::string PdfDocument::bytes() const {
    std::vector<std::string> objects;  // object n is objects[n - 1]
    auto reserve = [&] {
        objects.emplace_back();
        return objects.size();
    };
    auto ref = [](std::size_t n) { return std::to_string(n) + " 0 R"; };

    std::size_t catalog = reserve(), tree = reserve(), info = reserve(), resources = reserve();

    std::string font_dict;
    for (const auto& [which, f] : fonts_) {
        const TrueTypeFont& t = f->ttf;
        std::size_t file = reserve(), descriptor = reserve(), cid = reserve(), to_unicode = reserve(), type0 = reserve();
        std::set<std::uint16_t> used;
        for (const auto& [g, c] : f->chars) used.insert(g);
        std::string program = t.subset(used);
        objects[file - 1] = stream(" /Length1 " + std::to_string(program.size()), program);
        // A subset is named with a tag of six capitals derived from what it holds.
        std::uint32_t h = 2166136261u;
        for (std::uint16_t g : used) h = (h ^ g) * 16777619u;
        std::string base = "AAAAAA+" + t.name();
        for (int i = 0; i < 6; ++i, h /= 26) base[static_cast<std::size_t>(i)] = static_cast<char>('A' + h % 26);
        int flags = 32 | (t.fixed_pitch() ? 1 : 0) | (t.italic_angle() != 0 ? 64 : 0);
        objects[descriptor - 1] = "<< /Type /FontDescriptor /FontName /" + base + " /Flags " + std::to_string(flags) +
                                  " /FontBBox [" + std::to_string(t.bbox(0)) + " " + std::to_string(t.bbox(1)) + " " +
                                  std::to_string(t.bbox(2)) + " " + std::to_string(t.bbox(3)) + "] /ItalicAngle " +
                                  num(t.italic_angle()) + " /Ascent " + std::to_string(t.ascent()) + " /Descent " +
                                  std::to_string(t.descent()) + " /CapHeight " + std::to_string(t.cap_height()) +
                                  " /StemV 80 /FontFile2 " + ref(file) + " >>";
        std::string widths;
        for (const auto& [g, c] : f->chars) widths += std::to_string(g) + " [" + std::to_string(t.advance(g)) + "] ";
        objects[cid - 1] = "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + base +
                           " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> /FontDescriptor " +
                           ref(descriptor) + " /DW " + std::to_string(t.advance(0)) + " /W [" + widths +
                           "] /CIDToGIDMap /Identity >>";
        std::string cmap =
            "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
            "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
            "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
            "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
        std::vector<std::pair<std::uint16_t, char32_t>> pairs(f->chars.begin(), f->chars.end());
        for (std::size_t i = 0; i < pairs.size(); i += 100) {
            std::size_t n = std::min<std::size_t>(100, pairs.size() - i);
            cmap += std::to_string(n) + " beginbfchar\n";
            for (std::size_t k = i; k < i + n; ++k) {
                char32_t c = pairs[k].second;
                std::string u = c > 0xFFFF ? hex4(0xD800 + ((c - 0x10000) >> 10)) + hex4(0xDC00 + ((c - 0x10000) & 0x3FF))
                                           : hex4(c);
                cmap += "<" + hex4(pairs[k].first) + "> <" + u + ">\n";
            }
            cmap += "endbfchar\n";
        }
        cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
        objects[to_unicode - 1] = stream("", cmap);
        objects[type0 - 1] = "<< /Type /Font /Subtype /Type0 /BaseFont /" + base +
                             " /Encoding /Identity-H /DescendantFonts [" + ref(cid) + "] /ToUnicode " + ref(to_unicode) +
                             " >>";
        font_dict += "/" + std::string(font_resource(which)) + " " + ref(type0) + " ";
    }

    std::string picture_dict;
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        const Picture& p = pictures_[i];
        std::size_t n = reserve();
        objects[n - 1] = stream(" /Type /XObject /Subtype /Image /Width " + std::to_string(p.px) + " /Height " +
                                    std::to_string(p.py) + " /ColorSpace /DeviceRGB /BitsPerComponent 8",
                                p.rgb);
        picture_dict += "/Im" + std::to_string(i + 1) + " " + ref(n) + " ";
    }
    objects[resources - 1] = "<< /ProcSet [/PDF /Text /ImageC] /Font << " + font_dict + ">> /XObject << " +
                             picture_dict + ">> >>";

    std::vector<Page> pages = pages_;
    if (pages.empty()) pages.push_back(Page{kA4Width, kA4Height, {}});
    std::string kids;
    for (const Page& p : pages) {
        std::size_t content = reserve(), page = reserve();
        objects[content - 1] = stream("", p.content);
        objects[page - 1] = "<< /Type /Page /Parent " + ref(tree) + " /MediaBox [0 0 " + num(p.width) + " " +
                            num(p.height) + "] /Resources " + ref(resources) + " /Contents " + ref(content) + " >>";
        kids += ref(page) + " ";
    }
    objects[catalog - 1] = "<< /Type /Catalog /Pages " + ref(tree) + " >>";
    objects[tree - 1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>";
    std::string inf = "<<";
    auto entry = [&](const char* key, const std::string& v) {
        if (!v.empty()) inf += std::string(" /") + key + " " + info_string(v);
    };
    entry("Title", info_.title);
    entry("Author", info_.author);
    entry("Creator", info_.creator);
    entry("Producer", info_.producer);
    entry("CreationDate", info_.creation_date);
    objects[info - 1] = inf + " >>";

    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(out.size());
        out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    std::size_t xref = out.size();
    out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t o : offsets) {
        std::string n = std::to_string(o);
        out += std::string(10 - n.size(), '0') + n + " 00000 n \n";
    }
    out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root " + ref(catalog) + " /Info " + ref(info) +
           " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
}

void PdfDocument::save(const std::filesystem::path& file) const {
    std::string data = bytes();
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw PdfError("cannot create " + file.string());
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.close();
    if (!out) throw PdfError("cannot write " + file.string());
}

}  // namespace platform::printer
