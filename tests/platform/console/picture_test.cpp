#include "platform/console/picture.h"

#include <gtest/gtest.h>

#include "platform/text/cp852.h"

namespace platform::console {
namespace {

Decimal num(const char* s) { return *Decimal::parse(s); }

struct ShowCase {
    Value value;
    const char* picture;
    std::string shown;
};

TEST(Picture, ShowsValuesThroughPictures) {
    const ShowCase cases[] = {
        // numbers: right-aligned, rounded half away from zero, zero before the point kept
        {num("123.456"), "999999.99", "   123.46"},
        {num("0.5"), "999.99", "  0.50"},
        {num("0"), "999999.99", "     0.00"},
        {num("-5.5"), "99.9", "-5.5"},
        {num("-0.5"), "999.99", " -0.50"},
        {num("-0.001"), "999.99", "  0.00"},
        {num("2.345"), "9.99", "2.35"},
        {num("-2.345"), "99.99", "-2.35"},
        {num("42"), "9999", "  42"},
        {num("0.25"), ".99", ".25"},
        // overflow: digit places become '*', the point stays
        {num("12345"), "999.99", "***.**"},
        {num("-123"), "999", "***"},
        {num("1000"), "999", "***"},
        {num("0.5"), ".99", ".50"},
        // @Z blanks a zero (also one that rounds to zero), not a small amount
        {num("0"), "@Z 9999999999.99", "             "},
        {num("0.001"), "@Z 9999.99", "       "},
        {num("0.01"), "@Z 9999.99", "   0.01"},
        {num("12.5"), "@Z 9999999.99", "     12.50"},
        {num("0"), "@Z 9999.9%", "       "},
        {num("12.34"), "@Z 9999.9%", "  12.3%"},
        // blanks and commas inside numbers; a comma only after a digit
        {num("1234.5"), "9 999 999.99", "    1 234.50"},
        {num("-123"), "9 999", " -123"},
        {num("-1234"), "9 999", "* ***"},
        {num("1234567.891"), "999,999,999.99", "  1,234,567.89"},
        {num("12.5"), "999,999.99", "     12.50"},
        {num("-123"), "9,999", " -123"},
        {num("1234.5"), "@E 9,999.99", "1.234,50"},
        {num("42"), "@B 99999", "42   "},
        // whole quantities with blanks instead of decimals
        {num("15"), "9999999999   ", "        15   "},
        // no template: ten places and the value's own decimals
        {num("12.5"), "", "        12.5"},
        {num("7"), "@Z", "         7"},
        // text
        {std::string("abc"), "", "abc"},
        {std::string("abc"), "@!", "ABC"},
        {std::string("ab"), "XXXX", "ab  "},
        {std::string("abcdef"), "XXX", "abc"},
        {std::string("mag"), "!!!", "MAG"},
        {std::string("a1b2"), "!X!X", "A1B2"},
        {std::string("12-345"), "99-999", "12-345"},
        {std::string("12345"), "@R 99-999", "12-345"},
        {std::string("03.24"), "!!.!!", "03.24"},
        {std::string("longer text"), "@S4", "longer text"},
        // Polish letters are capitalised in code page 852
        {std::string("zażółć"_852), "@!", std::string("ZAŻÓŁĆ"_852)},
        {std::string("ąę"_852), "!!", std::string("ĄĘ"_852)},
        // dates in dd.mm.yyyy; an empty date keeps its points
        {Date::from_ymd(2024, 3, 5), "", "05.03.2024"},
        {Date(), "", "  .  .    "},
        {Date::from_ymd(2024, 12, 31), "@E", "31.12.2024"},
        // logicals
        {true, "", "T"},
        {false, "Y", "N"},
    };
    for (const auto& c : cases) {
        std::string shown = format_value(c.value, c.picture);
        EXPECT_EQ(shown, c.shown) << "picture \"" << c.picture << "\"";
    }
}

TEST(Picture, SplitsFunctionsFromTemplate) {
    Picture p = Picture::parse("@ZS12K 999.99");
    EXPECT_TRUE(p.zero_blank);
    EXPECT_TRUE(p.clear_first);
    EXPECT_EQ(p.scroll, 12);
    EXPECT_EQ(p.mask, "999.99");
    EXPECT_EQ(Picture::parse("@S10").mask, "");
    EXPECT_EQ(Picture::parse("99-999").mask, "99-999");
}

TEST(Picture, TemplateLettersAcceptTheirCharacters) {
    EXPECT_TRUE(mask_accepts('9', '5'));
    EXPECT_FALSE(mask_accepts('9', 'a'));
    EXPECT_TRUE(mask_accepts('A', "ł"_852[0]));
    EXPECT_FALSE(mask_accepts('A', '1'));
    EXPECT_TRUE(mask_accepts('N', '1'));
    EXPECT_FALSE(mask_accepts('N', '-'));
    EXPECT_TRUE(mask_accepts('#', ' '));
    EXPECT_TRUE(mask_accepts('X', '-'));
    EXPECT_TRUE(mask_accepts('Y', 'n'));
    EXPECT_FALSE(mask_accepts('Y', 't'));
    EXPECT_FALSE(is_letter("─"_852[0]));
}

}  // namespace
}  // namespace platform::console
