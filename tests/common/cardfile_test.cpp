#include "common/cardfile.h"

#include <gtest/gtest.h>

#include "platform/table/table.h"
#include "sample_cardfile.h"

using namespace sklad;
using namespace sklad::sample;

namespace {

TEST_F(CardFileTest, TheFormAndTheLitRowFollowThePointer) {
    struct Case {
        const char* keys;
        const char* record;
        int lit_row;
    };
    const Case cases[] = {
        {"", "1A0001", 17},
        {"Down Down", "1A0003", 19},
        {"Up", "1A0002", 18},
        {"PgDn", "1A0008", 18},
        {"Ctrl-PgDn", "2A0300", 22},
        {"PgUp", "2A0294", 22},
        {"Ctrl-PgUp Up", "1A0001", 17},  // the top hit stays
        {"Right Right Left", "1A0001", 17},
    };
    std::string keys;
    for (const Case& c : cases) keys += std::string(c.keys) + " Alt-X ";
    hc.keys(keys + "Esc");
    EXPECT_TRUE(DBU_TW());
    ASSERT_EQ(seen.size(), std::size(cases));
    for (std::size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(cases[i].keys);
        EXPECT_EQ(seen[i].record, cases[i].record);
        EXPECT_EQ(seen[i].lit_row, cases[i].lit_row);
        EXPECT_EQ(seen[i].code, std::string(cases[i].record).substr(1) + "   ") << "the form shows the lit record";
    }
    EXPECT_EQ(hc.row_trimmed(14), "           KARTOTEKA TOWAROW     MAG+INDEKS                             F1-pomoc");
    EXPECT_EQ(hc.colour(14, 0), "W+/B");
    EXPECT_EQ(hc.row_trimmed(15), "M Indeks   Nazwa                          jm         Ilosc       Cena");
    EXPECT_EQ(hc.text(17, 0, 21), "1│A0001   │TOWAR 001 ");
    EXPECT_EQ(hc.text(24, 0, 13), "F4-Edycja    ");
    EXPECT_EQ(hc.colour(24, 0), "W+/N") << "key names are bright";
    EXPECT_EQ(hc.colour(24, 2), "W/N");
    EXPECT_EQ(current(), "1A0001") << "the screen leaves the table on its first record";
    EXPECT_EQ(INDEXORD(), 1);
}

TEST_F(CardFileTest, TypeAheadSeeksInTheOrderInForce) {
    // Warehouse + code: the warehouse letter at column 0, the code from column 2, the mark after it.
    std::string colours;
    SETKEY(K_ALT_Y, [&] { colours = hc.colour(24, 0) + " " + hc.colour(24, 5) + " " + hc.colour(24, 6); });
    hc.keys("1 a 0 1 5 Alt-X Alt-Y x Alt-X Backspace Alt-X Down Alt-X");
    // By name: Tab, then Polish letters typed in either code page.
    hc.keys("Tab");
    hc.key(0x92);  // ł in the older code page
    hc.keys("Alt-X Backspace Alt-X");
    hc.key(0x98);  // ś in code page 852 (Ś in the older one)
    hc.keys("Alt-X Esc");
    EXPECT_TRUE(DBU_TW());
    ASSERT_EQ(seen.size(), 7u);
    EXPECT_EQ(seen[0].record, "1A0150");
    EXPECT_EQ(seen[0].line, "1 A015▬      F5-Dopisanie    F6-Filtr    F9-Druk");
    EXPECT_EQ(colours, "N/W N/W N*/W");
    SETKEY(K_ALT_Y, {});
    EXPECT_EQ(seen[1].record, "1A0150") << "a character that extends no key is dropped";
    EXPECT_EQ(seen[1].line, seen[0].line);
    EXPECT_EQ(seen[2].record, "1A0100");
    EXPECT_EQ(seen[3].record, "1A0101") << "a move ends the search";
    EXPECT_EQ(seen[3].line, "F4-Edycja    F5-Dopisanie    F6-Filtr    F9-Druk");
    EXPECT_EQ(seen[4].record, "1A0150");
    EXPECT_EQ(seen[4].line, "F4-Edycja  Ł▬" + std::string(28, ' ') + "F9-Druk") << "names from column 11";
    EXPECT_EQ(seen[5].record, "1A0001") << "an emptied buffer goes to the first record of the order";
    EXPECT_EQ(seen[6].record, "1A0151");
}

TEST_F(CardFileTest, AChosenFilterIsMarkedOnTheKeyLineAndEndsWithTheScreen) {
    hc.keys("F6 Alt-X 1 Alt-X Down Alt-X Esc");
    EXPECT_TRUE(DBU_TW());
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].record, "2A0201");
    EXPECT_EQ(seen[1].record, "2A0201") << "no type-ahead while filtering";
    EXPECT_EQ(seen[2].record, "2A0202");
    EXPECT_EQ(seen[2].line, "F4-Edycja    F5-Dopisanie    F6-Filtr    F9-Druk");
    EXPECT_EQ(hc.colour(24, 32), "N/W") << "Filtr in reverse";
    EXPECT_EQ(hc.colour(24, 31), "W/N");
    EXPECT_EQ(hc.colour(24, 29), "W+/N");
    EXPECT_EQ(hc.text(17, 0, 7), "2│A0201");
    EXPECT_FALSE(FILTRUJ);
    EXPECT_EQ(DBFILTER(), "") << "the default filter is back";
    EXPECT_EQ(current(), "1A0001");
}

