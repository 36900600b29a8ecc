#include "platform/printer/truetype.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

namespace platform::printer {

namespace {

// Big-endian reads that refuse to leave the file.
class Reader {
  public:
    explicit Reader(const std::string& b) : b_(b) {}
    std::uint32_t u8(std::size_t at) const {
        check(at, 1);
        return static_cast<unsigned char>(b_[at]);
    }
    std::uint32_t u16(std::size_t at) const { return (u8(at) << 8) | u8(at + 1); }
    std::int32_t s16(std::size_t at) const { return static_cast<std::int16_t>(u16(at)); }
    std::uint32_t u32(std::size_t at) const { return (u16(at) << 16) | u16(at + 2); }
    void check(std::size_t at, std::size_t n) const {
        if (at > b_.size() || n > b_.size() - at) throw FontError("font file is truncated or damaged");
    }

  private:
    const std::string& b_;
};

}  // namespace

TrueTypeFont TrueTypeFont::load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw FontError("cannot open font " + file.string());
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        return parse(std::move(bytes), file.stem().string());
    } catch (const FontError& e) {
        throw FontError(file.string() + ": " + e.what());
    }
}

TrueTypeFont TrueTypeFont::parse(std::string bytes, std::string name) {
    TrueTypeFont f;
    f.name_ = std::move(name);
    f.bytes_ = std::move(bytes);
    Reader r(f.bytes_);

    std::uint32_t version = r.u32(0);
    if (version != 0x00010000 && version != 0x74727565) throw FontError("not a TrueType font");
    std::uint32_t count = r.u16(4);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::size_t rec = 12 + 16 * i;
        r.check(rec, 16);
        std::size_t offset = r.u32(rec + 8), length = r.u32(rec + 12);
        r.check(offset, length);
        f.tables_[f.bytes_.substr(rec, 4)] = Table{offset, length};
    }
    auto table = [&](const char* tag) {
        auto it = f.tables_.find(tag);
        if (it == f.tables_.end()) throw FontError(std::string("font has no ") + tag + " table");
        return it->second.offset;
    };

    std::size_t head = table("head");
    f.units_ = static_cast<int>(r.u16(head + 18));
    if (f.units_ < 16) throw FontError("font has a bad unitsPerEm");
    for (int i = 0; i < 4; ++i) f.bbox_[i] = f.scale(r.s16(head + 36 + 2 * i));

    std::size_t hhea = table("hhea");
    f.ascent_ = f.scale(r.s16(hhea + 4));
    f.descent_ = f.scale(r.s16(hhea + 6));
    std::uint32_t metrics = r.u16(hhea + 34);
    f.num_glyphs_ = static_cast<std::uint16_t>(r.u16(table("maxp") + 4));
    if (metrics == 0 || metrics > f.num_glyphs_) throw FontError("font has bad horizontal metrics");
    std::size_t hmtx = table("hmtx");
    for (std::uint32_t g = 0; g < f.num_glyphs_; ++g)
        f.advances_.push_back(static_cast<std::uint16_t>(r.u16(hmtx + 4 * std::min(g, metrics - 1))));

    std::size_t post = table("post");
    f.italic_angle_ = static_cast<std::int32_t>(r.u32(post + 4)) / 65536.0;
    f.fixed_pitch_ = r.u32(post + 12) != 0;
    f.cap_height_ = f.ascent_;
    if (auto os2 = f.tables_.find("OS/2"); os2 != f.tables_.end() && r.u16(os2->second.offset) >= 2)
        f.cap_height_ = f.scale(r.s16(os2->second.offset + 88));
    table("glyf");
    table("loca");

    // Character map: the Windows Unicode subtable, full repertoire (format 12) preferred.
    std::size_t cmap = table("cmap"), best = 0;
    int best_rank = 0;
    for (std::uint32_t i = 0, n = r.u16(cmap + 2); i < n; ++i) {
        std::uint32_t platform = r.u16(cmap + 4 + 8 * i), encoding = r.u16(cmap + 6 + 8 * i);
        std::size_t at = cmap + r.u32(cmap + 8 + 8 * i);
        std::uint32_t format = r.u16(at);
        int rank = format == 12 && (platform == 3 || platform == 0) ? 3
                   : format == 4 && ((platform == 3 && encoding == 1) || platform == 0) ? 2
                                                                                        : 0;
        if (rank > best_rank) best_rank = rank, best = at;
    }
    if (best_rank == 0) throw FontError("font has no Unicode character map");
    if (r.u16(best) == 4) {
        std::uint32_t segs = r.u16(best + 6) / 2;
        std::size_t ends = best + 14, starts = ends + 2 * segs + 2, deltas = starts + 2 * segs,
                    ranges = deltas + 2 * segs;
        for (std::uint32_t i = 0; i < segs; ++i) {
            Segment s{r.u16(starts + 2 * i), r.u16(ends + 2 * i), r.s16(deltas + 2 * i)};
            if (std::uint32_t off = r.u16(ranges + 2 * i); off != 0)
                s.glyph_array = static_cast<std::uint32_t>(ranges + 2 * i + off);
            if (s.first <= s.last) f.segments_.push_back(s);
        }
    } else {
        for (std::uint32_t i = 0, n = r.u32(best + 12); i < n; ++i) {
            std::size_t g = best + 16 + 12 * i;
            Segment s{r.u32(g), r.u32(g + 4), r.u32(g + 8)};
            s.sequential = true;
            if (s.first <= s.last) f.segments_.push_back(s);
        }
    }
    return f;
}

