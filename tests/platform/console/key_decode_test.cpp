#include "platform/console/key_decode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/console/keys.h"
#include "platform/text/cp852.h"

namespace platform::console {
namespace {

// All keys of a byte string, decoding as the terminal backend does once no more bytes come.
std::vector<int> decode_all(std::string_view bytes) {
    std::vector<int> keys;
    while (!bytes.empty()) {
        Decoded d = decode_key(bytes, true);
        if (d.status == Decoded::Status::Key) keys.push_back(d.key);
        bytes.remove_prefix(std::max<std::size_t>(d.used, 1));
    }
    return keys;
}

TEST(KeyDecode, TerminalSequencesOfXtermLinuxConsoleRxvtAndTmux) {
    struct Case {
        const char* bytes;
        int key;
    } cases[] = {
        // plain keys and control bytes that are key codes
        {"\r", K_ENTER}, {"\x1b", K_ESC}, {"\t", K_TAB}, {"\x7f", K_BS}, {"\x08", K_BS}, {"\x03", K_PGDN},
        {"\x13", K_LEFT}, {"\x1c", K_F1}, {"\x17", K_CTRL_W}, {"a", 'a'},
        // cursor keys: normal and application mode
        {"\x1b[A", K_UP}, {"\x1b[B", K_DOWN}, {"\x1b[C", K_RIGHT}, {"\x1b[D", K_LEFT},
        {"\x1bOA", K_UP}, {"\x1bOD", K_LEFT},
        {"\x1b[H", K_HOME}, {"\x1b[F", K_END}, {"\x1bOH", K_HOME}, {"\x1bOF", K_END},
        {"\x1b[1~", K_HOME}, {"\x1b[4~", K_END}, {"\x1b[7~", K_HOME}, {"\x1b[8~", K_END},
        {"\x1b[2~", K_INS}, {"\x1b[3~", K_DEL}, {"\x1b[5~", K_PGUP}, {"\x1b[6~", K_PGDN},
        // Ctrl and Alt with cursor keys
        {"\x1b[1;5D", K_CTRL_LEFT}, {"\x1b[1;5C", K_CTRL_RIGHT}, {"\x1b[1;5A", K_CTRL_UP},
        {"\x1b[1;5B", K_CTRL_DOWN}, {"\x1b[1;5H", K_CTRL_HOME}, {"\x1b[1;5F", K_CTRL_END},
        {"\x1b[5;5~", K_CTRL_PGUP}, {"\x1b[6;5~", K_CTRL_PGDN}, {"\x1b[1;3A", K_ALT_UP},
        {"\x1b[1;2A", K_UP}, {"\x1bOd", K_CTRL_LEFT}, {"\x1bOc", K_CTRL_RIGHT}, {"\x1b[5^", K_CTRL_PGUP},
        {"\x1b\x1b[A", K_ALT_UP}, {"\x1b[3;5~", K_CTRL_DEL},
        // function keys
        {"\x1bOP", K_F1}, {"\x1bOQ", K_F2}, {"\x1bOR", K_F3}, {"\x1bOS", K_F4},
        {"\x1b[11~", K_F1}, {"\x1b[12~", K_F2}, {"\x1b[15~", K_F5}, {"\x1b[17~", K_F6},
        {"\x1b[21~", K_F10}, {"\x1b[23~", K_F11}, {"\x1b[24~", K_F12},
        {"\x1b[[A", K_F1}, {"\x1b[[E", K_F5},
        {"\x1b[1;2P", K_SH_F1}, {"\x1b[1;2Q", K_SH_F2}, {"\x1b[15;2~", K_SH_F5}, {"\x1b[24;2~", K_SH_F12},
        {"\x1b[1;5Q", K_CTRL_F2}, {"\x1b[20;5~", K_CTRL_F9}, {"\x1b[24;5~", K_CTRL_F12},
        {"\x1b[1;3P", K_ALT_F1}, {"\x1b[20;3~", K_ALT_F9}, {"\x1b[15;3~", K_ALT_F5}, {"\x1b[23;3~", K_ALT_F11},
        {"\x1bO2Q", K_SH_F2}, {"\x1b\x1bOQ", K_ALT_F2},
        {"\x1b[25~", K_SH_F3}, {"\x1b[28~", K_SH_F5}, {"\x1b[34~", K_SH_F10},
        {"\x1b[Z", K_SH_TAB},
        // Alt + key sent as ESC + key
        {"\x1bk", K_ALT_K}, {"\x1bK", K_ALT_K}, {"\x1bq", K_ALT_Q}, {"\x1bm", K_ALT_M}, {"\x1b" "1", K_ALT_1},
        {"\x1b" "0", K_ALT_0}, {"\x1b\r", K_ALT_ENTER}, {"\x1bO", K_ALT_O},
        // keys reported with their modifiers as a code point
        {"\x1b[107;3u", K_ALT_K}, {"\x1b[119;5u", K_CTRL_W}, {"\x1b[13;1u", K_ENTER},
    };
    for (const auto& c : cases) {
        std::string_view b = c.bytes;
        Decoded d = decode_key(b, true);
        EXPECT_EQ(d.status, Decoded::Status::Key) << key_name(c.key);
        EXPECT_EQ(d.key, c.key) << "expected " << key_name(c.key) << ", got " << key_name(d.key);
        EXPECT_EQ(d.used, b.size()) << key_name(c.key);
    }
    EXPECT_EQ(K_ALT_K, 293);
    EXPECT_EQ(K_ALT_F9, -38);
    EXPECT_EQ(K_SH_TAB, 271);
}

TEST(KeyDecode, PartialSequencesWaitForTheirRestUnlessNothingMoreCame) {
    for (const char* prefix : {"\x1b", "\x1b[", "\x1b[1;", "\x1b[15", "\x1bO", "\x1b\x1b", "\xc4", "\xe2\x94"}) {
        EXPECT_EQ(decode_key(prefix, false).status, Decoded::Status::Incomplete) << prefix;
    }
    // Esc pressed twice quickly is two Esc keys, not one Alt key.
    EXPECT_EQ(decode_all("\x1b\x1b"), (std::vector<int>{K_ESC, K_ESC}));
    // Keys typed together arrive together.
    EXPECT_EQ(decode_all("\x1b[Bab\x1bOP\r"), (std::vector<int>{K_DOWN, 'a', 'b', K_F1, K_ENTER}));
    // Unknown sequences and mouse reports vanish whole instead of typing their bytes.
    EXPECT_EQ(decode_all("\x1b[99~x\x1b[<0;10;5Mz"), (std::vector<int>{'x', 'z'}));
}

TEST(KeyDecode, TypedPolishLettersBecomeCodePage852Bytes) {
    const std::string typed = "ąćęłńóśźżĄĆĘŁŃÓŚŹŻ";
    std::vector<int> expect;
    for (char c : "ąćęłńóśźżĄĆĘŁŃÓŚŹŻ"_852) expect.push_back(static_cast<unsigned char>(c));
    EXPECT_EQ(decode_all(typed), expect);
    EXPECT_EQ(decode_all("ą"), (std::vector<int>{0xA5}));
    EXPECT_EQ(decode_all("Ż"), (std::vector<int>{0xBD}));
    // Characters the code page lacks are dropped, the rest stays.
    EXPECT_EQ(decode_all("a€b"), (std::vector<int>{'a', 'b'}));
    // AltGr letters arriving with an ESC (Alt held) are the letters themselves.
    EXPECT_EQ(decode_all("\x1bą"), (std::vector<int>{0xA5}));
}

TEST(KeyNames, NamesAndCodesGoBothWays) {
    for (int k : {K_ENTER, K_ESC, K_F1, K_F2, K_F10, K_F11, K_F12, K_SH_F2, K_CTRL_F8, K_ALT_F9, K_ALT_F12, K_ALT_K,
                  K_ALT_1, K_UP, K_DOWN, K_LEFT, K_RIGHT, K_PGUP, K_PGDN, K_CTRL_PGDN, K_CTRL_HOME, K_HOME, K_END,
                  K_INS, K_DEL, K_TAB, K_SH_TAB, K_BS, K_CTRL_LEFT, K_CTRL_Y, int{'x'}, int{'5'}}) {
        auto back = key_from_name(key_name(k));
        ASSERT_TRUE(back) << key_name(k);
        EXPECT_EQ(*back, k) << key_name(k);
    }
    EXPECT_EQ(key_from_name("alt-k"), K_ALT_K);
    EXPECT_EQ(key_from_name("Shift-F12"), -43);
    EXPECT_EQ(key_from_name("PgDn"), 3);
    EXPECT_FALSE(key_from_name("F13"));
    EXPECT_FALSE(key_from_name("Hyper-X"));
}

}  // namespace
}  // namespace platform::console
