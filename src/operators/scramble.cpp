// Password scrambling of the operator table. It only keeps passwords from being read off the
// table by eye; it is not encryption.
#include <algorithm>
#include <array>

#include "operators/operators.h"

namespace sklad {

namespace {

// The key is kept combined with blanks, so the program's bytes do not show it. Every key byte is a
// control code: a typed character (code 32 and up) never cancels it to a zero byte.
constexpr std::string_view kStored = "7#1?:%9(4=2;6!8<3&>/5'*0,.)+-$";
static_assert(kStored.size() == 30);

std::array<char, 30> key() {
    std::array<char, 30> k{};
    for (std::size_t i = 0; i < k.size(); ++i) k[i] = static_cast<char>(kStored[i] ^ ' ');
    return k;
}

}  // namespace

std::string MOJ_ENCODE(std::string_view text, int n) {
    static const std::array<char, 30> k = key();
    const std::string_view source = text.empty() ? std::string_view(" ") : text;
    const std::size_t length = n > 0 ? static_cast<std::size_t>(n) : std::max<std::size_t>(10, text.size());
    std::string out(length, ' ');
    for (std::size_t i = 0; i < length; ++i) out[i] = static_cast<char>(source[i % source.size()] ^ k[i % k.size()]);
    return out;
}

std::string MOJ_DECODE(std::string_view text, int n) { return MOJ_ENCODE(text, n); }

}  // namespace sklad
