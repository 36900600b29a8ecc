// Registration of a copy that starts alone, release, slot marks and scratch names, in this
// process. Several copies at once: workstation_process_test.cpp.
#include <regex>

#include "data/catalogue.h"
#include "platform/table/structure.h"
#include "shell/workstation.h"
#include "station_fixture.h"

using namespace sklad;
using namespace sklad::testing;

namespace {

using WorkstationTest = StationTest;

TEST_F(WorkstationTest, FirstCopyOnAnEmptyFolderMakesTheFirmTableAndTakesSlotOne) {
    EXPECT_EQ(IN_NET(), 1);
    EXPECT_EQ(STACJA, 1);
    EXPECT_TRUE(FIRMA_WYLACZNIE());  // kept until the catalogue reopens it shared
    EXPECT_TRUE(PIERWSZE_WEJSCIE);
    EXPECT_TRUE(INDEKSOWAC);
    EXPECT_EQ(firm_text("ST"), "?" + zeros(29));
    EXPECT_EQ(firm_text("BMR"), "01.24");
    EXPECT_EQ(firm_text("FK"), "C:\\FF" + std::string(11, ' '));
    EXPECT_TRUE(fs::exists("firma.dbf"));
    EXPECT_FALSE(fs::exists("bledy.txt"));
    // No leftover of the private name the table was built under.
    for (const auto& e : fs::directory_iterator("."))
        EXPECT_EQ(e.path().filename().string().rfind("firma.", 0) == 0, e.path().filename() == "firma.dbf");
}

TEST_F(WorkstationTest, IndexesAreRebuiltWithoutArgumentOrAfterSlotsLeftTakenOrWithArgumentThree) {
    struct Case {
        std::string argument;
        std::string st;
        bool rebuild;
    } cases[] = {
        {"", zeros(30), true},
        {"1", zeros(30), false},
        {"1", "0?" + zeros(28), true},
        {"3", zeros(30), true},
    };
    for (const Case& c : cases) {
        reset_copy();
        fs::remove("firma.dbf");
        make_firm(c.st);
        EXPECT_EQ(IN_NET(c.argument), 1) << c.argument;
        EXPECT_EQ(INDEKSOWAC, c.rebuild) << "argument '" << c.argument << "', slots " << c.st;
    }
}

TEST_F(WorkstationTest, SlotsLeftTakenAreShownLoggedAndReset) {
    write("bledy.txt", "earlier line\r\n");
    make_firm("?5" + std::string(1, ST_SZEF) + zeros(27));
    ASSERT_EQ(IN_NET("1"), 1);
    EXPECT_EQ(screen.row(20), std::string(30, ' ') + "?50 - zle wyszedl z programu");
    const std::string log = read("bledy.txt");
    EXPECT_TRUE(std::regex_match(log, std::regex("earlier line\r\n15\\.01\\.2024, 08:0\\d \xB3 \\?50\r\n"))) << log;
    EXPECT_EQ(firm_text("ST"), "?" + zeros(29));
    EXPECT_TRUE(INDEKSOWAC);
}

TEST_F(WorkstationTest, SupervisorLeftLoggedInShowsAsZero) {
    make_firm(std::string(1, ST_SZEF) + zeros(29));
    ASSERT_EQ(IN_NET("1"), 1);
    EXPECT_EQ(screen.row(20), std::string(30, ' ') + "0 - zle wyszedl z programu");
}

TEST_F(WorkstationTest, OldFirmLayoutIsUpgradedKeepingTheRecord) {
    table_fixture::make_table("firma.dbf",
                              {{"NODB", FieldType::Character, 30, 0},
                               {"BODB", FieldType::Character, 50, 0},
                               {"BMR", FieldType::Character, 5, 0},
                               {"ST", FieldType::Character, 30, 0}},
                              {{Value(std::string("HURTOWNIA")), Value(std::string("BANK")),
                                Value(std::string("02.24")), Value("?" + zeros(29))}});
    write("ST99.TXT", "");
    ASSERT_EQ(IN_NET("1"), 1);
    EXPECT_TRUE(FIRMA_WYLACZNIE());
    RESET_WORKAREAS();
    EXPECT_EQ(field_width("firma.dbf", "ST"), 99);
    EXPECT_EQ(field_width("firma.dbf", "BODB"), 54);
    EXPECT_EQ(field_width("firma.dbf", "KRS_SAD"), 80);
    EXPECT_EQ(firm_text("NODB"), "HURTOWNIA" + std::string(21, ' '));
    EXPECT_EQ(firm_text("BMR"), "02.24");
    EXPECT_EQ(firm_text("ST"), "?" + zeros(98));
    table::Table t("firma.dbf", table::OpenMode::ReadOnly);
    EXPECT_EQ(t.lastrec(), 1u);
}

TEST_F(WorkstationTest, FirmLayoutChecks) {
    auto current = [](int slots) { return platform::table::parse_table_definition(STRUKTURA_FIRMA("firma", slots)).fields; };
    EXPECT_FALSE(FIRMA_DO_PRZEBUDOWY(current(30), ""));
    EXPECT_TRUE(FIRMA_DO_PRZEBUDOWY(current(30), "3"));
    Fields without_bdo = current(30);
    std::erase_if(without_bdo, [](const FieldDef& f) { return f.name == "BDO"; });
    EXPECT_TRUE(FIRMA_DO_PRZEBUDOWY(without_bdo, ""));
    write("ST99.TXT", "");
    EXPECT_TRUE(FIRMA_DO_PRZEBUDOWY(current(30), ""));
    EXPECT_FALSE(FIRMA_DO_PRZEBUDOWY(current(99), ""));
    fs::remove("ST99.TXT");
    write("ST2.TXT", "");
    EXPECT_FALSE(FIRMA_DO_PRZEBUDOWY(current(30), ""));  // only a new table gets two slots
    EXPECT_EQ(LICZBA_STACJI(), 2);
}

TEST_F(WorkstationTest, PeriodArgumentWithDataBecomesTheFirmsPeriod) {
    make_firm(zeros(30), "01.24");
    fs::create_directories("24/03");
    table_fixture::make_table("24/03/as.dbf", {{"MAG", FieldType::Character, 1, 0}}, {});
    ASSERT_EQ(IN_NET("03.24"), 1);
    EXPECT_EQ(firm_text("BMR"), "03.24");
    for (const std::string& m : screen.messages()) EXPECT_EQ(m.find("pomylka"), std::string::npos) << m;
}

TEST_F(WorkstationTest, PeriodArgumentWithoutDataIsShownTwiceAndDropped) {
    make_firm(zeros(30), "01.24");
    ASSERT_EQ(IN_NET("04.24"), 1);
    EXPECT_EQ(firm_text("BMR"), "01.24");
    int shown = 0;
    for (const std::string& m : screen.messages()) shown += m == "04.24 - to jakas pomylka!!!";
    EXPECT_EQ(shown, 2);

    // Text that is no month is no period argument at all.
    reset_copy();
    screen.backend().clear_messages();
    ASSERT_EQ(IN_NET("13.24"), 1);
    EXPECT_EQ(firm_text("BMR"), "01.24");
    for (const std::string& m : screen.messages()) EXPECT_EQ(m.find("pomylka"), std::string::npos) << m;
}

TEST_F(WorkstationTest, ReleaseFreesTheSlotAndWritesTheSettingsCopy) {
    ASSERT_EQ(IN_NET(), 1);
    ASSERT_TRUE(ODDAJ_FIRMA());
    EXPECT_TRUE(OUT_NET());
    EXPECT_EQ(firm_text("ST"), zeros(30));
    EXPECT_TRUE(fs::exists("parametr.txt"));
    EXPECT_FALSE(STACJA_ZAJETA);
}

TEST_F(WorkstationTest, ACopyThatNeverRegisteredFreesNobodysSlot) {
    // Another copy holds slot 1; this one has the firm table open but no slot of its own (a
    // failed repair start), with STACJA still at its default 1.
    make_firm("3" + zeros(29));
    DBSELECTAREA(1);
    ASSERT_TRUE(NET_USE("firma", "firma", false, 1));
    EXPECT_TRUE(OUT_NET());
    EXPECT_EQ(firm_text("ST"), "3" + zeros(29));
    EXPECT_TRUE(fs::exists("parametr.txt"));
}

TEST_F(WorkstationTest, OperatorChangeMarksTheSlot) {
    ASSERT_EQ(IN_NET(), 1);
    EXPECT_TRUE(ST_OPERATOR("7"));
    EXPECT_EQ(firm_text("ST"), "7" + zeros(29));
    EXPECT_TRUE(ST_OPERATOR("0"));
    EXPECT_EQ(firm_text("ST"), std::string(1, ST_SZEF) + zeros(29));
}

TEST_F(WorkstationTest, ScratchFilesCarryTheTwoDigitNumber) {
    struct Case {
        int stacja;
        const char* base;
        const char* extension;
        const char* name;
    } cases[] = {{1, "d", "", "rob\\d01"}, {7, "fa_n", "", "rob\\fa_n07"}, {99, "wydruk", ".prn", "rob\\wydruk99.prn"}};
    for (const Case& c : cases) {
        STACJA = c.stacja;
        EXPECT_EQ(PLIK_STACJI(c.base, c.extension), c.name);
    }
}

}  // namespace
