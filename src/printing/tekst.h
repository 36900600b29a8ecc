#pragma once
// Small text helpers of the printing routines.

#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/console/picture.h"

namespace sklad {

inline std::string ALLTRIM(std::string_view s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

inline std::string UPPER(std::string_view s) { return platform::console::to_upper(s); }

// Whether `text` holds `token`, letter case ignored.
inline bool ZAWIERA(std::string_view text, std::string_view token) {
    return UPPER(text).find(UPPER(token)) != std::string::npos;
}

// The leading number of a text ("  12" is 12; anything else 0).
inline long VAL(std::string_view s) {
    std::string t = ALLTRIM(s);
    return std::strtol(t.c_str(), nullptr, 10);
}

}  // namespace sklad
