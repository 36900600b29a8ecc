#include "platform/console/picture.h"

#include <cctype>

#include "platform/text/cp852.h"

namespace platform::console {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string spaces(std::size_t n) { return std::string(n, ' '); }

}  // namespace

Picture Picture::parse(std::string_view text) {
    Picture p;
    if (text.empty() || text[0] != '@') {
        p.mask = std::string(text);
        return p;
    }
    std::size_t i = 1;
    while (i < text.size() && text[i] != ' ') {
        char f = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i++])));
        switch (f) {
            case '!': p.upper = true; break;
            case 'Z': p.zero_blank = true; break;
            case 'K': p.clear_first = true; break;
            case 'R': p.literals_out = true; break;
            case 'B': p.left_justify = true; break;
            case 'E': p.european = true; break;
            case 'S': {
                int n = 0;
                while (i < text.size() && is_digit(text[i])) n = n * 10 + (text[i++] - '0');
                p.scroll = n;
                break;
            }
            default: break;  // functions this system never uses are ignored
        }
    }
    if (i < text.size()) p.mask = std::string(text.substr(i + 1));
    return p;
}

bool is_mask_slot(char m) {
    switch (m) {
        case '9': case '#': case 'X': case '!': case 'A': case 'N': case 'L': case 'Y': return true;
        default: return false;
    }
}

bool is_letter(char c) { return text::is_letter_852(c); }

char to_upper(char c) { return text::upper_852(c); }

std::string to_upper(std::string_view s) { return text::upper_852(s); }

bool mask_accepts(char m, char c) {
    switch (m) {
        case '9': return is_digit(c);
        case '#': return is_digit(c) || c == ' ' || c == '-' || c == '+';
        case 'A': return is_letter(c);
        case 'N': return is_letter(c) || is_digit(c);
        case 'L': return std::string_view("TtFfYyNn").find(c) != std::string_view::npos;
        case 'Y': return std::string_view("YyNn").find(c) != std::string_view::npos;
        default: return static_cast<unsigned char>(c) >= 0x20;
    }
}

std::string default_number_mask(const Decimal& v) {
    std::string plain = v.to_plain();
    auto dot = plain.find('.');
    std::string mask(10, '9');
    if (dot != std::string::npos) mask += "." + std::string(plain.size() - dot - 1, '9');
    return mask;
}

std::string format_number(const Decimal& v, const Picture& p) {
    std::string mask = p.mask.empty() ? default_number_mask(v) : p.mask;
    auto dot = mask.find('.');
    std::size_t int_end = dot == std::string::npos ? mask.size() : dot;
    int decimals = 0;
    for (std::size_t i = int_end; i < mask.size(); ++i)
        if (mask[i] == '9' || mask[i] == '#') ++decimals;

    Decimal r = v.round(decimals);
    if (p.zero_blank && r.is_zero()) return spaces(mask.size());

    std::string digits = r.abs().to_string(decimals);
    std::string int_digits = digits.substr(0, digits.find('.'));
    std::string dec_digits = decimals > 0 ? digits.substr(digits.find('.') + 1) : "";

    std::string out = mask;
    bool overflow = false;
    // Integer places from the right; a lone zero before decimals is dropped when there is no room.
    std::size_t k = int_digits.size();
    for (std::size_t i = int_end; i-- > 0;) {
        if (mask[i] != '9' && mask[i] != '#') continue;
        out[i] = k > 0 ? int_digits[--k] : ' ';
    }
    if (k > 0 && !(int_digits == "0" && decimals > 0)) overflow = true;
    std::size_t d = 0;
    for (std::size_t i = int_end; i < mask.size(); ++i)
        if (mask[i] == '9' || mask[i] == '#') out[i] = dec_digits[d++];

    // A thousands comma shows only after a digit; the sign goes just before the first digit.
    bool seen_digit = false;
    std::size_t first_digit = int_end;
    for (std::size_t i = 0; i < int_end; ++i) {
        if (is_digit(out[i]) && (mask[i] == '9' || mask[i] == '#')) {
            if (!seen_digit) first_digit = i;
            seen_digit = true;
        } else if (mask[i] == ',' && !seen_digit) {
            out[i] = ' ';
        }
    }
    if (!overflow && r.negative()) {
        if (first_digit == 0 || out[first_digit - 1] != ' ') overflow = true;
        else out[first_digit - 1] = '-';
    }
    if (overflow) {
        out = mask;
        for (char& c : out)
            if (c == '9' || c == '#' || c == ',') c = '*';
    }
    if (p.left_justify) {
        auto start = out.find_first_not_of(' ');
        if (start != std::string::npos) out = out.substr(start) + spaces(start);
    }
    if (p.european)
        for (char& c : out) c = c == '.' ? ',' : c == ',' ? '.' : c;
    return out;
}

namespace {

std::string format_text(const std::string& v, const Picture& p) {
    if (p.mask.empty()) return p.upper ? to_upper(v) : v;
    std::string out = p.mask;
    std::size_t j = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        char m = p.mask[i];
        if (!is_mask_slot(m)) {
            // Without @R the literal stands in the value too, so its place in the value is skipped.
            if (!p.literals_out) ++j;
            continue;
        }
        char c = j < v.size() ? v[j] : ' ';
        ++j;
        out[i] = (p.upper || m == '!') ? to_upper(c) : c;
    }
    return out;
}

}  // namespace

std::string format_value(const Value& v, const Picture& p) {
    if (auto s = std::get_if<std::string>(&v)) return format_text(*s, p);
    if (auto n = std::get_if<Decimal>(&v)) return format_number(*n, p);
    if (auto d = std::get_if<Date>(&v)) return p.zero_blank && d->empty() ? spaces(10) : d->dmy();
    if (auto b = std::get_if<bool>(&v)) {
        bool yes_no = !p.mask.empty() && p.mask[0] == 'Y';
        return *b ? (yes_no ? "Y" : "T") : (yes_no ? "N" : "F");
    }
    return "";
}

std::string format_value(const Value& v, std::string_view picture) { return format_value(v, Picture::parse(picture)); }

}  // namespace platform::console
