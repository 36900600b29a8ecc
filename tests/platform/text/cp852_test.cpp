#include <gtest/gtest.h>

#include "platform/text/cp852.h"

using namespace platform::text;

TEST(Cp852, PolishLettersRoundTrip) {
    const std::string utf8 = "ĄĆĘŁŃÓŚŹŻ ąćęłńóśźż";
    const std::string cp = from_utf8(utf8);
    const unsigned char expected[] = {0xA4, 0x8F, 0xA8, 0x9D, 0xE3, 0xE0, 0x97, 0x8D, 0xBD, ' ',
                                      0xA5, 0x86, 0xA9, 0x88, 0xE4, 0xA2, 0x98, 0xAB, 0xBE};
    ASSERT_EQ(cp.size(), sizeof expected);
    for (std::size_t i = 0; i < cp.size(); ++i) EXPECT_EQ(static_cast<unsigned char>(cp[i]), expected[i]) << i;
    EXPECT_EQ(to_utf8(cp), utf8);
}

TEST(Cp852, CompileTimeLiteralMatchesRuntimeConversion) {
    constexpr std::string_view lit = "Zażółć gęślą jaźń"_852;
    static_assert(lit.size() == 17);
    EXPECT_EQ(std::string(lit), from_utf8("Zażółć gęślą jaźń"));
}

TEST(Cp852, EveryByteRoundTripsAndUnknownCharactersAreReplaced) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(from_utf8(to_utf8(all)), all);
    EXPECT_EQ(from_utf8("a€b\xff"), "a?b?");
}

TEST(Cp852, ScreenGlyphsForBoxesArrowsAndShades) {
    EXPECT_EQ(to_display(0xC9), U'╔');
    EXPECT_EQ(to_display(0xB1), U'▒');
    EXPECT_EQ(to_display(0xDB), U'█');
    EXPECT_EQ(to_display(16), U'►');
    EXPECT_EQ(to_display(24), U'↑');
    EXPECT_EQ(to_display(27), U'←');
}
