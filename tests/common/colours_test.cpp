#include "common/colours.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app_screen.h"
#include "common/console.h"
#include "common/memvar.h"
#include "platform/table/workarea_fixture.h"

using namespace sklad;

namespace {

class ColoursTest : public sklad::testing::AppScreenTest {
  protected:
    table_fixture::ScratchFolder dir{true};
};

TEST_F(ColoursTest, TheDisplayTheMarkerFileAndTheSalesDeskChooseTheColours) {
    struct Case {
        bool mono, small, sales_desk;
        const char *frame, *row, *picker;
    };
    const Case cases[] = {
        {false, false, false, "W+/B", "W+/R", "B/W,W+/B"},
        {false, false, true, "W+/GR", "W+/GR", "GR/W,W+/GR"},
        {false, true, true, "W+/G", "N/W", "G/W,W+/G"},
        {true, true, true, "N/W,W/N", "N/W", "N/W,W/N"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.frame));
        hc.backend().set_colour(!c.mono);
        if (c.small) std::ofstream("small.txt") << "";
        else std::remove("small.txt");
        MEMVAR_NEW("TOJESTKASA", c.sales_desk);
        EXPECT_EQ(COLOUR_FRAME(), c.frame);
        EXPECT_EQ(COLOUR_ROW(), c.row);
        EXPECT_EQ(COLOUR_PICKER(), c.picker);
    }
    MEMVAR_PUT("TOJESTKASA", false);
    MEMVAR_RELEASE("TOJESTKASA");
}

TEST_F(ColoursTest, TheKeyLineLightsKeyNamesAndMarksTheFilter) {
    KEY_LINE("F4-Edycja    F5-Dopisanie    F6-Filtr    Alt_F5-Wzor  Esc-wyjscie", true);
    EXPECT_EQ(hc.row_trimmed(24), "F4-Edycja    F5-Dopisanie    F6-Filtr    Alt_F5-Wzor  Esc-wyjscie");
    std::string colours;
    for (int col : {0, 1, 2, 13, 29, 32, 36, 37, 41, 46, 47, 54, 57}) colours += hc.colour(24, col) + " ";
    EXPECT_EQ(colours, "W+/N W+/N W/N W+/N W+/N N/W N/W W/N W+/N W+/N W/N W+/N W/N ");
    KEY_LINE("F6-Filtr");
    EXPECT_EQ(hc.colour(24, 3), "W/N") << "no mark without a filter";
    EXPECT_EQ(hc.row(24).size(), 80u) << "the rest of the line is cleared";
}

}  // namespace
