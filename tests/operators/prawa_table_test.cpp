// The operator table: scrambling, creation on a new installation, look-ups, the layout upgrade.
#include <filesystem>
#include <fstream>

#include "data/catalogue.h"
#include "operators_fixture.h"

namespace sklad::testing {
namespace {

TEST(Scramble, OneOperationBothWaysAtTheLengthsThePasswordsUse) {
    struct Case {
        std::string text;
        int n;
        std::size_t length;
    };
    const Case cases[] = {
        {"TAJNE     ", 0, 10}, {"AB", 0, 10}, {"", 0, 10}, {"DWADZIESCIA ZNAKOW TAK", 0, 22}, {"ABC", 3, 3}, {"X", 40, 40},
    };
    for (const Case& c : cases) {
        const std::string s = MOJ_ENCODE(c.text, c.n);
        EXPECT_EQ(s.size(), c.length) << c.text;
        const std::string back = MOJ_DECODE(s, c.n);
        for (std::size_t i = 0; i < back.size(); ++i)
            EXPECT_EQ(back[i], c.text.empty() ? ' ' : c.text[i % c.text.size()]) << c.text << " at " << i;
    }
    EXPECT_NE(MOJ_ENCODE("TAJNE     "), "TAJNE     ");
    // Whatever is typed, a scrambled password never holds a zero byte, and blanks do not stay
    // blanks (a blank field means "no password").
    for (int ch = 32; ch < 256; ++ch) {
        const std::string s = MOJ_ENCODE(std::string(10, static_cast<char>(ch)));
        EXPECT_EQ(s.find('\0'), std::string::npos) << ch;
    }
    EXPECT_NE(MOJ_ENCODE(std::string(10, ' ')), std::string(10, ' '));
}

TEST_F(OperatorTest, ANewInstallationGetsTheSupervisorWithEveryRightAndNoPassword) {
    EXPECT_TRUE(UTWORZ_PRAWA());
    EXPECT_FALSE(UTWORZ_PRAWA()) << "an existing table is never replaced";
    EXPECT_EQ(stored("0", "NAZWISKO"), "Administrator");
    EXPECT_EQ(stored("0", "PRAWA"), std::string(20, 'T'));
    EXPECT_EQ(stored("0", "PRAWA1"), std::string(20, 'N'));
    EXPECT_EQ(stored_password("0"), std::string(10, ' '));
    table::Table t("prawa.dbf", table::OpenMode::ReadOnly);
    EXPECT_EQ(t.lastrec(), 1u);
    EXPECT_EQ(t.fields(), UKLAD_PRAWA());
    for (const auto& entry : std::filesystem::directory_iterator("."))
        EXPECT_EQ(entry.path().filename().string().rfind("prawa.", 0) == 0, entry.path().filename() == "prawa.dbf")
            << "no staged copy is left: " << entry.path();
}

TEST_F(OperatorTest, ANameIsLookedUpWithTheTableOpenOrClosed) {
    make_prawa({{"0", "Szef Jan", ""}, {"1", "Nowak Anna", ""}});
    EXPECT_EQ(PRAWA_NAZ("1"), pad("Nowak Anna", 30));
    EXPECT_EQ(PRAWA_NAZ("7"), std::string(30, ' '));
    EXPECT_EQ(SELECT("prawa"), 0) << "closed again";
    DBSELECTAREA(OBSZAR_PRAWA);
    ASSERT_TRUE(NET_USE("prawa", "prawa", false, 1));
    DBGOTO(2);
    DBSELECTAREA(3);
    EXPECT_EQ(PRAWA_NAZ("0"), pad("Szef Jan", 30));
    EXPECT_EQ(SELECT(), 3);
    DBSELECTAREA(OBSZAR_PRAWA);
    EXPECT_EQ(RECNO(), 2) << "the open table keeps its record";
    std::filesystem::remove("prawa.dbf");
    RESET_WORKAREAS();
    EXPECT_EQ(PRAWA_NAZ("0"), std::string(30, ' '));
}

// An operator table of an older layout: no profile, extras, warehouses or mail; PRAWA2 of
// another type.
const char* kOldLayout = "prawa,NR,C,1,0,NAZWISKO,C,30,0,HASLO,C,10,0,PRAWA,C,20,0,PRAWA2,N,5,0,DRUKARKA,C,20,0";

class UpgradeTest : public OperatorTest {
  protected:
    void SetUp() override {
        OperatorTest::SetUp();
        make_prawa({{"0", "Szef Jan", "TAJNE", "TTTT", "", "EPSON"}, {"1", "Nowak Anna", "", "NNNN"}}, kOldLayout);
        ASSERT_TRUE(TWORZ(STRUKTURA_FIRMA("firma", 30), true, 1));
        DBSELECTAREA(OBSZAR_PRAWA);
        ASSERT_TRUE(NET_USE("prawa", "prawa", false, 1));
        ASSERT_TRUE(PRAWA_DO_PRZEBUDOWY(DBSTRUCT()));
    }
};

TEST_F(UpgradeTest, RunsUnderTheFirmTokenAndKeepsTheRecords) {
    DBSELECTAREA(1);
    ASSERT_TRUE(NET_USE("firma", "firma", false, 1));
    DBSELECTAREA(OBSZAR_PRAWA);
    pause(5);
    ASSERT_TRUE(PRZEBUDUJ_PRAWA());
    EXPECT_FALSE(PRAWA_DO_PRZEBUDOWY(DBSTRUCT()));
    EXPECT_EQ(ALIAS(), "PRAWA");
    EXPECT_EQ(M_BOSS0, pad("TAJNE", 10)) << "taken again from the upgraded table";
    EXPECT_EQ(ALIAS(1), "FIRMA");
    EXPECT_FALSE(FIRMA_WYLACZNIE()) << "the token taken for the upgrade is given back";
    RESET_WORKAREAS();
    EXPECT_EQ(stored("1", "NAZWISKO"), "Nowak Anna");
    EXPECT_EQ(stored("0", "DRUKARKA"), "EPSON");
    EXPECT_EQ(stored_password("0"), pad("TAJNE", 10));
    EXPECT_TRUE(shown("Sprawdz: PRAWA2")) << "a field whose type changed loses its values";
}

TEST_F(UpgradeTest, WaitsWhileAnotherCopyRuns) {
    DBSELECTAREA(1);
    ASSERT_TRUE(NET_USE("firma", "firma", false, 1));
    // Another copy holds the firm table open: no copy can be sure nobody uses prawa.
    table::Table other("firma.dbf", table::OpenMode::Shared);
    DBSELECTAREA(OBSZAR_PRAWA);
    ASSERT_TRUE(PRZEBUDUJ_PRAWA());
    EXPECT_TRUE(PRAWA_DO_PRZEBUDOWY(DBSTRUCT())) << "the old layout stays";
    EXPECT_EQ(ALIAS(), "PRAWA");
    EXPECT_EQ(ALIAS(1), "FIRMA") << "the firm table is open again";
    EXPECT_FALSE(shown("Sprawdz: PRAWA2"));
}

}  // namespace
}  // namespace sklad::testing
