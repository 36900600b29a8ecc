#include "common/console.h"

#include <gtest/gtest.h>

#include "app_screen.h"

namespace sklad {
namespace {

using testing::AppScreenTest;

TEST_F(AppScreenTest, MenuPromptsAreShownWhenPlacedAndTheApplicationMenusWrap) {
    SETCOLOR("W/N,W+/B");
    __ATPROMPT(4, 1, " MAGAZYN");
    __ATPROMPT(3, 13, " ROZRACHUNKI");
    __ATPROMPT(2, 26, " DOWODY");
    EXPECT_EQ(hc.text(3, 13, 12), " ROZRACHUNKI");
    hc.keys("Up Up Up Enter");  // 2 -> 1 -> 3 (wrap) -> 2
    EXPECT_EQ(__MENUTO(2), 2);
    EXPECT_EQ(hc.colour(3, 14), "W+/B");
    hc.keys("Enter");
    EXPECT_EQ(__MENUTO(1), 0);  // the prompts went with the menu that ran them
}

TEST_F(AppScreenTest, AMenuRunFromAHotKeyInsideAMenuKeepsTheOuterPrompts) {
    int inner = -1;
    SETKEY(K_F2, [&] {
        __ATPROMPT(10, 40, " Tak ");
        __ATPROMPT(11, 40, " Nie ");
        inner = __MENUTO(1);
    });
    __ATPROMPT(0, 0, " Pierwsza");
    __ATPROMPT(1, 0, " Druga");
    hc.keys("F2 Down Enter Down Enter");
    EXPECT_EQ(__MENUTO(1), 2);
    EXPECT_EQ(inner, 2);
    SETKEY(K_F2, {});
}

TEST_F(AppScreenTest, KeyboardBufferIsEmptiedBeforeItIsFilled) {
    __KEYBOARD("ab");
    __KEYBOARD({K_ENTER, K_UP});
    EXPECT_EQ(NEXTKEY(), K_ENTER);
    EXPECT_EQ(INKEY(0), K_ENTER);
    EXPECT_EQ(INKEY(), K_UP);
    EXPECT_EQ(LASTKEY(), K_UP);
    __KEYBOARD("x");
    __KEYBOARD();  // clears
    EXPECT_EQ(INKEY(), 0);
    auto start = SECONDS();
    EXPECT_EQ(INKEY(2.5), 0);
    EXPECT_DOUBLE_EQ(SECONDS() - start, 2.5);
}

TEST_F(AppScreenTest, SetKeyReturnsTheRoutineBefore) {
    int calls = 0;
    EXPECT_FALSE(SETKEY(K_ALT_K, [&] { ++calls; }));
    HotKeyRoutine kalk = SETKEY(K_ALT_K, {});  // unbound while it runs, as the calculator does
    ASSERT_TRUE(kalk);
    hc.keys("Alt-K Esc");
    EXPECT_EQ(INKEY(0), K_ALT_K);
    SETKEY(K_ALT_K, kalk);
    EXPECT_EQ(INKEY(0), K_ESC);
    hc.keys("Alt-K Enter");
    EXPECT_EQ(INKEY(0), K_ENTER);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(SETKEY(K_ALT_K));
    SETKEY(K_ALT_K, {});
}

TEST_F(AppScreenTest, OutputColoursBoxesAndScreenImages) {
    std::string before = SETCOLOR("W+/B");
    EXPECT_EQ(before, "W/N,N/W,N/N,N/N,N/W");
    EXPECT_EQ(SETCOLOR(before), "W+/B,N/W,N/N,N/N,N/W");
    ScreenImage blank = SAVESCREEN();
    DISPBOX(1, 1, 3, 10, 2, "R+/N");
    EXPECT_EQ(hc.text(1, 1, 3), "╔══");
    EXPECT_EQ(hc.colour(1, 1), "R+/N");
    EXPECT_EQ(ROW(), 2);
    EXPECT_EQ(COL(), 2);
    DEVPOS(2, 3);
    DEVOUT("abc", "GR+/B");
    DEVOUT(platform::Value{platform::Decimal(42)});
    EXPECT_EQ(hc.text(2, 3, 13), "abc        42");
    EXPECT_EQ(hc.colour(2, 3), "GR+/B");
    EXPECT_EQ(hc.colour(2, 6), "W/N");
    DISPOUTAT(5, 0, platform::Value{platform::Date::from_ymd(2024, 3, 5)});
    EXPECT_EQ(hc.text(5, 0, 10), "05.03.2024");
    RESTSCREEN(blank);
    EXPECT_EQ(hc.row_trimmed(1), "");
    EXPECT_EQ(SETCURSOR(SC_NORMAL), SC_NONE);  // the application starts with the cursor hidden
    EXPECT_EQ(SETCURSOR(), SC_NORMAL);
}

TEST_F(AppScreenTest, TodayAndTimeComeFromTheConsoleClock) {
    EXPECT_EQ(DATE(), platform::Date::from_ymd(2024, 1, 15));
    EXPECT_EQ(TIME(), "08:00:00");
    hc.pause(61);
    EXPECT_EQ(INKEY(100), 0);
    EXPECT_EQ(TIME(), "08:01:40");
}

TEST(ConsoleAdapter, WithoutAnInstalledConsoleNothingWaitsOrTouchesATerminal) {
    INSTALL_CONSOLE(nullptr);
    DISPOUTAT(0, 0, "x");
    EXPECT_EQ(INKEY(1), 0);
    EXPECT_TRUE(CONSOLE().settings().wrap);
}

TEST(ConsoleAdapter, ValueTextAsOutputShowsIt) {
    using platform::Decimal;
    using platform::Value;
    EXPECT_EQ(VALUE_TEXT(Value{std::string("ab ")}), "ab ");
    EXPECT_EQ(VALUE_TEXT(Value{Decimal(-7)}), "        -7");
    EXPECT_EQ(VALUE_TEXT(Value{*Decimal::parse("12.50")}), "        12.5");
    EXPECT_EQ(VALUE_TEXT(Value{true}), "T");
    EXPECT_EQ(VALUE_TEXT(Value{platform::Date()}), "  .  .    ");
    EXPECT_EQ(VALUE_TEXT(Value{}), "NIL");
}

}  // namespace
}  // namespace sklad
