#include "platform/console/colour.h"

#include <cctype>

namespace platform::console {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

struct Part {
    int colour = 0;
    bool bright = false;
    bool blink = false;
};

// "W+", "gr*", "BG", "" (black). Letters in any order with the marks: "+W" is read too.
std::optional<Part> parse_part(std::string_view s) {
    Part p;
    bool blue = false, green = false, red = false, white = false, black = false;
    for (char raw : s) {
        char c = static_cast<char>(std::toupper(static_cast<unsigned char>(raw)));
        switch (c) {
            case 'N': black = true; break;
            case 'B': blue = true; break;
            case 'G': green = true; break;
            case 'R': red = true; break;
            case 'W': white = true; break;
            case '+': p.bright = true; break;
            case '*': p.blink = true; break;
            case ' ': break;
            default: return std::nullopt;
        }
    }
    if (white && (blue || green || red || black)) return std::nullopt;
    if (black && (blue || green || red)) return std::nullopt;
    p.colour = white ? 7 : (blue ? 1 : 0) | (green ? 2 : 0) | (red ? 4 : 0);
    return p;
}

constexpr std::string_view kLetters[8] = {"N", "B", "G", "BG", "R", "RB", "GR", "W"};

}  // namespace

std::optional<Attr> parse_colour_pair(std::string_view pair) {
    pair = trim(pair);
    if (pair.empty()) return std::nullopt;
    std::string up(pair);
    for (char& c : up) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (up == "I") return make_attr(0, 7);
    if (up == "X") return make_attr(0, 0);
    auto slash = pair.find('/');
    auto fg = parse_part(trim(pair.substr(0, slash)));
    auto bg = parse_part(slash == std::string_view::npos ? std::string_view{} : trim(pair.substr(slash + 1)));
    if (!fg || !bg) return std::nullopt;
    // A '+' on the background has no cell bit of its own; '*' on either side blinks.
    return make_attr(fg->colour | (fg->bright ? kAttrBright : 0), bg->colour, fg->blink || bg->blink);
}

std::vector<std::optional<Attr>> parse_colour_list(std::string_view list) {
    std::vector<std::optional<Attr>> out;
    std::size_t start = 0;
    while (true) {
        auto comma = list.find(',', start);
        out.push_back(parse_colour_pair(list.substr(start, comma == std::string_view::npos ? comma : comma - start)));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return out;
}

std::string colour_name(Attr a) {
    std::string out(kLetters[attr_fg(a) & 7]);
    if (attr_fg(a) & kAttrBright) out += '+';
    if (attr_blink(a)) out += '*';
    out += '/';
    out += kLetters[attr_bg(a)];
    return out;
}

ColourSpec ColourSpec::defaults() { return ColourSpec{}; }

void ColourSpec::apply(std::string_view text) {
    if (trim(text).empty()) {
        *this = defaults();
        return;
    }
    auto list = parse_colour_list(text);
    for (std::size_t i = 0; i < list.size() && i < kSlots; ++i)
        if (list[i]) slots_[i] = *list[i];
}

ColourSpec ColourSpec::parse(std::string_view text) {
    ColourSpec s;
    s.apply(text);
    return s;
}

std::string ColourSpec::to_string() const {
    std::string out;
    for (int i = 0; i < kSlots; ++i) {
        if (i) out += ',';
        out += colour_name(slots_[i]);
    }
    return out;
}

}  // namespace platform::console
