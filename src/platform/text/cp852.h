#pragma once
// Code page 852 is the program's only inner text form: one byte a character, as the tables store it.
// These conversions are used only at the edges (terminal, PDF, UTF-8 tools and source literals).

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace platform::text {

namespace detail {
inline constexpr char16_t kHigh[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x016F, 0x0107, 0x00E7, 0x0142, 0x00EB, 0x0150, 0x0151, 0x00EE,
    0x0179, 0x00C4, 0x0106, 0x00C9, 0x0139, 0x013A, 0x00F4, 0x00F6, 0x013D, 0x013E, 0x015A, 0x015B, 0x00D6,
    0x00DC, 0x0164, 0x0165, 0x0141, 0x00D7, 0x010D, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x0104, 0x0105, 0x017D,
    0x017E, 0x0118, 0x0119, 0x00AC, 0x017A, 0x010C, 0x015F, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x00C1, 0x00C2, 0x011A, 0x015E, 0x2563, 0x2551, 0x2557, 0x255D, 0x017B, 0x017C, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x0102, 0x0103, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x00A4, 0x0111, 0x0110, 0x010E, 0x00CB, 0x010F, 0x0147, 0x00CD, 0x00CE, 0x011B, 0x2518, 0x250C,
    0x2588, 0x2584, 0x0162, 0x016E, 0x2580, 0x00D3, 0x00DF, 0x00D4, 0x0143, 0x0144, 0x0148, 0x0160, 0x0161,
    0x0154, 0x00DA, 0x0155, 0x0170, 0x00FD, 0x00DD, 0x0163, 0x00B4, 0x00AD, 0x02DD, 0x02DB, 0x02C7, 0x02D8,
    0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x02D9, 0x0171, 0x0158, 0x0159, 0x25A0, 0x00A0,
};

// Glyphs that a text screen shows for the control bytes (arrows, triangles, faces...).
inline constexpr char16_t kLowGlyph[32] = {
    0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9,
    0x2642, 0x2640, 0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7,
    0x25AC, 0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,
};

constexpr int from_unicode(char32_t cp) {
    if (cp < 0x80) return static_cast<int>(cp);
    for (int i = 0; i < 128; ++i)
        if (kHigh[i] == cp) return 0x80 + i;
    return -1;
}

// Decodes one UTF-8 sequence at s[i]; advances i. Malformed input yields U+FFFD.
constexpr char32_t decode_utf8(std::string_view s, std::size_t& i) {
    auto b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80) return b;
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
    if (extra < 0) return 0xFFFD;
    char32_t cp = b & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

template <std::size_t N>
struct Utf8Literal {
    char data[N]{};
    constexpr Utf8Literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) data[i] = s[i];
    }
    constexpr std::string_view view() const { return {data, N - 1}; }
    constexpr std::size_t chars() const {
        std::size_t n = 0;
        for (std::size_t i = 0; i < N - 1;) {
            decode_utf8(view(), i);
            ++n;
        }
        return n;
    }
};

template <Utf8Literal L>
struct Cp852Literal {
    static constexpr std::size_t size = L.chars();
    static constexpr std::array<char, size + 1> value = [] {
        std::array<char, size + 1> out{};
        std::size_t o = 0;
        for (std::size_t i = 0; i < L.view().size();) {
            int b = from_unicode(decode_utf8(L.view(), i));
            if (b < 0) throw "character has no code page 852 form";  // stops compilation
            out[o++] = static_cast<char>(b);
        }
        return out;
    }();
};
}  // namespace detail

// Unicode code point of a code page 852 byte (control bytes stay control bytes).
constexpr char32_t to_unicode(unsigned char b) { return b < 0x80 ? b : detail::kHigh[b - 0x80]; }
// As a text screen shows the byte: control bytes 1..31 appear as their glyphs (arrows, triangles).
constexpr char32_t to_display(unsigned char b) { return b < 0x20 ? detail::kLowGlyph[b] : to_unicode(b); }
// Code page 852 byte of a code point, or -1 when the code page has none.
constexpr int from_unicode(char32_t cp) { return detail::from_unicode(cp); }

// Letter case of code page 852: ASCII and the Latin letters the code page carries (Polish included).
char upper_852(char c);
char lower_852(char c);
std::string upper_852(std::string_view s);
// A letter of the code page (ASCII or accented Latin).
bool is_letter_852(char c);

std::string to_utf8(std::string_view cp852);
// Characters the code page lacks become `replacement`.
std::string from_utf8(std::string_view utf8, char replacement = '?');
void append_utf8(std::string& out, char32_t cp);

}  // namespace platform::text

// "Zażółć"_852: a UTF-8 source literal converted to code page 852 at compile time.
template <platform::text::detail::Utf8Literal L>
constexpr std::string_view operator""_852() {
    using H = platform::text::detail::Cp852Literal<L>;
    return {H::value.data(), H::size};
}
