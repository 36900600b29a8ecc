#include "platform/console/menu.h"

#include <gtest/gtest.h>

#include "platform/console/console_fixture.h"

namespace platform::console::testing {
namespace {

// The main menu: five entries climbing from the bottom left to the top right.
std::vector<MenuItem> main_menu() {
    auto pad = [](std::string s, std::size_t w) {
        s.resize(w, ' ');
        return s;
    };
    return {{4, 1, pad(" MAGAZYN", 35), ""},
            {3, 13, pad(" ROZRACHUNKI", 28), ""},
            {2, 26, pad(" DOWODY", 24), ""},
            {1, 34, pad(" RAPORTY", 42), ""},
            {0, 43, pad(" FUNKCJE SPECJALNE", 37), ""}};
}

class MenuTest : public ConsoleTest {
  protected:
    void SetUp() override {
        con().settings().wrap = true;
        con().set_colour("W/N,W+/B");
    }
};

TEST_F(MenuTest, ArrowsMoveTheLightBarAndWrapAtBothEnds) {
    struct Case {
        const char* keys;
        int initial;
        int chosen;
    } cases[] = {
        {"Enter", 3, 3},           {"Down Down Enter", 3, 5},  {"Down Down Down Enter", 3, 1},
        {"Up Enter", 1, 5},        {"Right Right Enter", 4, 1}, {"Left Enter", 2, 1},
        {"End Home Down PgDn", 3, 2}, {"Up Esc", 3, 0},        {"Enter", 9, 1},
    };
    for (const auto& c : cases) {
        hc.keys(c.keys);
        EXPECT_EQ(menu_to(con(), main_menu(), c.initial), c.chosen) << c.keys << " from " << c.initial;
        EXPECT_EQ(hc.backend().pending(), 0u) << c.keys;
    }
}

TEST_F(MenuTest, OnlyTheCurrentPromptIsLitAndStaysLitWhenChosen) {
    hc.keys("Down");
    hc.keys("Enter");
    EXPECT_EQ(menu_to(con(), main_menu(), 2), 3);
    EXPECT_EQ(hc.text(2, 26, 7), " DOWODY");
    EXPECT_EQ(hc.colour(2, 27), "W+/B");
    EXPECT_EQ(hc.colour(3, 14), "W/N");  // the prompt it left is plain again
    EXPECT_EQ(hc.colour(0, 44), "W/N");
    EXPECT_EQ(hc.text(0, 43, 18), " FUNKCJE SPECJALNE");
}

TEST_F(MenuTest, WithoutWrapTheBarStopsAtTheEnds) {
    con().settings().wrap = false;
    hc.keys("Up Up Enter");
    EXPECT_EQ(menu_to(con(), main_menu(), 1), 1);
    hc.keys("Down Down Enter");
    EXPECT_EQ(menu_to(con(), main_menu(), 5), 5);
}

TEST_F(MenuTest, FirstCharacterOfAPromptChoosesIt) {
    std::vector<MenuItem> small = {{15, 54, "1.szukanie kwoty  ", ""}, {16, 54, "2.szukanie faktury", ""}};
    hc.keys("2");
    EXPECT_EQ(menu_to(con(), small, 1), 2);
    std::vector<MenuItem> sub = {{6, 1, " Kartoteki magazynowe", ""},
                                 {8, 1, " Oferta handlowa", ""},
                                 {9, 1, " Automatyczne wystawianie zamowien", ""},
                                 {10, 1, "*Poprawa", ""},
                                 {11, 1, " oferta druga", ""}};
    hc.keys("o");  // the next one after the current, letter case does not matter
    EXPECT_EQ(menu_to(con(), sub, 2), 5);
    hc.keys("*");
    EXPECT_EQ(menu_to(con(), sub, 1), 4);
    hc.keys("z Enter");  // a letter no prompt starts with does nothing
    EXPECT_EQ(menu_to(con(), sub, 1), 1);
}

TEST_F(MenuTest, LeftAndRightBoundInASubmenuWalkToTheNeighbouringMenu) {
    // The submenu binds Left to a routine that closes it and moves the main menu one entry back.
    int jumps = 0;
    con().keyboard().set_key(K_LEFT, [&] {
        ++jumps;
        con().keyboard().clear();
        for (int k : {K_ENTER, K_UP, K_ENTER}) con().keyboard().put(k);
    });
    std::vector<MenuItem> sub = {{4, 26, " Edycja", ""}, {5, 26, " Wyswietlanie", ""}};
    hc.keys("Down Left");
    EXPECT_EQ(menu_to(con(), sub, 1), 2);  // closed by the routine's Enter
    con().keyboard().set_key(K_LEFT, {});
    EXPECT_EQ(menu_to(con(), main_menu(), 3), 2);  // Up, Enter from the type-ahead
    EXPECT_EQ(jumps, 1);
}

TEST_F(MenuTest, MessageOfTheLitPromptOnTheMessageRow) {
    con().settings().message_row = 24;
    con().settings().message_centre = true;
    std::vector<MenuItem> items = {{5, 5, " Tak ", "Zapisz zmiany"}, {6, 5, " Nie ", "Porzuc"}};
    hc.keys("Down Enter");
    EXPECT_EQ(menu_to(con(), items, 1), 2);
    EXPECT_EQ(hc.row_trimmed(24), std::string(37, ' ') + "Porzuc");
    // Prompts without messages leave the row alone (it holds the key hints).
    con().out_at(24, 0, "F1-pomoc");
    hc.keys("Enter");
    menu_to(con(), main_menu(), 1);
    EXPECT_EQ(hc.text(24, 0, 8), "F1-pomoc");
}

}  // namespace
}  // namespace platform::console::testing
