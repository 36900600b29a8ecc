#include "platform/text/cp852.h"

namespace platform::text {

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
