#include "platform/console/keys.h"

#include <array>
#include <cctype>
#include <charconv>
#include <utility>

namespace platform::console {

namespace {

// Scan codes of the letter keys, 'A'..'Z' (the Alt code is 256 plus this).
constexpr std::array<int, 26> kLetterScan = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                             49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};

constexpr std::pair<std::string_view, int> kNamed[] = {
    {"enter", K_ENTER},         {"esc", K_ESC},
    {"tab", K_TAB},             {"shift-tab", K_SH_TAB},
    {"backspace", K_BS},        {"space", K_SPACE},
    {"ins", K_INS},             {"del", K_DEL},
    {"up", K_UP},               {"down", K_DOWN},
    {"left", K_LEFT},           {"right", K_RIGHT},
    {"home", K_HOME},           {"end", K_END},
    {"pgup", K_PGUP},           {"pgdn", K_PGDN},
    {"ctrl-left", K_CTRL_LEFT}, {"ctrl-right", K_CTRL_RIGHT},
    {"ctrl-up", K_CTRL_UP},     {"ctrl-down", K_CTRL_DOWN},
    {"ctrl-home", K_CTRL_HOME}, {"ctrl-end", K_CTRL_END},
    {"ctrl-pgup", K_CTRL_PGUP}, {"ctrl-pgdn", K_CTRL_PGDN},
    {"alt-up", K_ALT_UP},       {"alt-down", K_ALT_DOWN},
    {"alt-left", K_ALT_LEFT},   {"alt-right", K_ALT_RIGHT},
    {"alt-home", K_ALT_HOME},   {"alt-end", K_ALT_END},
    {"alt-pgup", K_ALT_PGUP},   {"alt-pgdn", K_ALT_PGDN},
    {"ctrl-enter", K_CTRL_ENTER}, {"alt-enter", K_ALT_ENTER},
    {"alt-esc", K_ALT_ESC},     {"alt-backspace", K_ALT_BS},
    {"alt-tab", K_ALT_TAB},     {"ctrl-ins", K_CTRL_INS},
    {"ctrl-del", K_CTRL_DEL},   {"alt-ins", K_ALT_INS},
    {"alt-del", K_ALT_DEL},
};

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

constexpr std::string_view kModifierPrefix[] = {"", "shift-", "ctrl-", "alt-"};

}  // namespace

int function_key(int index, int modifier) {
    if (index == 0) return modifier == 0 ? K_F1 : -10 * modifier;
    if (index <= 9) return -(index + 10 * modifier);
    // F11, F12: -40, -41 plain, then pairs for Shift, Ctrl, Alt.
    return -(40 + 2 * modifier + (index - 10));
}

std::optional<int> alt_key(char c) {
    auto u = static_cast<unsigned char>(c);
    if (std::isalpha(u)) return 256 + kLetterScan[std::toupper(u) - 'A'];
    if (c >= '1' && c <= '9') return K_ALT_1 + (c - '1');
    if (c == '0') return K_ALT_0;
    return std::nullopt;
}

std::optional<int> key_from_name(std::string_view name) {
    if (name.size() == 1) return static_cast<unsigned char>(name[0]);
    std::string n = lower(name);
    for (auto& [text, code] : kNamed)
        if (n == text) return code;
    for (int mod = 0; mod < 4; ++mod) {
        std::string_view prefix = kModifierPrefix[mod];
        if (n.size() > prefix.size() + 1 && n.compare(0, prefix.size(), prefix) == 0 && n[prefix.size()] == 'f') {
            int f = 0;
            auto digits = std::string_view(n).substr(prefix.size() + 1);
            auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), f);
            if (ec == std::errc() && p == digits.data() + digits.size() && f >= 1 && f <= 12)
                return function_key(f - 1, mod);
        }
    }
    if (n.size() == 5 && n.compare(0, 4, "alt-") == 0) return alt_key(n[4]);
    if (n.size() == 6 && n.compare(0, 5, "ctrl-") == 0 && n[5] >= 'a' && n[5] <= 'z') return n[5] - 'a' + 1;
    return std::nullopt;
}

std::string key_name(int key) {
    for (auto& [text, code] : kNamed) {
        if (code != key) continue;
        std::string out(text);
        // "ctrl-pgdn" -> "Ctrl-PgDn": capitals after blanks and dashes, plus the two-word names.
        bool up = true;
        for (char& c : out) {
            if (up) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            up = c == '-';
        }
        if (auto p = out.find("Pgup"); p != std::string::npos) out.replace(p, 4, "PgUp");
        if (auto p = out.find("Pgdn"); p != std::string::npos) out.replace(p, 4, "PgDn");
        return out;
    }
    static constexpr std::string_view kModName[] = {"", "Shift-", "Ctrl-", "Alt-"};
    for (int mod = 0; mod < 4; ++mod)
        for (int f = 0; f < 12; ++f)
            if (function_key(f, mod) == key) return std::string(kModName[mod]) + "F" + std::to_string(f + 1);
    for (char c = 'A'; c <= 'Z'; ++c)
        if (alt_key(c) == key) return std::string("Alt-") + c;
    for (char c = '0'; c <= '9'; ++c)
        if (alt_key(c) == key) return std::string("Alt-") + c;
    if (key >= 1 && key <= 26) return std::string("Ctrl-") + static_cast<char>('A' + key - 1);
    if (key > 32 && key < 256 && key != 127) return std::string(1, static_cast<char>(key));
    return "#" + std::to_string(key);
}

}  // namespace platform::console
