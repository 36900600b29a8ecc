#include <gtest/gtest.h>

#include "../common/app_screen.h"
#include "operators/rights.h"
#include "shell/menu.h"
#include "shell/session.h"
#include "shell/settings.h"

using namespace sklad;

namespace {

class MenuTest : public sklad::testing::AppScreenTest {
  protected:
    void SetUp() override {
        M_PRAWA = std::string(20, ' ');
        M_PRAWA1 = std::string(20, 'N');
        M_PRAWA2 = "";
        M_NR = "1";
        K_GLOWNE = 3;
        K_ASORTYMENT = K_KONTRAHENCI = K_OBROTY = K_RAPORTY = K_SPECJALNE = 1;
        POM = 0;
    }
    void TearDown() override {
        M_PRAWA1 = std::string(20, 'N');
        M_PRAWA2 = "";
    }
    // Runs the main menu with `keys` (which must end it) and returns the last screen.
    void run(const char* keys) {
        hc.keys(keys);
        XYZ = SAVESCREEN();
        GLOWNE_MENU();
    }
};

}  // namespace

TEST_F(MenuTest, MainMenuShowsTheFiveEntriesClimbingUp) {
    std::string seen;
    SETKEY(K_ALT_Z, [&] { seen = hc.dump(); });
    run("Alt-Z Esc");  // Esc in the main menu ends the loop
    SETKEY(K_ALT_Z, {});
    EXPECT_NE(seen.find(" FUNKCJE SPECJALNE"), std::string::npos);
    EXPECT_EQ(hc.text(4, 1, 8), " MAGAZYN");
    EXPECT_EQ(hc.text(3, 13, 12), " ROZRACHUNKI");
    EXPECT_EQ(hc.text(2, 26, 7), " DOWODY");
    EXPECT_EQ(hc.text(1, 34, 8), " RAPORTY");
    EXPECT_EQ(K_GLOWNE, 0);
}

TEST_F(MenuTest, ProfileOneShowsOnlyDocuments) {
    M_PRAWA1 = "TNNNNNNNNNNNNNNNNNNN";
    std::string documents_menu;
    SETKEY(K_ALT_Z, [&] { documents_menu = hc.row_trimmed(12); });
    run("Enter Alt-Z Esc T");
    SETKEY(K_ALT_Z, {});
    EXPECT_EQ(hc.text(4, 1, 8), "        ");
    EXPECT_NE(documents_menu.find("Zmiana operatora"), std::string::npos);
}

TEST_F(MenuTest, LeftAndRightWalkTheSubmenusInARing) {
    std::vector<std::string> frames;
    SETKEY(K_ALT_Z, [&] { frames.push_back(hc.dump()); });
    // Documents, then Left to settlements, Left to stock, Left wraps to special functions.
    run("Enter Alt-Z Left Alt-Z Left Alt-Z Left Alt-Z Right Alt-Z Esc T");
    SETKEY(K_ALT_Z, {});
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_NE(frames[0].find("*Poprawa"), std::string::npos);
    EXPECT_NE(frames[1].find("Rozrachunki z odbiorcami"), std::string::npos);
    EXPECT_NE(frames[2].find("Kartoteki magazynowe"), std::string::npos);
    EXPECT_NE(frames[3].find("Kopiowanie zbior"), std::string::npos);
    EXPECT_NE(frames[4].find("Kartoteki magazynowe"), std::string::npos);
    EXPECT_EQ(K_GLOWNE, 0);
}

TEST_F(MenuTest, DenialTokens) {
    M_PRAWA2 = "-D03";
    bool denied = false;
    SETKEY(K_ALT_Z, [&] { denied = hc.dump().find("Brak praw, -D03") != std::string::npos; });
    hc.keys("Enter Down Down Enter Alt-Z");
    hc.pause(2.5);  // the message stands twice for a second
    run("Esc T");
    SETKEY(K_ALT_Z, {});
    EXPECT_TRUE(denied);
    EXPECT_EQ(K_OBROTY, 1);  // the previous position is kept
    EXPECT_TRUE(ZABRONIONE('M', 4) == false);
    M_PRAWA2 = "-M*";
    EXPECT_TRUE(ZABRONIONE('M', 4));
    EXPECT_FALSE(ZABRONIONE('D', 4));
}

TEST_F(MenuTest, EscInASubmenuAsksAndNoReopensIt) {
    int asked = 0;
    SETKEY(K_ALT_Z, [&] { asked += hc.row(17).find("CZY CHCESZ ZAKONCZYC PRACE ?") != std::string::npos; });
    run("Enter Esc Alt-Z N Esc Alt-Z T");
    SETKEY(K_ALT_Z, {});
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(K_GLOWNE, 0);
}

TEST_F(MenuTest, ExtraEntriesEndTheProgramWithTheirCode) {
    J_WITEK1 = "KONIEC DNIA";
    J_WITEK2 = "ZEROWANIE";
    K_GLOWNE = 5;
    hc.keys("Enter Up Enter");  // wraps from the first entry to the last: the second extra entry
    hc.keys("N");               // "Czy na pewno zerowac ?" answered no: the menu goes on
    hc.keys("Up Enter");
    try {
        XYZ = SAVESCREEN();
        GLOWNE_MENU();
        FAIL() << "the program should have ended";
    } catch (const ProgramEnd& end) {
        EXPECT_EQ(end.code, 101);
    }
    J_WITEK1 = J_WITEK2 = std::string(35, ' ');
}
