// The operator change on the headless console: login, logout, leaving the list, the session a
// login sets up and the workstation slot it marks.
#include <fstream>

#include "operators_fixture.h"

namespace sklad::testing {
namespace {

const std::vector<Operator> kStaff = {
    {"0", "Szef Jan", "SZEF", std::string(20, 'T')},
    {"1", "Nowak Anna", "ANNA", "NTTTTTTTTTTTTTTTT", "NNNNNNNN", "EPSON", "-D03"},
    {"2", "Kowal Piotr", "", "TNNNNNNNNNNNNNNNN"},
    {"3", "Lis Ewa", "EWA", "NNN", "NNNNNNNT", "FP-600 COM1"},
};

class LoginTest : public OperatorTest {
  protected:
    void SetUp() override {
        OperatorTest::SetUp();
        make_prawa(kStaff);
    }
    // Rows of the screen captured while the list waits, each time Alt-Z is pressed.
    std::vector<std::string> captured;
    void capture(std::initializer_list<int> rows) {
        std::vector<int> r(rows);
        SETKEY(K_ALT_Z, [this, r] {
            std::string s;
            for (int i : r) s += row(i) + "|";
            captured.push_back(s);
        });
    }
    void TearDown() override {
        SETKEY(K_ALT_Z, {});
        OperatorTest::TearDown();
    }
};

TEST_F(LoginTest, TheRightPasswordLogsInAndTheRecordGoesIntoTheSession) {
    keys("Down Enter");
    type("ANNA");
    keys("Enter");
    EXPECT_TRUE(ZMIANAOPERATORA());
    EXPECT_EQ(M_NR, "1");
    EXPECT_EQ(M_NAZWISKO, pad("Nowak Anna", 30));
    EXPECT_EQ(M_PRAWA, pad("NTTTTTTTTTTTTTTTT", 20));
    EXPECT_FALSE(PRAWA(1));
    EXPECT_TRUE(PRAWA(2));
    EXPECT_EQ(M_PRAWA1, pad("NNNNNNNN", 20));
    EXPECT_EQ(M_PRAWA2, "-D03") << "trimmed";
    EXPECT_TRUE(MENU_ZABRONIONE('D', 3));
    EXPECT_EQ(M_NR_KASY, "1") << "a blank register is register 1";
    EXPECT_EQ(M_DRUKARKA, pad("EPSON", 30));
    EXPECT_FALSE(TOJESTKASA);
    EXPECT_EQ(SELECT("prawa"), 0) << "the list closes its table";
    EXPECT_EQ(backend->queue.pending(), 0u);
}

TEST_F(LoginTest, AWrongPasswordIsRefusedAsOftenAsItIsTyped) {
    for (const char* wrong : {"ANA", "", "ANNA1"}) {
        keys("Down Enter");
        type(wrong);
        keys("Enter");
        pause();
        keys("Up");  // back to the top, as the next round expects
    }
    keys("Down Enter");
    type("ANNA");
    keys("Enter");
    EXPECT_TRUE(ZMIANAOPERATORA());
    EXPECT_EQ(M_NR, "1");
    int refusals = 0;
    for (const std::string& m : messages()) refusals += m == "Błednie podane hasło";
    EXPECT_EQ(refusals, 3);
}

TEST_F(LoginTest, ABlankPasswordIsNotAsked) {
    keys("Down Down Enter");
    EXPECT_TRUE(ZMIANAOPERATORA());
    EXPECT_EQ(M_NR, "2");
    EXPECT_TRUE(ADMINISTRATOR());
    EXPECT_EQ(backend->queue.pending(), 0u);
}

TEST_F(LoginTest, EnterOnAnotherRecordClosesTheListEvenWhenThePasswordWasWrong) {
    keys("Down Down Enter");
    ASSERT_TRUE(ZMIANAOPERATORA());
    keys("Enter");  // record 0, the supervisor
    type("NIE");
    keys("Enter");
    pause();
    EXPECT_TRUE(ZMIANAOPERATORA());
    EXPECT_EQ(M_NR, "2") << "the logged-in operator stays";
    EXPECT_TRUE(shown("Błednie podane hasło"));
}

TEST_F(LoginTest, EscLeavesTheListOnlyWhileSomebodyIsLoggedIn) {
    keys("Esc");
    EXPECT_FALSE(ZMIANAOPERATORA()) << "nobody logged in: the caller asks whether to end the work";
    EXPECT_FALSE(ZALOGOWANY());
    keys("Down Down Enter");
    ASSERT_TRUE(ZMIANAOPERATORA());
    keys("Esc");
    EXPECT_TRUE(ZMIANAOPERATORA());
    EXPECT_EQ(M_NR, "2");
}

TEST_F(LoginTest, LogoutWithF10SaysWhoLeftAndGrantsEveryRightUntilTheNextLogin) {
    struct Case {
        const char* login;
        const char* password;
        const char* message;
    };
    const Case cases[] = {
        {"Down Enter", "ANNA", "Nowak Anna wylogowana"},
        {"Down Down Enter", nullptr, "Kowal Piotr wylogowany"},
    };
    for (const Case& c : cases) {
        keys(c.login);
        if (c.password != nullptr) {
            type(c.password);
            keys("Enter");
        }
        ASSERT_TRUE(ZMIANAOPERATORA());
        keys("F10");
        pause();
        keys("Esc");
        EXPECT_FALSE(ZMIANAOPERATORA()) << "after the logout nobody is logged in";
        EXPECT_TRUE(shown(c.message)) << c.message;
        EXPECT_EQ(M_NR, " ");
        EXPECT_EQ(M_NAZWISKO, std::string(30, ' '));
        for (int n = 1; n <= 20; ++n) EXPECT_TRUE(PRAWA(n)) << n;
    }
}

TEST_F(LoginTest, TheWorkstationSlotCarriesTheOperatorAfterEachChange) {
    open_firm(2);
    keys("Enter");
    type("SZEF");
    keys("Enter");
    ASSERT_TRUE(ZMIANAOPERATORA());
    EXPECT_EQ(firm_field("ST").substr(0, 3), std::string("?") + ST_SZEF + "0") << "the shade stands for the supervisor";
    keys("Down Enter");
    type("ANNA");
    keys("Enter");
    ASSERT_TRUE(ZMIANAOPERATORA());
    EXPECT_EQ(firm_field("ST").substr(0, 3), "?10");
    EXPECT_EQ(SELECT(), 1) << "the caller's work area is selected again";
}

TEST_F(LoginTest, ServiceCodesWorkOnlyWhereTheMarkerFileSwitchesThemOn) {
    // The clock says 15 January, 8 o'clock: the codes end in "1508".
    struct Case {
        bool marker;
        const char* move;
        const char* code;
        const char* nr;
    };
    const Case cases[] = {
        {false, "Enter", "TUMP1508", " "},
        {false, "Down Enter", "REROZU1508", " "},
        {true, "Enter", "TUMP1508", "0"},
        {true, "Down Enter", "REROZU1508", "1"},
        {true, "Down Enter", "TUMP1508", " "},  // the supervisor's code opens only his record
        {true, "Enter", "TUMP1509", " "},       // another hour
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + (c.marker ? " with the marker" : " without"));
        M_NR = " ";
        if (c.marker)
            std::ofstream("KODSERW.TXT") << "";
        else
            std::filesystem::remove("KODSERW.TXT");
        keys(c.move);
        type(c.code);
        keys("Enter");
        pause();
        keys("Esc");
        ZMIANAOPERATORA();
        backend->queue.clear_queue();  // an accepted code closed the list before Esc
        EXPECT_EQ(M_NR, c.nr);
    }
}

TEST_F(LoginTest, AFirstStartCreatesTheSupervisorAndSaysHowToSetHisPassword) {
    std::filesystem::remove("prawa.dbf");
    pause(5);
    pause(5);
    keys("Enter");
    EXPECT_TRUE(ZMIANAOPERATORA());
    EXPECT_EQ(M_NR, "0");
    EXPECT_TRUE(ADMINISTRATOR());
    for (int n = 1; n <= 20; ++n) EXPECT_TRUE(PRAWA(n));
    for (int n = 1; n <= 8; ++n) EXPECT_FALSE(PRAWA1(n));
    EXPECT_TRUE(shown("Utworzono zbior operatorow prawa.dbf"));
    EXPECT_TRUE(shown("Szef 0 bez hasła: Enter, F6 - nowe hasło"));
}

TEST_F(LoginTest, TheOperatorsFiscalPrinterModelHoldsTheGlobalOneAside) {
    J_DF_NAZWA = "DF-300  ";
    for (int round = 0; round < 2; ++round) {
        keys("Down Down Down Enter");
        if (round == 0) {
            type("EWA");
            keys("Enter");
        }  // then Enter on her own record just closes the list
        ASSERT_TRUE(ZMIANAOPERATORA());
        EXPECT_EQ(J_DF_NAZWA, "FP-600    ");
        EXPECT_EQ(LJ_DF_NAZWA, "DF-300  ") << "round " << round;
        // A new fiscal printer description starts the printer's set-up with Enter waiting for it.
        EXPECT_EQ(NEXTKEY(), round == 0 ? K_ENTER : 0) << "round " << round;
        __KEYBOARD("");
    }
    EXPECT_TRUE(JEST_DF_300) << "COM names a fiscal printer";
    EXPECT_TRUE(TOJESTKASA) << "profile 8";
    keys("Down Enter");
    type("ANNA");
    keys("Enter");
    ASSERT_TRUE(ZMIANAOPERATORA());
    EXPECT_EQ(J_DF_NAZWA, "DF-300  ");
    EXPECT_EQ(LJ_DF_NAZWA, "");
    EXPECT_FALSE(JEST_DF_300);
    EXPECT_FALSE(TOJESTKASA);
}

TEST_F(LoginTest, TheFirmsMailServerStandsInForAnOperatorWithout) {
    open_firm(1);
    DBSELECTAREA(1);
    ASSERT_TRUE(REC_LOCK(1));
    FIELDPUT("SMTP", Value(std::string("poczta.firma.pl")));
    DBUNLOCK();
    keys("Down Down Enter");
    ASSERT_TRUE(ZMIANAOPERATORA());
    EXPECT_EQ(M_SMTP, "poczta.firma.pl");
}

TEST_F(LoginTest, TheKeyLinesFollowTheRecordAndTheOperatorsOwnRowHasItsColour) {
    keys("Down Down Enter");
    ASSERT_TRUE(ZMIANAOPERATORA());  // Kowal Piotr, an administrator
    capture({20, 21});
    std::string colours;
    SETKEY(K_ALT_Y, [&] { colours = colour(9, 8) + " " + colour(10, 8) + " " + colour(11, 40); });
    keys("Alt-Y Alt-Z Down Alt-Z Down Alt-Z Esc");  // on 0, 1 and his own record 2
    ASSERT_TRUE(ZMIANAOPERATORA());
    SETKEY(K_ALT_Y, {});
    ASSERT_EQ(captured.size(), 3u);
    const std::string logged = " Enter-Zalogowanie    F10-Wylogowanie    Esc-Wyjscie|";
    EXPECT_EQ(captured[0], logged + "|") << "the supervisor's record is not his";
    EXPECT_EQ(captured[1], logged + " F4-Edycja nazwiska   Alt_F4-Prawa|");
    EXPECT_EQ(captured[2], logged + "F6-Zmiana hasła|") << "another administrator is not his either, but his own password is";
    EXPECT_EQ(colours, "N/GR W/N N/W") << "the current row lit, his own row in its colour";
}

}  // namespace
}  // namespace sklad::testing
