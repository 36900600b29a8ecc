#include "platform/console/dbedit.h"

#include <gtest/gtest.h>

#include "platform/console/console_fixture.h"
#include "platform/console/keys.h"
#include "platform/text/cp852.h"
#include "list_source.h"

namespace platform::console {
namespace {

using testing::ListSource;
using testing::numbered_rows;

// A card-file list: rows 15..23, headings on 15, data rows 17..22.
class DbeditTest : public testing::ConsoleTest {
  protected:
    ListSource list;
    DbeditSpec spec;
    std::vector<std::string> calls;  // "mode/column/current row"

    void SetUp() override {
        spec.columns = {[this] { return Value(list.current()); }, [this] { return Value(Decimal(list.pos + 1)); }};
        spec.pictures = {"", "9999"};
        spec.headings = {"Nazwa", "  Nr"};
        spec.head_sep = std::string("┼─"_852);
        spec.col_sep = std::string("│"_852);
        spec.foot_sep = std::string("┴─"_852);
    }
    void run() { dbedit(con(), 15, 0, 23, 40, list.source(), spec); }
    void log(int mode, int col) {
        calls.push_back(std::to_string(mode) + "/" + std::to_string(col) + "/" + list.current());
    }
};

TEST_F(DbeditTest, CallsBackWithModesAndHonoursAnswers) {
    list.rows = numbered_rows(10);
    spec.user = [&](int mode, int col) {
        log(mode, col);
        if (mode != DE_EXCEPT) return DE_CONT;
        switch (con().lastkey()) {
            case K_F4:
                list.rows[static_cast<std::size_t>(list.pos)] = "Chg 04";  // changed the row: repaint
                return DE_REFRESH;
            case K_ESC: return DE_ABORT;
            default: return DE_CONT;
        }
    };
    hc.keys("Right Up Ctrl-PgDn Down PgUp F4 x Esc");
    run();
    std::vector<std::string> expected = {
        "0/2/Row 01",   // Right: a movement key, handled, then idle
        "1/2/Row 01",   // Up on the first row
        "0/2/Row 10",   // Ctrl-PgDn: last row
        "2/2/Row 10",   // Down on the last row
        "0/2/Row 04",   // PgUp: six rows back, the view stops at the first row
        "4/2/Row 04",   // F4: an exception
        "4/2/Chg 04",   // x
        "4/2/Chg 04",   // Esc: the callback leaves
    };
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(hc.text(15, 0, 11), "Nazwa    Nr");
    EXPECT_EQ(hc.text(16, 0, 11), "──────┼────");
    EXPECT_EQ(hc.text(17, 0, 11), "Row 01│   1");
    EXPECT_EQ(hc.text(20, 0, 11), "Chg 04│   4");
    EXPECT_EQ(hc.text(22, 0, 11), "Row 06│   6");
    EXPECT_EQ(hc.text(23, 0, 11), "──────┴────");
}

TEST_F(DbeditTest, EmptySourceReportsEmptyAndARepaintShowsWhatWasAdded) {
    spec.user = [&](int mode, int col) {
        log(mode, col);
        if (mode == DE_EMPTY && con().lastkey() == K_DOWN) {
            list.rows.push_back("New");
            list.pos = 0;
            return DE_REFRESH;
        }
        return mode == DE_EXCEPT ? DE_ABORT : DE_CONT;
    };
    hc.keys("Down Esc");
    run();
    std::vector<std::string> expected = {"3/1/", "4/1/New"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(hc.text(17, 0, 10), "New  │   1");
}

TEST_F(DbeditTest, WithoutCallbackEnterLeavesOnTheCurrentRow) {
    list.rows = numbered_rows(4);
    hc.keys("Down Down F2 Enter");
    run();
    EXPECT_EQ(list.current(), "Row 03");
    EXPECT_EQ(hc.colour(19, 0), colour_name(con().colour().enhanced()));
}

}  // namespace
}  // namespace platform::console
