#include "platform/console/key_decode.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/console/keys.h"
#include "platform/text/cp852.h"

namespace platform::console {

namespace {

enum class Base { Up, Down, Left, Right, Home, End, PgUp, PgDn, Ins, Del, Tab, F1 };

struct Mods {
    bool shift = false, alt = false, ctrl = false;
    // The xterm modifier parameter: 1 + (1 shift, 2 alt, 4 ctrl, 8 meta).
    static Mods from_param(int m) {
        Mods r;
        if (m < 2) return r;
        int bits = m - 1;
        r.shift = bits & 1;
        r.alt = (bits & 2) || (bits & 8);
        r.ctrl = bits & 4;
        return r;
    }
};

// Our code of a key with modifiers; `f` is the function-key index (0 = F1) for Base::F1.
int key_of(Base b, Mods m, int f = 0) {
    switch (b) {
        case Base::Up: return m.ctrl ? K_CTRL_UP : m.alt ? K_ALT_UP : K_UP;
        case Base::Down: return m.ctrl ? K_CTRL_DOWN : m.alt ? K_ALT_DOWN : K_DOWN;
        case Base::Left: return m.ctrl ? K_CTRL_LEFT : m.alt ? K_ALT_LEFT : K_LEFT;
        case Base::Right: return m.ctrl ? K_CTRL_RIGHT : m.alt ? K_ALT_RIGHT : K_RIGHT;
        case Base::Home: return m.ctrl ? K_CTRL_HOME : m.alt ? K_ALT_HOME : K_HOME;
        case Base::End: return m.ctrl ? K_CTRL_END : m.alt ? K_ALT_END : K_END;
        case Base::PgUp: return m.ctrl ? K_CTRL_PGUP : m.alt ? K_ALT_PGUP : K_PGUP;
        case Base::PgDn: return m.ctrl ? K_CTRL_PGDN : m.alt ? K_ALT_PGDN : K_PGDN;
        case Base::Ins: return m.ctrl ? K_CTRL_INS : m.alt ? K_ALT_INS : K_INS;
        case Base::Del: return m.ctrl ? K_CTRL_DEL : m.alt ? K_ALT_DEL : K_DEL;
        case Base::Tab: return m.shift ? K_SH_TAB : m.alt ? K_ALT_TAB : K_TAB;
        case Base::F1: return function_key(f, m.ctrl ? 2 : m.alt ? 3 : m.shift ? 1 : 0);
    }
    return 0;
}

// The Alt form of a key decoded from an escape sequence that came after an extra ESC.
int with_alt(int key) {
    switch (key) {
        case K_UP: return K_ALT_UP;
        case K_DOWN: return K_ALT_DOWN;
        case K_LEFT: return K_ALT_LEFT;
        case K_RIGHT: return K_ALT_RIGHT;
        case K_HOME: return K_ALT_HOME;
        case K_END: return K_ALT_END;
        case K_PGUP: return K_ALT_PGUP;
        case K_PGDN: return K_ALT_PGDN;
        case K_INS: return K_ALT_INS;
        case K_DEL: return K_ALT_DEL;
        default: break;
    }
    for (int f = 0; f < 12; ++f)
        if (key == function_key(f, 0)) return function_key(f, 3);
    return key;
}

Decoded key(int k, std::size_t used) { return {Decoded::Status::Key, k, used}; }
Decoded ignored(std::size_t used) { return {Decoded::Status::Ignored, 0, used}; }
Decoded incomplete() { return {Decoded::Status::Incomplete, 0, 0}; }

// "ESC [ ..." : parameters, then the final byte.
Decoded decode_csi(std::string_view b, bool complete) {
    std::size_t i = 2;
    // Linux console F1..F5: ESC [ [ A .. E
    if (i < b.size() && b[i] == '[') {
        if (i + 1 >= b.size()) return complete ? ignored(b.size()) : incomplete();
        char c = b[i + 1];
        if (c >= 'A' && c <= 'E') return key(function_key(c - 'A', 0), i + 2);
        return ignored(i + 2);
    }
    bool private_mode = i < b.size() && (b[i] == '?' || b[i] == '<' || b[i] == '>' || b[i] == '=');
    if (private_mode) ++i;
    std::array<int, 4> p{};
    int np = 0;
    bool have_digit = false;
    while (i < b.size() && (std::isdigit(static_cast<unsigned char>(b[i])) || b[i] == ';' || b[i] == ':')) {
        if (b[i] == ';' || b[i] == ':') {
            if (np < 3) ++np;
        } else if (np < 4) {
            p[np] = p[np] * 10 + (b[i] - '0');
            have_digit = true;
        }
        ++i;
    }
    if (i >= b.size()) return complete ? ignored(b.size()) : incomplete();
    char fin = b[i];
    std::size_t used = i + 1;
    if (private_mode) return ignored(used);
    int count = have_digit ? np + 1 : 0;
    // ESC [ 1 ; m X and ESC [ n ; m ~ carry the modifier second; rxvt marks it in the final byte.
    Mods m = Mods::from_param(count >= 2 ? p[1] : 1);
    switch (fin) {
        case 'A': return key(key_of(Base::Up, m), used);
        case 'B': return key(key_of(Base::Down, m), used);
        case 'C': return key(key_of(Base::Right, m), used);
        case 'D': return key(key_of(Base::Left, m), used);
        case 'H': return key(key_of(Base::Home, m), used);
        case 'F': return key(key_of(Base::End, m), used);
        case 'Z': return key(K_SH_TAB, used);
        case 'a': return key(K_UP, used);  // rxvt Shift+arrows
        case 'b': return key(K_DOWN, used);
        case 'c': return key(K_RIGHT, used);
        case 'd': return key(K_LEFT, used);
        case 'P':
        case 'Q':
        case 'R':
        case 'S': return key(key_of(Base::F1, m, fin - 'P'), used);
        case 'u': {
            // CSI code ; modifiers u: a key reported with its modifiers as a code point.
            int code = p[0];
            if (code == 13) return key(m.alt ? K_ALT_ENTER : K_ENTER, used);
            if (code == 27) return key(m.alt ? K_ALT_ESC : K_ESC, used);
            if (code == 9) return key(key_of(Base::Tab, m), used);
            if (code == 127 || code == 8) return key(m.alt ? K_ALT_BS : K_BS, used);
            if (code < 128 && std::isalnum(code)) {
                if (m.alt) return key(*alt_key(static_cast<char>(code)), used);
                if (m.ctrl && std::isalpha(code)) return key(std::tolower(code) - 'a' + 1, used);
                return key(m.shift ? std::toupper(code) : code, used);
            }
            int cp = text::from_unicode(static_cast<char32_t>(code));
            return cp > 0 ? key(cp, used) : ignored(used);
        }
        case '~':
        case '^':
        case '$':
        case '@': {
            if (fin == '^') m.ctrl = true;
            if (fin == '$') m.shift = true;
            if (fin == '@') m.ctrl = m.shift = true;
            switch (p[0]) {
                case 1:
                case 7: return key(key_of(Base::Home, m), used);
                case 2: return key(key_of(Base::Ins, m), used);
                case 3: return key(key_of(Base::Del, m), used);
                case 4:
                case 8: return key(key_of(Base::End, m), used);
                case 5: return key(key_of(Base::PgUp, m), used);
                case 6: return key(key_of(Base::PgDn, m), used);
                case 11:
                case 12:
                case 13:
                case 14:
                case 15: return key(key_of(Base::F1, m, p[0] - 11), used);
                case 17:
                case 18:
                case 19:
                case 20:
                case 21: return key(key_of(Base::F1, m, p[0] - 12), used);
                case 23:
                case 24: return key(key_of(Base::F1, m, p[0] - 13), used);
                // The Linux console and rxvt send Shift+F3..F10 as codes of their own.
                case 25:
                case 26: m.shift = true; return key(key_of(Base::F1, m, p[0] - 23), used);
                case 28:
                case 29: m.shift = true; return key(key_of(Base::F1, m, p[0] - 24), used);
                case 31:
                case 32:
                case 33:
                case 34: m.shift = true; return key(key_of(Base::F1, m, p[0] - 25), used);
                default: return ignored(used);
            }
        }
        default: return ignored(used);
    }
}

// "ESC O x": cursor keys in application mode, F1..F4, the keypad, rxvt Ctrl+arrows.
Decoded decode_ss3(std::string_view b, bool complete) {
    std::size_t i = 2;
    Mods m;
    // Old xterm: ESC O 2 P (a modifier digit before the final byte).
    if (i < b.size() && b[i] >= '1' && b[i] <= '9') m = Mods::from_param(b[i++] - '0');
    if (i >= b.size()) {
        if (!complete) return incomplete();
        return i == 2 ? key(K_ALT_O, 2) : ignored(i);
    }
    char c = b[i];
    std::size_t used = i + 1;
    switch (c) {
        case 'A': return key(key_of(Base::Up, m), used);
        case 'B': return key(key_of(Base::Down, m), used);
        case 'C': return key(key_of(Base::Right, m), used);
        case 'D': return key(key_of(Base::Left, m), used);
        case 'H': return key(key_of(Base::Home, m), used);
        case 'F': return key(key_of(Base::End, m), used);
        case 'P':
        case 'Q':
        case 'R':
        case 'S': return key(key_of(Base::F1, m, c - 'P'), used);
        case 'a': return key(K_CTRL_UP, used);
        case 'b': return key(K_CTRL_DOWN, used);
        case 'c': return key(K_CTRL_RIGHT, used);
        case 'd': return key(K_CTRL_LEFT, used);
        case 'M': return key(K_ENTER, used);
        case 'j': return key('*', used);
        case 'k': return key('+', used);
        case 'l': return key(',', used);
        case 'm': return key('-', used);
        case 'n': return key('.', used);
        case 'o': return key('/', used);
        default:
            if (c >= 'p' && c <= 'y') return key('0' + (c - 'p'), used);
            return ignored(used);
    }
}

// One UTF-8 character at the start of `b` as its code page 852 byte.
Decoded decode_utf8(std::string_view b, bool complete) {
    auto lead = static_cast<unsigned char>(b[0]);
    std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (n == 0) return ignored(1);  // a stray continuation byte
    if (b.size() < n) {
        for (std::size_t k = 1; k < b.size(); ++k)
            if ((static_cast<unsigned char>(b[k]) & 0xC0) != 0x80) return ignored(k);
        return complete ? ignored(b.size()) : incomplete();
    }
    std::size_t i = 0;
    char32_t cp = text::detail::decode_utf8(b.substr(0, n), i);
    if (cp == 0xFFFD) return ignored(std::max<std::size_t>(i, 1));
    int byte = text::from_unicode(cp);
    return byte > 0 ? key(byte, n) : ignored(n);
}

Decoded decode_escape(std::string_view b, bool complete) {
    if (b.size() == 1) return complete ? key(K_ESC, 1) : incomplete();
    auto c1 = static_cast<unsigned char>(b[1]);
    if (c1 == '[') return decode_csi(b, complete);
    if (c1 == 'O') return decode_ss3(b, complete);
    if (c1 == 0x1B) {
        // ESC ESC [ ... is Alt with a cursor or function key; otherwise the first ESC is Esc itself
        // (people press Esc twice quickly to leave two screens).
        if (b.size() == 2) return complete ? key(K_ESC, 1) : incomplete();
        if (b[2] == '[' || b[2] == 'O') {
            Decoded inner = decode_escape(b.substr(1), complete);
            if (inner.status == Decoded::Status::Key) return key(with_alt(inner.key), inner.used + 1);
            if (inner.status == Decoded::Status::Incomplete) return inner;
            return ignored(inner.used + 1);
        }
        return key(K_ESC, 1);
    }
    // ESC + key: the terminal's way of sending Alt+key.
    if (auto alt = alt_key(static_cast<char>(c1)); alt && c1 < 0x80) return key(*alt, 2);
    if (c1 == '\r') return key(K_ALT_ENTER, 2);
    if (c1 == 0x7F || c1 == 0x08) return key(K_ALT_BS, 2);
    if (c1 == '\t') return key(K_ALT_TAB, 2);
    if (c1 >= 0xC0) {
        // Alt with a letter the code page has: the letter.
        Decoded d = decode_utf8(b.substr(1), complete);
        if (d.status == Decoded::Status::Incomplete) return d;
        d.used += 1;
        return d;
    }
    return key(K_ESC, 1);
}

}  // namespace

Decoded decode_key(std::string_view b, bool complete) {
    if (b.empty()) return incomplete();
    auto c = static_cast<unsigned char>(b[0]);
    if (c == 0x1B) return decode_escape(b, complete);
    if (c == 0x7F) return key(K_BS, 1);
    if (c == 0) return ignored(1);
    if (c < 0x80) return key(c, 1);
    return decode_utf8(b, complete);
}

}  // namespace platform::console
