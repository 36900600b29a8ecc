#include "platform/text/cp852.h"

#include <array>

namespace platform::text {

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
        int mapped = from_unicode(Map(to_unicode(static_cast<unsigned char>(b))));
        t[static_cast<std::size_t>(b)] = static_cast<unsigned char>(mapped < 0 ? b : mapped);
    }
    return t;
}

constexpr auto kUpper = case_table<unicode_upper>();
constexpr auto kLower = case_table<unicode_lower>();

}  // namespace

char upper_852(char c) { return static_cast<char>(kUpper[static_cast<unsigned char>(c)]); }
char lower_852(char c) { return static_cast<char>(kLower[static_cast<unsigned char>(c)]); }

std::string upper_852(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = upper_852(c);
    return out;
}

bool is_letter_852(char c) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x80) return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
    char32_t cp = to_unicode(b);
    return cp >= 0xC0 && cp <= 0x17F && cp != 0xD7 && cp != 0xF7;
}

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string to_utf8(std::string_view cp852) {
    std::string out;
    out.reserve(cp852.size() + cp852.size() / 4);
    for (char c : cp852) append_utf8(out, to_unicode(static_cast<unsigned char>(c)));
    return out;
}

std::string from_utf8(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        int b = from_unicode(detail::decode_utf8(utf8, i));
        out += b < 0 ? replacement : static_cast<char>(b);
    }
    return out;
}

}  // namespace platform::text
