#include <gtest/gtest.h>

#include "app_screen.h"
#include "common/forms.h"
#include "common/kalk.h"

using namespace sklad;
using sklad::testing::AppScreenTest;

namespace {

class KalkTest : public AppScreenTest {
  protected:
    void SetUp() override {
        LX_KALK = 60;
        M_KALK = "";
        SETKEY(K_ALT_K, KALK);
    }
    void TearDown() override { SETKEY(K_ALT_K, {}); }

    // Reads one numeric field holding `start` while `keys` are typed; returns what the field ends with.
    Decimal on_field(const char* start, const char* keys) {
        Decimal qty = *Decimal::parse(start);
        __GET(5, 10, "QTY", [&] { return platform::Value(qty); },
              [&](const platform::Value& v) { qty = std::get<Decimal>(v); }, "99999.999");
        hc.keys(keys);
        READMODAL();
        return qty;
    }
    // What the calculator shows on its entry row.
    std::string entry() { return hc.text(23, LX_KALK, 19); }
};

}  // namespace

TEST_F(KalkTest, QuantityFieldStartsFromZeroAndTakesTheResult) {
    EXPECT_EQ(on_field("5", "Alt-K 1 2 * 3 Enter Esc Enter"), Decimal(36));
}

TEST_F(KalkTest, StartsFromALargerFieldValue) {
    EXPECT_EQ(on_field("20", "Alt-K + 5 Enter Esc Enter"), Decimal(25));
    EXPECT_EQ(on_field("100", "Alt-K / 0 Enter Esc Enter"), Decimal(0));  // division by zero gives 0
}

TEST_F(KalkTest, EntryRules) {
    bool checked = false;
    SETKEY(K_ALT_Z, [&] {
        checked = true;
        EXPECT_EQ(entry(), "        1 234 567.5");
    });
    // A lone zero is replaced, a second point ignored, Backspace drops the last character.
    hc.keys("Alt-K 0 1 2 3 4 5 6 7 , 5 . 9 Backspace Alt-Z Esc x");
    INKEY(0);
    EXPECT_TRUE(checked);
    EXPECT_EQ(hc.row_trimmed(23), "");  // closed: the screen is back
}

TEST_F(KalkTest, ResultsAreRoundedAndOverflowShowsAsterisks) {
    std::string shown;
    SETKEY(K_ALT_Z, [&] { shown = entry(); });
    hc.keys("Alt-K 1 0 / 3 Enter Alt-Z Esc x");
    INKEY(0);
    EXPECT_EQ(shown, "           3.333333");
    hc.keys("Alt-K 9 9 9 9 9 9 9 9 9 * 9 9 9 9 9 9 9 9 Enter Alt-Z Esc x");
    INKEY(0);
    EXPECT_EQ(shown, "*** *** *** *** ***");
}

TEST_F(KalkTest, MemoryAndMinusSign) {
    std::string shown;
    SETKEY(K_ALT_Z, [&] { shown = entry(); });
    hc.keys("Alt-K - 7 Alt-Z Esc x");
    INKEY(0);
    EXPECT_EQ(shown, "                 -7");
    hc.keys("Alt-K 4 2 M Esc x");
    INKEY(0);
    EXPECT_EQ(M_KALK, "42");
    hc.keys("Alt-K 1 + N Alt-Z Esc x");  // N types the stored number back in
    INKEY(0);
    EXPECT_EQ(shown, "                 42");
    EXPECT_EQ(M_KALK, "");
}

TEST_F(KalkTest, MovesWithLeftAndRightWithinItsLimits) {
    hc.keys("Alt-K Left Left Esc x");
    INKEY(0);
    EXPECT_EQ(LX_KALK, 58);
    hc.keys("Alt-K Right Right Right Right Esc x");
    INKEY(0);
    EXPECT_EQ(LX_KALK, 60);
}
