#include <gtest/gtest.h>

#include "operators/rights.h"

using namespace sklad;

namespace {

struct Session {
    std::string nr = " ", rights = std::string(20, ' '), profile = std::string(20, 'N'), extras = "";
    std::string name = std::string(30, ' ');
};

class RightsTest : public ::testing::Test {
  protected:
    void set(const Session& s) {
        M_NR = s.nr;
        M_PRAWA = s.rights;
        M_PRAWA1 = s.profile;
        M_PRAWA2 = s.extras;
        M_NAZWISKO = s.name;
    }
    void TearDown() override { set(Session{}); }
};

TEST_F(RightsTest, RightsStringsGrantUnlessNAndProfilesOnlyWithT) {
    struct Case {
        const char* rights;
        int n;
        bool granted;
    };
    const Case cases[] = {
        {"                    ", 1, true},   // before any login every right is granted
        {"", 7, true},                       // after a logout too
        {"TNTTTTTTTTTTTTTTT", 2, false},
        {"TNTTTTTTTTTTTTTTT", 1, true},
        {"TNTTTTTTTTTTTTTTT", 18, true},     // 17 letters grant 18 to 20
        {"TNTTTTTTTTTTTTTTT", 20, true},
        {"N", 1, false},
        {"n", 1, true},                      // only the capital denies
        {"X?", 2, true},
        {"NNNNNNNNNNNNNNNNNNNN", 20, false},
        {"NNNNNNNNNNNNNNNNNNNN", 21, true},  // past the string
        {"NNNNNNNNNNNNNNNNNNNN", 0, true},
    };
    for (const Case& c : cases) {
        M_PRAWA = c.rights;
        EXPECT_EQ(PRAWA(c.n), c.granted) << '"' << c.rights << "\" right " << c.n;
    }

    struct Profile {
        const char* profile;
        int n;
        bool on;
    };
    const Profile profiles[] = {
        {"TNNNTN", 1, true}, {"TNNNTN", 2, false}, {"TNNNTN", 5, true},
        {"TNNNTN", 7, false},  // missing positions never give a profile
        {"    T", 5, true},    {"    t", 5, false}, {"        ", 8, false},
    };
    for (const Profile& p : profiles) {
        M_PRAWA1 = p.profile;
        EXPECT_EQ(PRAWA1(p.n), p.on) << '"' << p.profile << "\" profile " << p.n;
    }
}

TEST_F(RightsTest, OnlyALetterTMakesAnAdministratorAndAdministratorsLeaveEachOtherAlone) {
    struct Case {
        const char* nr;
        const char* rights;
        const char* record_rights;
        bool administrator;
        bool may;
    };
    const Case cases[] = {
        {" ", "T", "N", false, false},            // nobody logged in
        {"1", "                    ", "N", false, false},  // a blank first right grants, but administers nothing
        {"1", "NTTT", "N", false, false},
        {"1", "TNNN", "NNNN", true, true},
        {"1", "TNNN", "", true, true},
        {"1", "TNNN", "TNNN", true, false},        // another administrator
        {"0", "TTTT", "TNNN", true, true},         // the supervisor administers everybody
        {"0", "NTTT", "NNNN", false, false},       // ... as long as he holds the right himself
    };
    for (const Case& c : cases) {
        set({c.nr, c.rights});
        SCOPED_TRACE(std::string(c.nr) + " " + c.rights + " on " + c.record_rights);
        EXPECT_EQ(ADMINISTRATOR(), c.administrator);
        EXPECT_EQ(MOZE_ADMINISTROWAC(c.record_rights), c.may);
    }
}

TEST_F(RightsTest, DenialTokensOfTheExtrasList) {
    struct Case {
        const char* extras;
        char menu;
        int n;
        bool denied;
    };
    const Case cases[] = {
        {"", 'D', 3, false},      {"-D03", 'D', 3, true},    {"-D03", 'D', 4, false},
        {"-D03", 'M', 3, false},  {"-M*", 'M', 7, true},     {"-M*", 'M', 0, false},  // no choice made
        {"-S12 -K*", 'S', 12, true}, {"-S12 -K*", 'K', 1, true}, {"-D3", 'D', 3, false},  // two digits
    };
    for (const Case& c : cases) {
        set({"1", "", "", c.extras});
        EXPECT_EQ(MENU_ZABRONIONE(c.menu, c.n), c.denied) << c.extras << " " << c.menu << c.n;
    }
    EXPECT_EQ(MENU_ZNACZNIK('D', 7), "-D07");

    struct Party {
        const char* extras;
        char kto;
        bool denied;
    };
    const Party parties[] = {
        {"-RO", 'O', true}, {"-RO", 'D', false}, {"-R*", 'F', true}, {"-R?", 'P', true}, {"-R01", 'O', false},
    };
    for (const Party& p : parties) {
        set({"1", "", "", p.extras});
        EXPECT_EQ(ROZRACHUNKI_ZABRONIONE(p.kto), p.denied) << p.extras << " " << p.kto;
    }
    set({"1", "", "", "+K* -NOU RAMPA"});
    EXPECT_TRUE(ROZRACHUNKI_OTWARTE());
    EXPECT_TRUE(PRAWA2("-NOU"));
    EXPECT_TRUE(PRAWA2("RAMPA"));
    EXPECT_FALSE(PRAWA2("POJEMNIK"));
    EXPECT_FALSE(PRAWA2(""));

    set({"1", "", "", "", "(R)Nowak Anna"});
    EXPECT_TRUE(OGRANICZONY());
}

}  // namespace
