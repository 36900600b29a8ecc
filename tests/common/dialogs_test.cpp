#include <gtest/gtest.h>

#include "app_screen.h"
#include "common/dialogs.h"
#include "platform/text/cp852.h"

using namespace sklad;
using sklad::testing::AppScreenTest;

using DialogsTest = AppScreenTest;

TEST_F(DialogsTest, OknoDrawsTheQuestionAndRestoresTheScreen) {
    DISPOUTAT(17, 40, "underneath");
    SETPOS(3, 4);
    bool seen = false;
    SETKEY(K_ALT_Z, [&] {  // look at the window while it waits
        seen = true;
        EXPECT_EQ(hc.text(17, 31, 41), "         Czy zapisac dokument ?          ");
        EXPECT_EQ(hc.text(19, 38, 16), "      [T/N]  ? N");
        EXPECT_EQ(hc.colour(19, 53), "W+/R");
        EXPECT_EQ(hc.colour(15, 30), "N/W");
    });
    hc.keys("Alt-Z x Esc t");
    EXPECT_TRUE(OKNO("Czy zapisac dokument ?", "N"));
    EXPECT_TRUE(seen);
    EXPECT_EQ(hc.text(17, 40, 10), "underneath");
    EXPECT_EQ(ROW(), 3);
    EXPECT_EQ(COL(), 4);
    SETKEY(K_ALT_Z, {});
}

TEST_F(DialogsTest, OknoAnswers) {
    struct Case {
        const char* keys;
        const char* def;
        bool answer;
    } cases[] = {
        {"Enter", "T", true}, {"Enter", "N", false}, {"n", "T", false}, {"N", "T", false},
        {"Enter Esc T", " ", true},  // a blank default ignores Enter and Esc
        {"Enter Esc n", " ", false},
    };
    for (const auto& c : cases) {
        hc.keys(c.keys);
        EXPECT_EQ(OKNO("CZY ?", c.def), c.answer) << c.keys << " default '" << c.def << "'";
    }
    EXPECT_TRUE(OKNO("CZY ?", "N", "T"));  // bypassed: nothing drawn, no key read
    EXPECT_EQ(hc.row_trimmed(15), "");
}

TEST_F(DialogsTest, CzyDodacIsAskedInYellow) {
    bool seen = false;
    SETKEY(K_ALT_Z, [&] { seen = hc.colour(17, 42) == "GR+/N"; });
    hc.keys("Alt-Z T");
    OKNO("czy dodac pozycje ?", "T");
    EXPECT_TRUE(seen);
    SETKEY(K_ALT_Z, {});
}

TEST_F(DialogsTest, MessageWindowTimings) {
    auto start = hc.clock().seconds();
    _OKNO_("Brak miejsca");
    EXPECT_NEAR(hc.clock().seconds() - start, 1.0, 0.01);
    EXPECT_EQ(hc.row_trimmed(17), "");  // restored

    start = hc.clock().seconds();
    hc.pause(0.3);
    hc.keys("Enter");  // a key ends the wait early
    _OKNO_("Plik niedostepny", 5.0);
    EXPECT_NEAR(hc.clock().seconds() - start, 0.3, 0.01);

    _OKNO_("Czekaj ...", "...");  // left on screen
    EXPECT_NE(hc.row(17).find("Czekaj ..."), std::string::npos);
}

TEST_F(DialogsTest, KoniecSetsKoncowka) {
    KONCOWKA = false;
    hc.keys("Enter");
    EXPECT_TRUE(KONIEC());
    EXPECT_TRUE(KONCOWKA);
    KONCOWKA = false;
    hc.keys("n");
    EXPECT_FALSE(KONIEC());
    EXPECT_FALSE(KONCOWKA);
}

TEST_F(DialogsTest, Haslo) {
    EXPECT_TRUE(HASLO(""));  // no password, no window
    hc.type("tajne");
    hc.keys("Enter");
    EXPECT_TRUE(HASLO("TAJNE"));  // letter case ignored
    hc.type("zle");
    hc.keys("Enter");
    hc.type("tajne");
    hc.keys("Enter");
    EXPECT_TRUE(HASLO("tajne"));  // second attempt
    hc.type("zle");
    hc.keys("Enter");
    hc.type("znowu");
    hc.keys("Enter");
    EXPECT_FALSE(HASLO("tajne"));
    EXPECT_EQ(hc.row_trimmed(17), "");  // restored in every case
    hc.type("abc");
    hc.keys("Enter");
    auto r = HASLO("HASLO");
    EXPECT_TRUE(r);
    EXPECT_EQ(r.text, "ABC       ");
}

TEST_F(DialogsTest, MaskedEntryShowsAsterisksAndTakesBackspace) {
    hc.type("ab");
    hc.keys("Backspace");
    hc.type("cdefghijklm");  // stops at ten characters
    EXPECT_EQ(GET_HHHHH(5, 10), "ACDEFGHIJK");
    EXPECT_EQ(hc.text(5, 10, 10), "**********");
    EXPECT_FALSE(CONSOLE().settings().confirm);
    EXPECT_EQ(NEXTKEY(), 'l');  // the rest stays in the buffer
}

TEST_F(DialogsTest, FrameAndBankAmounts) {
    RAMKA(2, 5, 8, 20, 5);
    EXPECT_EQ(hc.text(2, 5, 1), "│");
    EXPECT_EQ(hc.text(3, 6, 2), "▀▀");
    EXPECT_EQ(hc.text(8, 5, 3), "└──");
    EXPECT_EQ(hc.text(8, 20, 1), "┘");
    EXPECT_EQ(hc.text(5, 6, 2), "──");
    EXPECT_EQ(hc.text(2, 6, 2), "  ");  // no top line
    EXPECT_EQ(TR_BANK(*platform::Decimal::parse("1234.5"), "99999999.99"), "    1234,50");
    EXPECT_EQ(TR_BANK(*platform::Decimal::parse("12"), "9999.99 zl"), "  12,00.zl");
}
