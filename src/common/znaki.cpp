#include "common/znaki.h"

#include <algorithm>
#include <string_view>

#include "common/colours.h"
#include "common/console.h"
#include "data/engine.h"
#include "platform/console/picture.h"
#include "platform/text/cp852.h"

namespace sklad {

namespace {

// The Polish letters in code page 852, and the same letters in the older code page, in one order.
constexpr std::string_view kPolish852 = "ĄĆĘŁŃÓŚŹŻąćęłńóśźż"_852;
constexpr std::string_view kPolishOld =
    "\x8F\x95\x90\x9C\xA5\xA3\x98\xA0\xA1"
    "\x86\x8D\x91\x92\xA4\xA2\x9E\xA6\xA7";
static_assert(kPolish852.size() == 18 && kPolishOld.size() == 18);

constexpr char kShade = static_cast<char>(177);

// The character a typed byte stands for in code page 852.
char as_852(char c) {
    if (kPolish852.find(c) != std::string_view::npos) return c;
    auto at = kPolishOld.find(c);
    return at == std::string_view::npos ? c : kPolish852[at];
}

const SearchOrder* order_in_force(const TypeAhead& t) {
    int order = INDEXORD();
    if (order < 1 || order > static_cast<int>(t.orders.size())) return nullptr;
    const SearchOrder& o = t.orders[static_cast<std::size_t>(order - 1)];
    return o.max > 0 ? &o : nullptr;
}

std::string& buffer_in_force(TypeAhead& t) {
    auto order = static_cast<std::size_t>(INDEXORD());
    if (t.buffers.size() < t.orders.size()) t.buffers.resize(t.orders.size());
    return t.buffers[order - 1];
}

std::string padded(std::string s, int width) {
    s.resize(static_cast<std::size_t>(std::max(width, 0)), ' ');
    return s;
}

// The buffer on the help line: a black-on-white field as long as the longest buffer, with the
// blinking mark where the next character goes.
void show(const TypeAhead& t, const SearchOrder& o, const std::string& buffer) {
    if (t.line) t.line();
    constexpr std::string_view colour = COLOUR_SEARCH, mark_colour = COLOUR_SEARCH_MARK;
    const std::string mark(1, '\x16');
    if (o.split) {
        const std::string code = buffer.size() > 1 ? buffer.substr(1) : "";
        DISPOUTAT(t.row, 0, padded(buffer.substr(0, 1), 2) + padded(code, o.max - 1), colour);
        DISPOUTAT(t.row, buffer.empty() ? 0 : 2 + static_cast<int>(code.size()), mark, mark_colour);
        return;
    }
    if (!o.label.empty()) DISPOUTAT(t.row, 0, o.label, colour);
    DISPOUTAT(t.row, o.col, padded(buffer, o.max), colour);
    DISPOUTAT(t.row, o.col + static_cast<int>(buffer.size()), mark, mark_colour);
}

bool seek_prefix(const std::string& key) {
    if (key.empty()) {
        DBGOTOP();
        return true;
    }
    return DBSEEK(Value(key));
}

}  // namespace

std::string ZNAKI_START() {
    std::string z = "[]#^*+-_/\\.\"@";
    z += kShade;
    for (char c = 'A'; c <= 'Z'; ++c) z += c;
    for (char c = 'a'; c <= 'z'; ++c) z += c;
    for (char c = '0'; c <= '9'; ++c) z += c;
    z += ' ';
    z += kPolish852;
    z += kPolishOld;
    return z;
}

bool ZNAK_SZUKANIA(int key) {
    return key > 0 && key < 256 && ZNAKI.find(static_cast<char>(key)) != std::string::npos;
}

char ZNAK_KLUCZA(int key) { return platform::console::to_upper(as_852(static_cast<char>(key))); }

bool TYPEAHEAD_KEY(TypeAhead& t, int key) {
    const SearchOrder* o = order_in_force(t);
    if (!o || (key != K_BS && !ZNAK_SZUKANIA(key))) return false;
    std::string& buffer = buffer_in_force(t);
    const std::string start = o->start ? o->start() : "";
    if (key == K_BS) {
        if (buffer.size() <= start.size()) buffer.clear();
        else buffer.pop_back();
        seek_prefix(buffer);
    } else {
        std::string wanted = (buffer.empty() ? start : buffer) + ZNAK_KLUCZA(key);
        if (static_cast<int>(wanted.size()) <= o->max) {
            const long was = RECNO();
            if (seek_prefix(wanted)) buffer = wanted;
            else DBGOTO(was);
        }
    }
    show(t, *o, buffer);
    return true;
}

bool TYPEAHEAD_CLEAR(TypeAhead& t) {
    bool any = std::any_of(t.buffers.begin(), t.buffers.end(), [](const std::string& b) { return !b.empty(); });
    for (auto& b : t.buffers) b.clear();
    if (any && t.line) t.line();
    return any;
}

}  // namespace sklad
