#include "platform/console/colour.h"

#include <gtest/gtest.h>

namespace platform::console {
namespace {

TEST(Colour, PairsBecomeAttributes) {
    struct Case {
        const char* text;
        int fg, bg;
        bool blink;
    } cases[] = {
        {"W/N", 7, 0, false},   {"N/W", 0, 7, false},   {"W+/N", 15, 0, false}, {"W+/B", 15, 1, false},
        {"GR+/N", 14, 0, false}, {"BG/RB", 3, 5, false}, {"R+/GR", 12, 6, false}, {"N*/W", 0, 7, true},
        {"gr/w", 6, 7, false},  {" W+ / R ", 15, 4, false}, {"W+", 15, 0, false}, {"I", 0, 7, false},
        {"RG/N", 6, 0, false},  {"W*+/B", 15, 1, true},
    };
    for (const auto& c : cases) {
        auto a = parse_colour_pair(c.text);
        ASSERT_TRUE(a) << c.text;
        EXPECT_EQ(*a, make_attr(c.fg, c.bg, c.blink)) << c.text;
    }
    for (const char* bad : {"", "Q/N", "W/Y", "WB/N"}) EXPECT_FALSE(parse_colour_pair(bad)) << bad;
}

TEST(Colour, NamesReadBack) {
    for (const char* name : {"W/N", "N/W", "W+/B", "GR+/N", "N*/W", "BG/RB", "R+/GR"}) {
        EXPECT_EQ(colour_name(*parse_colour_pair(name)), name);
    }
}

TEST(Colour, SpecSlotsEmptyEntriesKeepAndEmptyStringRestoresDefaults) {
    ColourSpec s = ColourSpec::parse("W/N,N/W,,,W+/N");
    EXPECT_EQ(colour_name(s.standard()), "W/N");
    EXPECT_EQ(colour_name(s.enhanced()), "N/W");
    EXPECT_EQ(colour_name(s.unselected()), "W+/N");

    s.apply("B/W,W+/B");  // only the first two slots change
    EXPECT_EQ(colour_name(s.standard()), "B/W");
    EXPECT_EQ(colour_name(s.enhanced()), "W+/B");
    EXPECT_EQ(colour_name(s.unselected()), "W+/N");

    s.apply(",GR/N");
    EXPECT_EQ(colour_name(s.standard()), "B/W");
    EXPECT_EQ(colour_name(s.enhanced()), "GR/N");

    s.apply("");
    EXPECT_EQ(s, ColourSpec::defaults());
    EXPECT_EQ(s.to_string(), "W/N,N/W,N/N,N/N,N/W");
}

TEST(Colour, SavedTextRestoresTheSpecExactly) {
    ColourSpec s = ColourSpec::parse("W/N, N/W, N/W, N/GR, N/GR, N/W");
    ColourSpec back = ColourSpec::parse("R/B");  // anything else first
    back.apply(s.to_string());
    EXPECT_EQ(back, s);
    EXPECT_EQ(colour_name(s.get(ColourSlot::Background)), "N/GR");
}

TEST(Colour, ListKeepsEveryEntryForBrowseColourSpecs) {
    auto list = parse_colour_list("W/N, N/W, N/W, N/GR, N/GR, N/W");
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(colour_name(*list[5]), "N/W");
    auto gaps = parse_colour_list("W/N,,,W+/N");
    ASSERT_EQ(gaps.size(), 4u);
    EXPECT_FALSE(gaps[1]);
    EXPECT_TRUE(gaps[3]);
}

}  // namespace
}  // namespace platform::console
