#include "platform/console/browse.h"

#include <gtest/gtest.h>

#include "platform/console/console_fixture.h"
#include "platform/text/cp852.h"
#include "list_source.h"

namespace platform::console {
namespace {

using testing::ListSource;
using testing::numbered_rows;

std::string rep(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// Rows 2..9, columns 10..40: headings on row 2, separator on 3, data rows 4..8, separator on 9.
class BrowseTest : public testing::ConsoleTest {
  protected:
    ListSource list;
    std::unique_ptr<Browse> b;

    void make(std::vector<std::string> rows) {
        list.rows = std::move(rows);
        b = std::make_unique<Browse>(con(), 2, 10, 9, 40, list.source());
        b->add_column({"Nazwa", [this] { return Value(list.current()); }});
        b->add_column({"Nr", [this] { return Value(Decimal(list.pos + 1)); }, "999"});
        b->set_head_sep(std::string("─┼─"_852));
        b->set_col_sep(std::string(" │ "_852));
        b->set_foot_sep(std::string("─┴─"_852));
        b->set_colour_spec("W/N,N/W,W+/R");
    }
    std::string data(int row) { return hc.text(4 + row - 1, 10, 12); }
};

TEST_F(BrowseTest, MovesPagesAndLightsTheCurrentCell) {
    make(numbered_rows(20));
    b->stabilize();
    EXPECT_EQ(hc.text(2, 10, 12), "Nazwa    Nr ");
    EXPECT_EQ(hc.text(3, 10, 31), rep("─", 7) + "┼" + rep("─", 23));
    EXPECT_EQ(data(1), "Row 01 │   1");
    EXPECT_EQ(data(5), "Row 05 │   5");
    EXPECT_EQ(hc.text(9, 10, 9), rep("─", 7) + "┴─");
    EXPECT_EQ(hc.colour(4, 10), "N/W");
    EXPECT_EQ(hc.colour(4, 19), "W/N");

    b->down();
    b->down();
    b->stabilize();
    EXPECT_EQ(b->row_pos(), 3);
    EXPECT_EQ(list.current(), "Row 03");
    EXPECT_EQ(hc.colour(6, 10), "N/W");
    EXPECT_EQ(hc.colour(4, 10), "W/N");

    b->page_down();  // a page further, on the same screen row
    b->stabilize();
    EXPECT_EQ(b->row_pos(), 3);
    EXPECT_EQ(list.current(), "Row 08");
    EXPECT_EQ(data(1), "Row 06 │   6");

    b->go_bottom();
    b->stabilize();
    EXPECT_EQ(b->row_pos(), 5);
    EXPECT_EQ(data(1), "Row 16 │  16");
    EXPECT_EQ(data(5), "Row 20 │  20");

    b->down();
    b->stabilize();
    EXPECT_TRUE(b->hit_bottom());
    EXPECT_EQ(list.current(), "Row 20");

    b->page_up();
    b->stabilize();
    EXPECT_FALSE(b->hit_bottom());
    EXPECT_EQ(list.current(), "Row 15");
    EXPECT_EQ(data(1), "Row 11 │  11");

    b->go_top();
    b->up();
    b->stabilize();
    EXPECT_TRUE(b->hit_top());
    EXPECT_EQ(list.current(), "Row 01");

    // A page up that cannot go a whole page stops on the first row, shown at the top.
    b->down();
    b->down();
    b->page_down();
    b->page_up();
    b->page_up();
    b->stabilize();
    EXPECT_EQ(b->row_pos(), 1);
    EXPECT_EQ(list.current(), "Row 01");
    EXPECT_EQ(hc.colour(4, 10), "N/W");

    // Lighting the whole row with a colour pair of the list.
    b->colour_rect(1, 1, 1, 2, {3, 3});
    EXPECT_EQ(hc.colour(4, 10), "W+/R");
    EXPECT_EQ(hc.colour(4, 19), "W+/R");
    EXPECT_EQ(hc.colour(5, 10), "W/N");
}

TEST_F(BrowseTest, PagingPastTheEndFillsTheView) {
    make(numbered_rows(8));
    b->stabilize();
    b->page_down();
    b->stabilize();
    EXPECT_EQ(list.current(), "Row 06");
    EXPECT_EQ(b->row_pos(), 3);
    EXPECT_EQ(data(1), "Row 04 │   4");
    EXPECT_EQ(data(5), "Row 08 │   8");
}

TEST_F(BrowseTest, ShortSourceAndChangesMadeElsewhere) {
    make(numbered_rows(3));
    b->go_bottom();
    b->stabilize();
    EXPECT_EQ(b->row_pos(), 3);
    EXPECT_EQ(data(3), "Row 03 │   3");
    EXPECT_EQ(data(4), "       │    ");

    // Another user removed the middle row: a full refresh shows the list as it is now.
    list.rows.erase(list.rows.begin() + 1);
    list.pos = 1;
    b->refresh_all();
    b->stabilize();
    EXPECT_EQ(data(1), "Row 01 │   1");
    EXPECT_EQ(data(2), "Row 03 │   2");
    EXPECT_EQ(data(3), "       │    ");
    EXPECT_EQ(b->row_pos(), 2);

    list.rows[1] = "Row 33";
    b->refresh_current();
    b->stabilize();
    EXPECT_EQ(data(2), "Row 33 │   2");
}

TEST_F(BrowseTest, EmptySourceShowsHeadingsAndBlankRows) {
    make({});
    b->stabilize();
    EXPECT_TRUE(b->empty());
    EXPECT_EQ(hc.text(2, 10, 5), "Nazwa");
    EXPECT_EQ(hc.text(4, 10, 12), "      │     ");
}

TEST_F(BrowseTest, ColumnsScrollAcrossAWideList) {
    list.rows = numbered_rows(3);
    Browse w(con(), 0, 0, 5, 19, list.source());
    for (int i = 1; i <= 4; ++i)
        w.add_column({"Kol" + std::to_string(i), [this, i] { return Value(std::to_string(i) + list.current()); }});
    w.stabilize();
    EXPECT_EQ(w.left_visible(), 1);
    EXPECT_EQ(w.right_visible(), 2);
    EXPECT_EQ(hc.text(1, 0, 15), "1Row 01 2Row 01");
    w.right();
    w.right();
    w.stabilize();
    EXPECT_EQ(w.col_pos(), 3);
    EXPECT_EQ(w.left_visible(), 2);
    EXPECT_EQ(hc.text(0, 0, 15), "Kol2    Kol3   ");
    w.pan_end();
    w.stabilize();
    EXPECT_EQ(w.left_visible(), 3);
    EXPECT_EQ(w.col_pos(), 4);
    w.pan_home();
    w.stabilize();
    EXPECT_EQ(w.col_pos(), 1);
    EXPECT_EQ(hc.text(0, 0, 4), "Kol1");
}

}  // namespace
}  // namespace platform::console
