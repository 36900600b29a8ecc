#include "platform/console/get.h"

#include <gtest/gtest.h>

#include "platform/text/cp852.h"

namespace platform::console {
namespace {

Decimal num(const char* s) { return *Decimal::parse(s); }

// Editing keys written into the typed text: they are all control bytes.
const std::string HOME = "\x01", END = "\x06", LEFT = "\x13", RIGHT = "\x04", DEL = "\x07", BS = "\x08",
                  CTRL_Y = "\x19";

struct TypeCase {
    Value initial;
    const char* picture;
    std::string typed;
    Value result;       // the variable after the field is left
    std::string shown;  // the field out of focus afterwards
    bool insert = false;
};

std::string describe(const Value& v) {
    if (auto s = std::get_if<std::string>(&v)) return "\"" + *s + "\"";
    if (auto n = std::get_if<Decimal>(&v)) return n->to_plain();
    if (auto d = std::get_if<Date>(&v)) return d->dmy();
    if (auto b = std::get_if<bool>(&v)) return *b ? ".T." : ".F.";
    return "NIL";
}

TEST(Get, TypedKeysGiveValueAndDisplay) {
    const TypeCase cases[] = {
        // numbers: the first key at the first place clears the field; '.' jumps to the decimals
        {num("123.45"), "999999.99", "7", num("7"), "     7.00"},
        {num("123.45"), "999999.99", "12.5", num("12.5"), "    12.50"},
        {num("123.45"), "999999.99", ".9", num("0.9"), "     0.90"},
        {num("0"), "@Z 999999.99", "3.25", num("3.25"), "     3.25"},
        {num("0"), "@Z 9999999999.99", "15", num("15"), "        15.00"},
        {num("5"), "9999", "-3", num("-3"), "  -3"},
        {num("12.5"), "999.99", "7.2", num("7.2"), "  7.20"},
        {num("1"), "999.99", "12345", num("123.45"), "123.45"},
        {num("8"), "999", "1" + BS + "2", num("2"), "  2"},
        // after moving first the field is edited, not cleared
        {num("123.45"), "999999.99", END + "7", num("123.47"), "   123.47"},
        // text: overwrite, insert, delete, backspace, clear to end
        {std::string("abc  "), "", "xy", std::string("xyc  "), "xyc  "},
        {std::string("abc  "), "", "xy", std::string("xyabc"), "xyabc", true},
        {std::string("abcde"), "", RIGHT + RIGHT + CTRL_Y, std::string("ab   "), "ab   "},
        {std::string("abcde"), "", RIGHT + RIGHT + BS, std::string("acde "), "acde "},
        {std::string("abcde"), "", DEL, std::string("bcde "), "bcde "},
        {std::string("abcde"), "", END + LEFT + "X", std::string("abcXe"), "abcXe"},
        {std::string("abc"), "", "xyz" + BS, std::string("xy "), "xy "},
        {std::string("abc"), "", HOME + "q", std::string("qbc"), "qbc"},
        // templates: upper case, letters only, literals skipped
        {std::string("abc"), "@!", "xyz", std::string("XYZ"), "XYZ"},
        {std::string("     "), "!!!!!", "ab1", std::string("AB1  "), "AB1  "},
        {std::string("     "), "AAAAA", "a1b", std::string("ab   "), "ab   "},
        {std::string("   "), "@!", std::string("ąb"_852), std::string("ĄB "_852), std::string("ĄB "_852)},
        {std::string("      "), "99-999", "12345", std::string("12-345"), "12-345"},
        {std::string("      "), "99-999", "1a2b345", std::string("12-345"), "12-345"},
        {std::string("     "), "@R 99-999", "12345", std::string("12345"), "12-345"},
        {std::string("     "), "!!.!!", "0324", std::string("03.24"), "03.24"},
        {std::string("abc"), "@K", "x", std::string("x  "), "x  "},
        // dates, typed over "dd.mm.yyyy"; a two-digit year is widened
        {Date::from_ymd(2024, 3, 5), "", "15032024", Date::from_ymd(2024, 3, 15), "15.03.2024"},
        {Date(), "", "010224", Date::from_ymd(2024, 2, 1), "01.02.2024"},
        {Date::from_ymd(2024, 3, 5), "", CTRL_Y, Date(), "  .  .    "},
        // an impossible date is not assigned
        {Date::from_ymd(2024, 3, 5), "", "31022024", Date::from_ymd(2024, 3, 5), "05.03.2024"},
        // logicals
        {false, "", "t", true, "T"},
        {true, "Y", "n", false, "N"},
    };
    for (const auto& c : cases) {
        Value var = c.initial;
        Get g(0, 0, "V", [&] { return var; }, [&](const Value& v) { var = v; }, c.picture);
        g.set_focus();
        for (char k : c.typed) g.edit_key(static_cast<unsigned char>(k), c.insert);
        if (g.changed()) g.assign();
        g.kill_focus();
        std::string what = std::string("picture \"") + c.picture + "\" keys \"" + c.typed + "\"";
        EXPECT_EQ(describe(var), describe(c.result)) << what;
        EXPECT_EQ(g.text(), c.shown) << what;
    }
}

TEST(Get, FullFieldIsTypedOutAndRefusesMore) {
    Value var = std::string("ab");
    Get g(0, 0, "V", [&] { return var; }, [&](const Value& v) { var = v; });
    g.set_focus();
    EXPECT_TRUE(g.type_char('x', false));
    EXPECT_FALSE(g.type_out());
    EXPECT_TRUE(g.type_char('y', false));
    EXPECT_TRUE(g.type_out());
    EXPECT_FALSE(g.type_char('z', false));
    EXPECT_EQ(std::get<std::string>(g.buffer_value()), "xy");
}

TEST(Get, BadInputIsReportedAndUndoRestores) {
    Value var = Date::from_ymd(2024, 3, 5);
    Get g(0, 0, "D", [&] { return var; }, [&](const Value& v) { var = v; });
    g.set_focus();
    for (char k : std::string("99")) g.edit_key(k, false);
    EXPECT_TRUE(g.bad_input());
    g.undo();
    EXPECT_FALSE(g.bad_input());
    EXPECT_EQ(g.text(), "05.03.2024");
    EXPECT_EQ(std::get<Date>(var), Date::from_ymd(2024, 3, 5));
}

TEST(Get, ScrollWindowFollowsTheCursor) {
    Value var = std::string("abcdefghij");
    Get g(0, 0, "S", [&] { return var; }, [&](const Value& v) { var = v; }, "@S4");
    EXPECT_EQ(g.text(), "abcd");
    g.set_focus();
    for (int i = 0; i < 6; ++i) g.right();
    EXPECT_EQ(g.text(), "defg");
    EXPECT_EQ(g.cursor_offset(), 3);
    g.home();
    EXPECT_EQ(g.text(), "abcd");
    EXPECT_EQ(g.cursor_offset(), 0);
}

TEST(Get, HotKeyChangeReloadsTheBuffer) {
    Value var = num("5");
    Get g(0, 0, "N", [&] { return var; }, [&](const Value& v) { var = v; }, "99999.99");
    g.set_focus();
    var = num("36");
    g.update_buffer();
    EXPECT_EQ(g.text(), "   36.00");
    g.undo();
    EXPECT_EQ(std::get<Decimal>(var), num("5"));
}

}  // namespace
}  // namespace platform::console
