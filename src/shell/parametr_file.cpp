#include "shell/parametr_file.h"

#include <charconv>
#include <optional>

#include "platform/value/decimal.h"
#include "platform/value/value.h"

namespace sklad {

namespace {

// Bounds that keep a hostile file from asking for absurd sizes.
constexpr int kMaxWidth = 4096;

bool name_char(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// Splits off the next blank-separated word.
std::string_view word(std::string_view& rest) {
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    std::size_t n = rest.find(' ');
    std::string_view w = rest.substr(0, n);
    rest.remove_prefix(n == std::string_view::npos ? rest.size() : n);
    return w;
}

std::optional<int> small_number(std::string_view s) {
    int v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || v < 0 || v > kMaxWidth) return std::nullopt;
    return v;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The bytes of a quoted value; nullopt when the quotes or an escape are broken (a cut line).
std::optional<std::string> unquote(std::string_view s) {
    if (s.size() < 2 || s.front() != '"' || s.back() != '"') return std::nullopt;
    s = s.substr(1, s.size() - 2);
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') return std::nullopt;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i + 3 >= s.size() || s[i + 1] != 'x') return std::nullopt;
        int hi = hex_digit(s[i + 2]), lo = hex_digit(s[i + 3]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 3;
    }
    return out;
}

std::string quote(std::string_view s) {
    static const char* digits = "0123456789ABCDEF";
    std::string out = "\"";
    for (char ch : s) {
        auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || b > 0x7E || ch == '"' || ch == '\\') {
            out += "\\x";
            out += digits[b >> 4];
            out += digits[b & 15];
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

bool value_fits(char type, std::string_view v) {
    switch (type) {
        case 'N': return platform::Decimal::parse(v).has_value() && !v.empty();
        case 'D': return v.empty() || platform::Date::from_dtos(v).has_value();
        case 'L': return v == "T" || v == "F";
        default: return false;
    }
}

// One variable line; nullopt with `why` set when the line is damaged.
std::optional<WpisParametru> parse_line(std::string_view line, std::string& why) {
    std::string_view rest = line;
    std::string_view name = word(rest), type = word(rest), width = word(rest), decimals = word(rest);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    WpisParametru e;
    if (name.empty() || name.size() > 32) return why = "zla nazwa", std::nullopt;
    for (char c : name)
        if (!name_char(c)) return why = "zla nazwa", std::nullopt;
    e.name = upper(name);
    if (type.size() != 1 || std::string_view("CNDL").find(type[0]) == std::string_view::npos)
        return why = "zly typ", std::nullopt;
    e.type = type[0];
    auto w = small_number(width), d = small_number(decimals);
    if (!w || !d) return why = "zla dlugosc", std::nullopt;
    e.width = *w;
    e.decimals = *d;
    if (e.type == 'C') {
        auto v = unquote(rest);
        if (!v || v->size() > static_cast<std::size_t>(kMaxWidth)) return why = "zla wartosc", std::nullopt;
        e.value = std::move(*v);
    } else {
        if (!value_fits(e.type, rest)) return why = "zla wartosc", std::nullopt;
        e.value = std::string(rest);
    }
    return e;
}

}  // namespace

TekstParametrow PARAMETR_Z_TEKSTU(std::string_view text) {
    TekstParametrow out;
    bool ended = false;
    std::size_t lines = 0, variables = 0;
    std::optional<long> declared;
    while (!text.empty()) {
        std::size_t nl = text.find('\n');
        const bool whole_line = nl != std::string_view::npos;
        std::string_view line = text.substr(0, nl);
        text.remove_prefix(whole_line ? nl + 1 : text.size());
        ++lines;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(' ') == std::string_view::npos) continue;
        const std::string where = "wiersz " + std::to_string(lines) + ": ";
        if (ended) {
            out.problems.push_back(where + "tekst po koncu pliku");
            break;
        }
        if (line.front() == '#') {
            if (line.substr(0, 5) == "#END ") {
                ended = true;
                long n = 0;
                std::string_view count = line.substr(5);
                auto [p, ec] = std::from_chars(count.data(), count.data() + count.size(), n);
                if (ec == std::errc() && p == count.data() + count.size()) declared = n;
            }
            continue;
        }
        ++variables;
        std::string why;
        auto e = parse_line(line, why);
        if (!e || !whole_line) {
            out.problems.push_back(where + (e ? std::string("wiersz urwany") : why));
            continue;
        }
        out.entries.push_back(std::move(*e));
    }
    if (!ended)
        out.problems.push_back("brak konca pliku (plik urwany)");
    else if (!declared || *declared < 0 || static_cast<std::size_t>(*declared) != variables)
        out.problems.push_back("liczba wierszy nie zgadza sie z koncem pliku");
    return out;
}

std::string PARAMETR_DO_TEKSTU(const std::vector<WpisParametru>& entries) {
    std::string out = "# parametr.mem: nazwa typ dlugosc miejsca_dziesietne wartosc\n";
    for (const auto& e : entries) {
        out += e.name;
        out += ' ';
        out += e.type;
        out += ' ' + std::to_string(e.width) + ' ' + std::to_string(e.decimals) + ' ';
        out += e.type == 'C' ? quote(e.value) : e.value;
        out += '\n';
    }
    out += "#END " + std::to_string(entries.size()) + "\n";
    return out;
}

}  // namespace sklad
