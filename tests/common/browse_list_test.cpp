#include "common/browse_list.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/colours.h"
#include "sample_cardfile.h"

using namespace sklad;
using namespace sklad::sample;

namespace {

// Lists run as HELP runs them: F1 reaches the list as a key.
class BrowseListTest : public CardFileTest {
  protected:
    void SetUp() override {
        CardFileTest::SetUp();
        SETKEY(K_F1, {});
    }
    std::size_t tones() { return hc.backend().tones().size(); }
};

// The group picker's list over `grupy`, its type-ahead on the code.
BrowseList group_picker() {
    DBSELECTAREA("GR");
    BrowseList l = BROWSE_LIST(3, 30, 20, 70);
    l.browse->add_column(TBCOLUMNNEW("Kod", "KOD"));
    l.browse->add_column(TBCOLUMNNEW("Nazwa grupy", "NAZWA"));
    l.search.orders = {{8, 11, "", false, {}}};
    return l;
}

TEST_F(BrowseListTest, PickerKeys) {
    struct Case {
        const char* keys;
        bool chosen;
        const char* record;
        std::size_t tones;
    };
    const Case cases[] = {
        {"Enter", true, "G0001", 0},
        {"Down Down Enter", true, "G0003", 0},
        {"PgDn Up Enter", true, "G0017", 0},  // 17 rows a page
        {"Ctrl-PgDn Enter", true, "G0040", 0},
        {"g 0 0 2 5 Enter", true, "G0025", 0},
        {"g 0 0 2 x Enter", true, "G0020", 0},  // x extends no code
        {"g 0 0 2 Down Backspace Enter", true, "G0001", 0},  // a move empties the buffer; Backspace seeks ""
        {"Down Esc", false, "G0002", 0},
        {"F1", false, "G0001", 0},
        {"F5 Esc", false, "G0001", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        const std::size_t before = tones();
        BrowseList l = group_picker();
        DBGOTOP();
        hc.keys(c.keys);
        EXPECT_EQ(BROWSE_LOOP(l), c.chosen);
        EXPECT_EQ(field("KOD"), c.record);
        EXPECT_EQ(tones() - before, c.tones);
    }
    EXPECT_EQ(hc.backend().tones().back().frequency, 3000);
}

TEST_F(BrowseListTest, TheToneMarkerFileSilencesUnknownKeys) {
    std::ofstream("TONE.---") << "";
    BrowseList l = group_picker();
    hc.keys("F5 Esc");
    BROWSE_LOOP(l);
    EXPECT_EQ(tones(), 0u);
}

TEST_F(BrowseListTest, TabChangesTheOrderAndTheTypeAheadFollowsIt) {
    DBSELECTAREA("TW");
    BrowseList l = BROWSE_LIST(2, 1, 22, 78);
    l.browse->add_column(TBCOLUMNNEW("Indeks", "INDEKS"));
    l.browse->add_column(TBCOLUMNNEW("Nazwa", "NAZWA"));
    l.search.orders = {{9, 0, "", true, {}}, {30, 11, "", false, {}}};
    std::string line;
    SETKEY(K_ALT_Y, [&] { line = hc.row_trimmed(24); });
    hc.keys("Alt-Y Tab Alt-Y");
    hc.type("ż");
    hc.keys("Enter");
    EXPECT_TRUE(BROWSE_LOOP(l));
    SETKEY(K_ALT_Y, {});
    EXPECT_EQ(current(), "1A0152");
    EXPECT_EQ(INDEXORD(), 2);
    EXPECT_EQ(line, "Klucz : UPPER(NAZWA)");
    EXPECT_EQ(hc.text(1, 0, 3), "╔══") << "a double frame one character outside the list";
    EXPECT_EQ(hc.text(23, 79, 1), "╝");
}

TEST_F(BrowseListTest, AnEmptyWarehouseAndCodeBufferMayBeginWithTheMainWarehouse) {
    DBSELECTAREA("TW");
    BrowseList l = BROWSE_LIST(2, 1, 22, 78);
    l.browse->add_column(TBCOLUMNNEW("Indeks", "INDEKS"));
    l.search.orders = {{9, 0, "", true, [] { return std::string("2"); }}};
    std::string line;
    SETKEY(K_ALT_Y, [&] { line = hc.text(24, 0, 8); });
    hc.keys("a 0 2 5 Alt-Y 0 Enter");
    EXPECT_TRUE(BROWSE_LOOP(l));
    SETKEY(K_ALT_Y, {});
    EXPECT_EQ(current(), "2A0250");
    EXPECT_EQ(line, "2 A025▬ ");
}

TEST_F(BrowseListTest, AnOperatorListLightsItsRowAndActsOnEnter) {
    DBSELECTAREA("TW");
    BrowseList l = BROWSE_LIST(2, 1, 12, 60, false);
    l.browse->set_colour_spec(std::string(COLOUR_OPERATORS));
    l.browse->add_column(TBCOLUMNNEW("M", "MAG"));
    l.browse->add_column(TBCOLUMNNEW("Indeks", "INDEKS"));
    l.browse->add_column(TBCOLUMNNEW("Nazwa", "NAZWA"));
    l.lit = {4, 4};
    l.unlit = {2, 2};
    std::vector<std::string> acted;
    l.keys = [&](int key) {
        if (key != K_ENTER) return BL_UNKNOWN;
        acted.push_back(current());
        return BL_REFRESH;
    };
    std::string lit;
    int column = 0;
    SETKEY(K_ALT_Y, [&] {
        lit = hc.colour(4, 1) + " " + hc.colour(4, 20) + " " + hc.colour(5, 1);
        column = l.browse->col_pos();
    });
    hc.keys("Down Right Right Left Alt-Y Enter Down Enter Esc");
    EXPECT_FALSE(BROWSE_LOOP(l)) << "only pickers choose";
    SETKEY(K_ALT_Y, {});
    EXPECT_EQ(acted, (std::vector<std::string>{"1A0002", "1A0003"}));
    EXPECT_EQ(lit, "N/GR N/GR W/N") << "the current row lit with pair 4";
    EXPECT_EQ(column, 2) << "Left and Right move one column";
    EXPECT_EQ(hc.colour(5, 1), "N/W") << "unlit with pair 2 when the list is left";
}

TEST_F(BrowseListTest, FreshOrderKeepsTheRecordAndRepaintsAtThePhantomRecord) {
    DBSELECTAREA("TW");
    BrowseList l = BROWSE_LIST(2, 1, 12, 60, false);
    l.browse->add_column(TBCOLUMNNEW("Indeks", "INDEKS"));
    DBGOTO(150);
    FRESHORDER(l);
    EXPECT_EQ(RECNO(), 150);
    EXPECT_EQ(hc.text(3, 1, 5), "A0150");
    DBGOBOTTOM();
    DBSKIP(1);
    ASSERT_TRUE(EOF());
    FRESHORDER(l);
    EXPECT_TRUE(EOF()) << "the pointer stays past the end";
}

}  // namespace
