#include "platform/table/expr_text.h"

#include <algorithm>
#include <array>

#include "platform/text/cp852.h"

namespace platform::table::detail {
namespace {

void map_bytes(std::string& s, std::size_t from, char (*map)(char)) {
    for (std::size_t i = from; i < s.size(); ++i) s[i] = map(s[i]);
}

}  // namespace

void upper_852(std::string& s, std::size_t from) { map_bytes(s, from, text::upper_852); }
void lower_852(std::string& s, std::size_t from) { map_bytes(s, from, text::lower_852); }

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