TEST_F(CardFileTest, AnActionOverAWindowLeavesTheSameRecordLit) {
    std::string question;
    SETKEY(K_ALT_Y, [&] { question = hc.row_trimmed(17); });
    hc.keys("Down Down Alt-X F9 Alt-X Alt-Y N Alt-X Esc");
    EXPECT_TRUE(DBU_TW());
    SETKEY(K_ALT_Y, {});
    EXPECT_NE(question.find("CZY DRUKOWAC KARTOTEKI ?"), std::string::npos) << question;
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1].record, "1A0003");
    EXPECT_EQ(seen[2].record, "1A0003");
    EXPECT_EQ(seen[2].lit_row, seen[0].lit_row);
    EXPECT_EQ(seen[2].code, "A0003   ");
    EXPECT_EQ(hc.text(17, 0, 7), "1│A0001") << "the list is whole again";
}

TEST_F(CardFileTest, AnEmptyTableShowsOneBlankRecord) {
    DBCLOSEAREA();
    ASSERT_TRUE(DBUSEAREA(false, "towary", "tw", false));
    ORDLISTADD("tw1");
    ORDLISTADD("tw2");
    __DBZAP();
    DBCLOSEAREA();
    ASSERT_TRUE(DBUSEAREA(false, "towary", "tw"));
    ORDLISTADD("tw1");
    ORDLISTADD("tw2");
    hc.keys("Alt-X Esc");
    EXPECT_TRUE(DBU_TW());
    EXPECT_EQ(LASTREC(), 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].record, " ");
    EXPECT_EQ(seen[0].lit_row, 17);
}

// What the other workstation does while the form is open: it posts a document against the same
// card, through its own handle on the table.
void another_workstation_posts(uint32_t recno) {
    platform::table::Table t("towary.dbf");
    t.go_to(recno);
    ASSERT_TRUE(t.lock_record());
    t.put("ILOSC", Decimal(777));
    t.put("JM", std::string("KG"));
    t.unlock();
}

TEST_F(CardFileTest, TheFormIsShownThenEditedAndSavesOnlyWhatTheOperatorChanged) {
    std::vector<std::string> colours;
    auto note_colours = [&] { colours.push_back(hc.colour(0, 20) + " " + hc.colour(2, 20) + " " + hc.colour(7, 65)); };
    SETKEY(K_ALT_Y, note_colours);
    SETKEY(K_ALT_Z, [] { another_workstation_posts(3); });
    hc.keys("Down Down Alt-Y F4 Alt-Y Alt-Z Enter Enter Ctrl-Y");
    hc.type("nowa nazwa");
    hc.keys("Alt-Y PgDn Alt-X Esc");
    EXPECT_TRUE(DBU_TW());
    SETKEY(K_ALT_Y, {});
    SETKEY(K_ALT_Z, {});
    ASSERT_EQ(colours.size(), 3u);
    EXPECT_EQ(colours[0], "W+/N W+/N W+/N") << "shown in display colours";
    EXPECT_EQ(colours[1], "N/W W+/N W+/N") << "the field being read is lit";
    EXPECT_EQ(colours[2], "W+/N N/W W+/N");
    DBGOTO(3);
    EXPECT_EQ(field("NAZWA"), "NOWA NAZWA") << "the operator's change is saved";
    EXPECT_EQ(FN("ILOSC"), Decimal(777)) << "the quantity the other workstation posted is not written back";
    EXPECT_EQ(field("JM"), "KG");
    EXPECT_EQ(FN("CENA"), Decimal(6));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].record, "1A0003");
    EXPECT_EQ(hc.text(7, 65, 12), "     777.000") << "the form shows the record as saved";
}

