#include "platform/table/expr_text.h"

#include <algorithm>
#include <array>

#include "platform/text/cp852.h"

namespace platform::table::detail {
namespace {

// Case pairs of the Latin letters the code page carries (ASCII, Latin-1, Latin Extended-A).
constexpr char32_t unicode_upper(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    bool odd = (c & 1) != 0;
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return odd ? c - 1 : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return odd ? c : c - 1;
    return c;
}

constexpr char32_t unicode_lower(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c == 0x178) return 0xFF;
    bool odd = (c & 1) != 0;
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return odd ? c : c + 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return odd ? c + 1 : c;
    return c;
}

template <char32_t (*Map)(char32_t)>
constexpr std::array<unsigned char, 256> case_table() {
    std::array<unsigned char, 256> t{};
    for (int b = 0; b < 256; ++b) {
        int mapped = text::from_unicode(Map(text::to_unicode(static_cast<unsigned char>(b))));
        t[b] = static_cast<unsigned char>(mapped < 0 ? b : mapped);
    }
    return t;
}

constexpr auto kUpper = case_table<unicode_upper>();
constexpr auto kLower = case_table<unicode_lower>();

void map_bytes(std::string& s, std::size_t from, const std::array<unsigned char, 256>& table) {
    for (std::size_t i = from; i < s.size(); ++i) s[i] = static_cast<char>(table[static_cast<unsigned char>(s[i])]);
}

}  // namespace

void upper_852(std::string& s, std::size_t from) { map_bytes(s, from, kUpper); }
void lower_852(std::string& s, std::size_t from) { map_bytes(s, from, kLower); }

void descend_bytes(std::string& s, std::size_t from) {
    for (std::size_t i = from; i < s.size(); ++i)
        s[i] = static_cast<char>(256 - static_cast<unsigned char>(s[i]));
}

void append_str(std::string& out, Decimal v, int width, int decimals) {
    width = std::clamp(width, 0, 255);
    decimals = std::clamp(decimals, 0, Decimal::kScale);
    if (width == 0) return;
    out += v.str(width, decimals);
}

void append_numeric_key(std::string& out, Decimal v, int width, int decimals) {
    width = std::clamp(width, 1, 255);
    decimals = std::clamp(decimals, 0, Decimal::kScale);
    Decimal r = v.round(decimals);
    bool negative = r.negative();
    std::size_t start = out.size();
    append_str(out, r, width, decimals);
    if (out[start] == '*') {
        // Too wide for the key: the nearest value that fits keeps the order.
        out.resize(start);
        int point = decimals > 0 ? width - decimals - 1 : -1;
        for (int i = 0; i < width; ++i) out += i == point ? '.' : '9';
        if (negative) out[start] = '-';
    }
    for (std::size_t i = start; i < out.size() && out[i] == ' '; ++i) out[i] = '0';
    if (!negative) return;
    for (std::size_t i = start; i < out.size(); ++i) {
        char& ch = out[i];
        if (ch == '-') ch = '0';
        if (ch >= '0' && ch <= '9') ch = static_cast<char>(',' - (ch - '0'));
    }
}

bool blank_text(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

}  // namespace platform::table::detail