std::uint16_t TrueTypeFont::glyph(char32_t c) const {
    Reader r(bytes_);
    for (const Segment& s : segments_) {
        if (c < s.first || c > s.last) continue;
        std::int64_t g;
        if (s.sequential) {
            g = s.delta + (c - s.first);
        } else if (s.glyph_array != 0) {
            std::size_t at = s.glyph_array + 2 * static_cast<std::size_t>(c - s.first);
            if (at + 2 > bytes_.size()) return 0;
            g = r.u16(at);
            if (g != 0) g = (g + s.delta) & 0xFFFF;
        } else {
            g = (c + s.delta) & 0xFFFF;
        }
        return g > 0 && g < num_glyphs_ ? static_cast<std::uint16_t>(g) : 0;
    }
    return 0;
}

int TrueTypeFont::advance(std::uint16_t glyph) const {
    return glyph < advances_.size() ? scale(advances_[glyph]) : 0;
}

std::string TrueTypeFont::subset(const std::set<std::uint16_t>& wanted) const {
    Reader r(bytes_);
    const Table glyf = tables_.at("glyf"), loca = tables_.at("loca"), head = tables_.at("head");
    bool long_loca = r.s16(head.offset + 50) == 1;
    auto outline = [&](std::uint32_t g) -> std::pair<std::size_t, std::size_t> {
        std::size_t from = long_loca ? r.u32(loca.offset + 4 * g) : 2 * r.u16(loca.offset + 2 * g);
        std::size_t to = long_loca ? r.u32(loca.offset + 4 * g + 4) : 2 * r.u16(loca.offset + 2 * g + 2);
        if (to < from || to > glyf.length) throw FontError("font has a damaged glyph index");
        return {glyf.offset + from, to - from};
    };

    // Composite glyphs (accented letters) are drawn from other glyphs: keep those too.
    std::set<std::uint16_t> keep{0};
    std::vector<std::uint16_t> todo(wanted.begin(), wanted.end());
    while (!todo.empty()) {
        std::uint16_t g = todo.back();
        todo.pop_back();
        if (g >= num_glyphs_ || !keep.insert(g).second) continue;
        auto [at, length] = outline(g);
        if (length < 10 || r.s16(at) >= 0) continue;
        for (std::size_t p = at + 10;;) {
            std::uint32_t flags = r.u16(p);
            todo.push_back(static_cast<std::uint16_t>(r.u16(p + 2)));
            p += 4 + ((flags & 0x0001) ? 4 : 2) + ((flags & 0x0008) ? 2 : (flags & 0x0040) ? 4 : (flags & 0x0080) ? 8 : 0);
            if (!(flags & 0x0020)) break;
        }
    }

    std::string new_glyf, new_loca;
    auto put32 = [](std::string& s, std::uint32_t v) {
        for (int i = 3; i >= 0; --i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    for (std::uint32_t g = 0; g < num_glyphs_; ++g) {
        put32(new_loca, static_cast<std::uint32_t>(new_glyf.size()));
        if (!keep.count(static_cast<std::uint16_t>(g))) continue;
        auto [at, length] = outline(g);
        new_glyf.append(bytes_, at, length);
        new_glyf.resize((new_glyf.size() + 3) / 4 * 4, '\0');
    }
    put32(new_loca, static_cast<std::uint32_t>(new_glyf.size()));
    std::string new_head = bytes_.substr(head.offset, head.length);
    new_head[8] = new_head[9] = new_head[10] = new_head[11] = 0;  // checksum adjustment: not kept
    new_head[50] = 0, new_head[51] = 1;                             // long glyph index

    // What a PDF reader needs to draw the outlines; layout and naming tables stay behind.
    std::map<std::string, std::string> out;
    for (const char* tag : {"cvt ", "fpgm", "hhea", "hmtx", "maxp", "OS/2", "post", "prep"})
        if (auto it = tables_.find(tag); it != tables_.end())
            out[tag] = bytes_.substr(it->second.offset, it->second.length);
    if (out["post"].size() >= 32) {
        out["post"].resize(32);  // version 3: the figures without the glyph names
        out["post"][0] = 0, out["post"][1] = 3, out["post"][2] = 0, out["post"][3] = 0;
    }
    out["glyf"] = std::move(new_glyf);
    out["loca"] = std::move(new_loca);
    out["head"] = std::move(new_head);

    std::string file;
    put32(file, 0x00010000);
    std::uint32_t n = static_cast<std::uint32_t>(out.size()), power = 1, log2 = 0;
    while (power * 2 <= n) power *= 2, ++log2;
    for (std::uint32_t v : {n, power * 16, log2, n * 16 - power * 16}) file += static_cast<char>(v >> 8), file += static_cast<char>(v & 0xFF);
    std::size_t offset = 12 + 16 * out.size();
    std::string body;
    for (auto& [tag, data] : out) {
        std::string padded = data;
        padded.resize((padded.size() + 3) / 4 * 4, '\0');
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i < padded.size(); i += 4)
            sum += (static_cast<std::uint32_t>(static_cast<unsigned char>(padded[i])) << 24) |
                   (static_cast<std::uint32_t>(static_cast<unsigned char>(padded[i + 1])) << 16) |
                   (static_cast<std::uint32_t>(static_cast<unsigned char>(padded[i + 2])) << 8) |
                   static_cast<unsigned char>(padded[i + 3]);
        file += tag;
        put32(file, sum);
        put32(file, static_cast<std::uint32_t>(offset + body.size()));
        put32(file, static_cast<std::uint32_t>(data.size()));
        body += padded;
    }
    return file + body;
}

}  // namespace platform::printer
