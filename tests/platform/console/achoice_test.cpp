#include "platform/console/achoice.h"

#include <gtest/gtest.h>

#include "platform/console/console_fixture.h"

namespace platform::console::testing {
namespace {

std::vector<std::string> months() {
    return {"Styczen", "Luty", "Marzec", "Kwiecien", "Maj", "Czerwiec", "Lipiec", "Sierpien"};
}

class AchoiceTest : public ConsoleTest {
  protected:
    void SetUp() override { con().set_colour("W/N,N/W,,,B/N"); }
    // A window of three rows at rows 5-7, columns 10-19.
    int pick(const AchoiceOptions& opt = {}) { return achoice(con(), 5, 10, 7, 19, months(), opt); }
};

TEST_F(AchoiceTest, KeysMoveAndChooseWithoutAUserFunction) {
    struct Case {
        const char* keys;
        int initial;
        int chosen;
    } cases[] = {
        {"Enter", 1, 1},          {"Down Down Enter", 1, 3},  {"Up Enter", 1, 1},       {"End Enter", 1, 8},
        {"Down Down Down Down Down Down Down Down Enter", 1, 8}, {"Ctrl-PgDn Ctrl-PgUp Enter", 4, 1},
        {"PgDn Enter", 1, 4},     {"PgDn PgDn PgDn Enter", 1, 8}, {"PgUp Enter", 8, 5}, {"Esc", 3, 0},
        {"Left", 3, 0},           {"Right", 3, 0},            {"l Enter", 1, 2},        {"m m Enter", 1, 5},
        {"Enter", 20, 8},
    };
    for (const auto& c : cases) {
        hc.keys(c.keys);
        AchoiceOptions opt;
        opt.initial = c.initial;
        EXPECT_EQ(pick(opt), c.chosen) << c.keys << " from " << c.initial;
        EXPECT_EQ(hc.backend().pending(), 0u) << c.keys;
    }
}

TEST_F(AchoiceTest, WindowScrollsAndLightsTheCurrentItem) {
    hc.keys("Down Down Down Enter");
    EXPECT_EQ(pick(), 4);
    EXPECT_EQ(hc.text(5, 10, 10), "Luty      ");
    EXPECT_EQ(hc.text(6, 10, 10), "Marzec    ");
    EXPECT_EQ(hc.text(7, 10, 10), "Kwiecien  ");
    EXPECT_EQ(hc.colour(7, 19), "N/W");  // lit across the whole window width
    EXPECT_EQ(hc.colour(6, 10), "W/N");
    EXPECT_EQ(hc.text(8, 10, 10), "          ");  // nothing below the window

    AchoiceOptions opt;
    opt.initial = 6;
    opt.window_row = 2;
    hc.keys("Esc");
    EXPECT_EQ(pick(opt), 0);
    EXPECT_EQ(hc.text(5, 10, 4), "Kwie");
    EXPECT_EQ(hc.colour(7, 10), "N/W");
}

TEST_F(AchoiceTest, UnselectableItemsAreSkippedAndShownInTheUnselectedColour) {
    AchoiceOptions opt;
    opt.selectable = {false, true, false, true};  // items past the list are selectable
    hc.keys("Down Enter");
    EXPECT_EQ(pick(opt), 4);  // starts on 2, skips 3
    EXPECT_EQ(hc.colour(6, 10), "B/N");  // Marzec; the window shows items 2-4
    hc.keys("Up Up Up Enter");
    opt.initial = 4;
    EXPECT_EQ(pick(opt), 2);
    hc.keys("s Enter");  // first letter: Styczen is not selectable, Sierpien is
    EXPECT_EQ(pick(opt), 8);

    opt.selectable.assign(8, false);
    EXPECT_EQ(pick(opt), 0);  // nothing to choose: returns at once, no key read
}

TEST_F(AchoiceTest, UserFunctionSeesModesAndDecides) {
    std::vector<std::pair<int, int>> calls;  // mode, item
    AchoiceOptions opt;
    opt.user = [&](int mode, int item, int row) {
        calls.emplace_back(mode, item);
        EXPECT_GE(row, 0);
        EXPECT_LE(row, 2);
        if (mode != AC_EXCEPT) return AC_CONT;
        switch (con().lastkey()) {
            case K_ENTER: return AC_SELECT;
            case K_ESC: return AC_ABORT;
            case K_F2: return AC_CONT;
            default: return AC_GOTO;
        }
    };
    hc.keys("Up F2 k Down Enter");
    EXPECT_EQ(pick(opt), 5);
    std::vector<std::pair<int, int>> expect = {
        {AC_IDLE, 1},   {AC_HITTOP, 1}, {AC_IDLE, 1},   {AC_EXCEPT, 1}, {AC_IDLE, 1},
        {AC_EXCEPT, 1}, {AC_IDLE, 4},   {AC_IDLE, 5},   {AC_EXCEPT, 5},
    };
    EXPECT_EQ(calls, expect);

    calls.clear();
    hc.keys("End Down Esc");
    EXPECT_EQ(pick(opt), 0);
    EXPECT_EQ(calls[2], (std::pair<int, int>{AC_HITBOTTOM, 8}));

    // The user function is told when there is nothing to choose.
    calls.clear();
    opt.selectable.assign(8, false);
    EXPECT_EQ(pick(opt), 0);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{AC_NOITEM, 0}}));
}

}  // namespace
}  // namespace platform::console::testing
