#include "common/lists.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app_screen.h"
#include "common/console.h"
#include "platform/console/list_source.h"
#include "platform/text/cp852.h"

using namespace sklad;
using platform::console::testing::ListSource;
using platform::console::testing::numbered_rows;
using sklad::testing::AppScreenTest;

namespace {

// A work area held in memory: NAZWA is the row's text, NR its number.
class ListsTest : public AppScreenTest {
  protected:
    ListSource area;
    void SetUp() override {
        area.rows = numbered_rows(12, "Towar ");
        SET_WORKAREA_ROWS([this] {
            WorkAreaRows w;
            w.rows = area.source();
            w.compile = [this](std::string_view text) -> std::function<platform::Value()> {
                if (text == "NAZWA") return [this] { return platform::Value(area.current()); };
                if (text == "NR") return [this] { return platform::Value(platform::Decimal(area.pos + 1)); };
                throw std::invalid_argument("unknown column");
            };
            return w;
        });
    }
    void TearDown() override { SET_WORKAREA_ROWS({}); }
};

TEST_F(ListsTest, DbeditOverTheSelectedWorkArea) {
    std::vector<int> modes;
    hc.keys("Right Down F4 Esc");
    DBEDIT(15, 0, 23, 79, {"NAZWA", "NR"},
           [&](int mode, int col) {
               modes.push_back(mode * 10 + col);
               return LASTKEY() == K_ESC ? DE_ABORT : DE_CONT;
           },
           {"", "999"}, {"Nazwa"}, "┼─"_852, "│"_852, "┴─"_852);
    EXPECT_EQ(modes, (std::vector<int>{2, 2, 42, 42}));
    EXPECT_EQ(hc.text(15, 0, 11), "Nazwa    NR");  // the second heading is its expression
    EXPECT_EQ(hc.text(18, 0, 12), "Towar 02│  2");
    EXPECT_EQ(area.current(), "Towar 02");
}

TEST_F(ListsTest, BrowseWithColumnsFromTextAndCallbacks) {
    auto b = TBROWSEDB(2, 1, 8, 30);
    b->add_column(TBCOLUMNNEW("Nazwa", "NAZWA"));
    b->add_column(TBCOLUMNNEW("Kod", [this] { return platform::Value(std::string("K") + area.current().substr(6)); }));
    b->set_colour_spec("W/N,N/W,W+/R");
    b->stabilize();
    EXPECT_EQ(hc.text(2, 1, 12), "Nazwa    Kod");
    EXPECT_EQ(hc.text(3, 1, 12), "Towar 01 K01");
    b->page_down();
    b->stabilize();
    EXPECT_EQ(area.current(), "Towar 07");
    // The program's lit row: the whole row in the list's third pair while it waits for a key.
    b->colour_rect(b->row_pos(), 1, b->row_pos(), b->col_count(), {3, 3});
    EXPECT_EQ(hc.colour(3, 1), "W+/R");
    EXPECT_EQ(hc.colour(3, 10), "W+/R");
    EXPECT_THROW(TBCOLUMNNEW("Bad", "NOSUCH"), std::invalid_argument);
}

TEST(ListsWithoutData, NoWorkAreasIsAnError) {
    SET_WORKAREA_ROWS({});
    EXPECT_THROW(TBROWSEDB(0, 0, 5, 5), std::logic_error);
}

}  // namespace