TEST_F(CardFileTest, ANewRecordTakesEveryFieldOfTheForm) {
    hc.keys("F5");
    hc.type("1");
    hc.keys("Enter");
    hc.type("B0001");
    hc.keys("Enter");
    hc.type("NOWY");
    hc.keys("PgDn Alt-X Esc");
    EXPECT_TRUE(DBU_TW());
    EXPECT_EQ(LASTREC(), 301);
    DBGOTO(301);
    EXPECT_EQ(current(), "1B0001");
    EXPECT_EQ(field("NAZWA"), "NOWY");
    EXPECT_EQ(FN("ILOSC"), Decimal(0));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].record, "1B0001") << "the list stands on the new record";
}

TEST_F(CardFileTest, F1InAFieldOpensTheChosenPickerAndEscRestoresTheScreen) {
    std::vector<std::string> screens;
    std::string picker_colours;
    SETKEY(K_ALT_Y, [&] { screens.push_back(hc.dump()); });
    SETKEY(K_ALT_Z, [&] { picker_colours = hc.colour(4, 30) + " " + hc.colour(5, 30) + " " + hc.colour(2, 29); });
    hc.keys("F4 Enter Enter Enter Enter Alt-Y F1 Alt-Y Alt-Z Esc Alt-Y");
    hc.keys("F1 g 0 0 1 2 Enter PgDn Esc");
    EXPECT_TRUE(DBU_TW());
    SETKEY(K_ALT_Y, {});
    SETKEY(K_ALT_Z, {});
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_EQ(screens[2], screens[0]) << "Esc in the picker gives the form back as it was";
    const std::string picker = screens[1];
    EXPECT_NE(picker.find("╔═════"), std::string::npos) << picker;
    EXPECT_NE(picker.find("Kod      Nazwa grupy"), std::string::npos) << picker;
    EXPECT_NE(picker.find("\nKlucz : KOD\n"), std::string::npos) << picker;
    EXPECT_EQ(picker_colours, "W+/B B/W W+/B") << "the picker's colours";
    DBGOTO(1);
    EXPECT_EQ(field("GRUPA"), "G0012") << "the picked code was saved";
    EXPECT_EQ(POMOC, 0);
    EXPECT_TRUE(SETKEY(K_F1)) << "F1 is bound to HELP again";
}

TEST_F(CardFileTest, AnotherMonthOffersOnlyTheKeysThatDoNotChangeData) {
    DBCREATE("firma", {{"BMR", FieldType::Character, 5, 0}});
    DBSELECTAREA(1);
    ASSERT_TRUE(DBUSEAREA(false, "firma", "firma"));
    ASSERT_TRUE(ADD_REC(1));
    FIELDPUT("BMR", std::string("02.24"));
    DBUNLOCK();
    MEMVAR_NEW("HH", std::string("24\\01"));
    DBSELECTAREA("TW");
    std::string question;
    SETKEY(K_ALT_Y, [&] { question = hc.row_trimmed(17); });
    hc.keys("Alt-X F4 F5 Alt-X F9 Alt-Y N Esc");
    const bool ran = DBU_TW();
    MEMVAR_PUT("HH", std::string());
    MEMVAR_RELEASE("HH");
    SETKEY(K_ALT_Y, {});
    EXPECT_TRUE(ran);
    EXPECT_EQ(hc.text(14, 65, 15), "    Styczen '24");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].line, "                             F6-Filtr    F9-Druk");
    EXPECT_EQ(seen[1].record, "1A0001");
    EXPECT_NE(question.find("CZY DRUKOWAC"), std::string::npos) << "F9 works";
    EXPECT_EQ(LASTREC(), 300) << "F5 added nothing";
}

TEST_F(CardFileTest, AParameterBoxIsReadOverARestoredScreenAndEscCancelsIt) {
    MEMVAR_NEW("M_GRUPA", std::string(8, ' '));
    auto box = [](std::string_view colour) {
        DISPOUTAT(11, 21, "Grupa :");
        __GET(11, 29, "M_GRUPA", "!!!!!!!!", {}, {}, colour);
    };
    std::string frame;
    SETKEY(K_ALT_Y, [&] { frame = hc.text(10, 20, 3) + " " + hc.colour(10, 20) + " " + hc.text(11, 21, 8); });
    DISPOUTAT(11, 21, "pod spodem");
    hc.keys("Alt-Y g 1 Enter");
    EXPECT_TRUE(FORM_BOX(10, 20, 12, 50, {box}));
    EXPECT_EQ(frame, "┌── R+/N Grupa : ");
    EXPECT_EQ(hc.text(11, 21, 10), "pod spodem") << "the screen is restored";
    EXPECT_EQ(std::get<std::string>(*MEMVAR_GET("M_GRUPA")), "G1      ");
    hc.keys("x Esc");
    EXPECT_FALSE(FORM_BOX(10, 20, 12, 50, {box}));
    SETKEY(K_ALT_Y, {});
    MEMVAR_RELEASE("M_GRUPA");
}

}  // namespace
