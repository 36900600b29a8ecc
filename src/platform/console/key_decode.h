#pragma once
// Terminal input bytes to key codes, as a pure function: the escape sequences of xterm, the Linux
// console, rxvt and tmux; Alt+key sent as ESC + key; UTF-8 text to code page 852 bytes.

#include <cstddef>
#include <string_view>

namespace platform::console {

struct Decoded {
    enum class Status {
        Key,         // `key` decoded from the first `used` bytes
        Ignored,     // the first `used` bytes mean nothing to us (unknown sequence, character outside 852)
        Incomplete,  // a prefix of a longer sequence: wait a moment for more bytes
    };
    Status status = Status::Incomplete;
    int key = 0;
    std::size_t used = 0;
};

// Decodes the first key of `bytes`. With `complete` set (no more bytes came in time), a prefix is
// decoded as far as it goes: a lone ESC is Esc, ESC + letter is Alt+letter.
Decoded decode_key(std::string_view bytes, bool complete = false);

}  // namespace platform::console
