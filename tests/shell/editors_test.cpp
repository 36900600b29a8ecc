#include <gtest/gtest.h>

#include <regex>

#include "data/access.h"
#include "data/engine.h"
#include "platform/table/table.h"
#include "operators/rights.h"
#include "settings_fixture.h"
#include "shell/session.h"
#include "shell/editors.h"

using namespace sklad;

namespace {

namespace table = platform::table;

// A working folder with a firm record (areas as the catalogue opens them: 1 firma, 9 slow).
class EditorsTest : public sklad::testing::SettingsTest {
  protected:
    void SetUp() override {
        SettingsTest::SetUp();
        RESET_WORKAREAS();
        ASSERT_TRUE(TWORZ("firma,ODB,C,8,0,NODB,C,30,0,NODB1,C,30,0,UODB,C,25,0,KODB,C,6,0,MODB,C,18,0,"
                          "BODB,C,54,0,NRBO,C,40,0,BODB1,C,54,0,NRBO1,C,40,0,NIP_KRAJ,C,2,0,REGON,C,13,0,"
                          "TEL,C,25,0,SMTP,C,30,0,BDO,C,13,0,REGON0,C,13,0,KRS_NR,C,13,0,KRS_SAD,C,80,0,"
                          "KAPITAL,N,12,0,KOD_POD,C,13,0,OD_GODZ,N,5,2,AB,C,1,0,NR_RK,C,6,0,"
                          "KP,N,8,0,KW,N,8,0,NO,N,8,0,KP_KW,N,8,0,KP_,N,8,0,WE,N,8,0"));
        DBSELECTAREA(1);
        ASSERT_TRUE(NET_USE("firma", "firma", false, 1));
        ASSERT_TRUE(ADD_REC(1));
        FIELDPUT("NODB", std::string("HURTOWNIA"));
        FIELDPUT("SMTP", std::string("stary.serwer"));
        FIELDPUT("OD_GODZ", Decimal(8));
        FIELDPUT("AB", std::string("A"));
        FIELDPUT("KP", Decimal(10));
        FIELDPUT("KW", Decimal(5));
        DBCOMMIT();
        DBUNLOCK();
        ASSERT_TRUE(TWORZ("slow,RD,C,3,0,OPIS,C,74,0,NRD,N,8,0"));
        DBSELECTAREA(9);
        ASSERT_TRUE(NET_USE("slow", "slow", false, 1));
        for (const char* rd : {"FV ", "SD ", "KP ", "KW ", "FZ "}) {
            ASSERT_TRUE(ADD_REC(1));
            FIELDPUT("RD", std::string(rd));
        }
        DBUNLOCK();
        DBCREATEINDEX("slow", "rd");
        DBSELECTAREA(1);
        ASSERT_TRUE(ZAPISZ_PARAMETR_WSZYSTKO());
    }
    void TearDown() override {
        SETKEY(K_ALT_S, {});
        RESET_WORKAREAS();
        SettingsTest::TearDown();
    }

    // Downs that lead from the first field of a page to the setting's field (all fields shown).
    static std::string downs_to(SettingPage page, std::string_view name) {
        std::string keys;
        for (const SettingDef& d : SETTINGS()) {
            if (d.page != page) continue;
            if (d.name == name) return keys;
            keys += "Down ";
        }
        ADD_FAILURE() << name;
        return keys;
    }

    // Alt-S keeps the whole screen (rows of UTF-8 cells) each time it is pressed inside a read.
    using Screen = std::vector<std::vector<std::string>>;
    std::vector<Screen> screens;
    void snap() { hc.keys("Alt-S"); }
    void watch_screens() {
        SETKEY(K_ALT_S, [this] {
            Screen s(25);
            for (int r = 0; r < 25; ++r)
                for (int c = 0; c < 80; ++c) s[r].push_back(hc.text(r, c, 1));
            screens.push_back(s);
        });
    }
    // Columns `from` to the end of the row, trailing blanks dropped.
    static std::string row_of(const Screen& s, int r, int from = 0) {
        std::string out;
        for (int c = from; c < 80; ++c) out += s[r][c];
        out.erase(out.find_last_not_of(' ') + 1);
        return out;
    }

    Value firm(std::string_view field) {
        DBSELECTAREA(1);
        DBGOTOP();
        return FIELDGET(field);
    }
};

TEST_F(EditorsTest, UserParametersShowThreePagesAndSaveWhatWasChanged) {
    watch_screens();
    snap();
    hc.keys(downs_to(SettingPage::P1, "J_TEZ"));
    hc.type("30");
    hc.keys("Enter Esc");  // Esc keeps what was typed and goes on to the next page
    snap();
    hc.keys("PgDn");
    snap();
    hc.keys("PgDn");
    ASSERT_TRUE(PARAMETRY_PROGRAMU(1));
    ASSERT_EQ(screens.size(), 3u);

    const Screen& p1 = screens[0];
    EXPECT_EQ(row_of(p1, 0), "Co wysylac do drukarki fiskalnej :");
    EXPECT_EQ(row_of(p1, 1), "Czy pomagac w wydawaniu pieniedzy            N     Magazyn o stanach ujemnych U");
    EXPECT_EQ(row_of(p1, 13), "Jaki jest najczesciej uzywany dowod          FV    VAT domyslny               23");
    EXPECT_EQ(row_of(p1, 21), "Magazyny komisowe                       │          Licznik KP:    10  KW:      5");
    EXPECT_EQ(row_of(p1, 24), "Miejsca po przecinku w ilosciach [2/3]       2     Licznik dowodow KP_  :      0");
    EXPECT_EQ(row_of(screens[1], 6, 45), "Kod kreskowy z wagi MEDESA       28");
    EXPECT_NE(row_of(screens[2], 0).find("PARAMETRY PROGRAMU c.d."), std::string::npos);
    EXPECT_EQ(row_of(screens[2], 17), "Stawki PTU  23  8  5  0 ZW  0  0");

    EXPECT_EQ(J_TEZ, 30);
    EXPECT_NE(read(PARAMETR_MEM).find("J_TEZ N 3 0 30\n"), std::string::npos);
    EXPECT_NE(read(PARAMETR_TXT).find("J_TEZ N 3 0 30\n"), std::string::npos);
    EXPECT_EQ(std::get<std::string>(firm("AB")), "A") << "the drive letter was not changed";
}

TEST_F(EditorsTest, FieldChecksRefuseWhatTheyMust) {
    struct Case {
        const char* setting;
        const char* typed;  // refused first, then `fixed`
        const char* fixed;
        std::string want;
    } cases[] = {
        {"J_NOWE_STA", "X", "T", "T"},     {"J_SPZ", "Z", "P", "P"},        {"J_MAG_GLOW", "0", "2", "2"},
        {"J_MAG_U", "0", "7", "7 "},       {"J_XKP", "KX", "KP", "KP "},     {"J_NAPED", "1", "C", "C"},
        {"J_I3", "4", "3", "3"},           {"J_OPA", "", "OP", "OP "},       {"J_FZ", "PZ", "FA", "FA "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        const std::size_t bells = hc.backend().tones().size();
        hc.keys(downs_to(SettingPage::P1, c.setting) + "Ctrl-Y");
        hc.type(c.typed);
        hc.keys("Enter Ctrl-Y");
        hc.type(c.fixed);
        hc.keys("PgDn PgDn PgDn");
        PARAMETRY_PROGRAMU(1);
        EXPECT_EQ(hc.backend().tones().size(), bells + 1) << "a bell for the refused value";
        EXPECT_EQ(hc.backend().pending(), 0u);
        EXPECT_EQ(SETTING(c.setting)->get(), Value(c.want));
    }
}

TEST_F(EditorsTest, AKindMissingFromTheKindTableIsNamed) {
    std::string message;
    SETKEY(K_ALT_S, [&] { message = hc.row_trimmed(17); });
    hc.keys(downs_to(SettingPage::P1, "J_RD") + "Ctrl-Y");
    hc.type("XX");
    hc.keys("Enter Alt-S");
    hc.pause(1);  // the message stays its second
    hc.keys("Ctrl-Y");
    hc.type("SD");
    hc.keys("PgDn PgDn PgDn");
    PARAMETRY_PROGRAMU(1);
    EXPECT_NE(message.find("BRAK XX  W SŁOWNIKU !"), std::string::npos) << message;
    EXPECT_EQ(hc.backend().tones().size(), 2u);
    EXPECT_EQ(J_RD, "SD ");

    EXPECT_TRUE(JEST_RD("FZ"));
    EXPECT_FALSE(JEST_RD("PA "));
    DBSELECTAREA(9);
    ASSERT_TRUE(FLOCK());
    DBEVAL([] { DBDELETE(); });
    DBUNLOCK();
    EXPECT_TRUE(JEST_RD("PA ")) << "an empty kind table accepts any kind";
    RESET_WORKAREAS();
    EXPECT_TRUE(JEST_RD("PA ")) << "and so does none";
}

TEST_F(EditorsTest, TheMinimumMarginNeedsTheSupervisorPassword) {
    const std::string to_margin = "PgDn PgDn " + downs_to(SettingPage::P3, "J_MIN_MARZ");
    hc.keys(to_margin + "PgDn");
    PARAMETRY_PROGRAMU(1);
    EXPECT_EQ(J_MIN_MARZ, 0);  // without MARZA.MIN the field is not there: nothing was typed into it

    write("MARZA.MIN", "");
    struct Case {
        std::vector<const char*> attempts;
        int want;
    } cases[] = {{{"ZLE", "ZLE"}, 0}, {{"tump"}, 25}};
    for (const Case& c : cases) {
        hc.keys(to_margin);
        hc.type("25");
        hc.keys("Enter");
        for (const char* attempt : c.attempts) {
            hc.type(attempt);
            hc.keys("Enter");
        }
        hc.keys("PgDn");
        PARAMETRY_PROGRAMU(1);
        EXPECT_EQ(J_MIN_MARZ, c.want) << c.attempts[0];
        EXPECT_EQ(hc.backend().pending(), 0u);
    }
}

TEST_F(EditorsTest, SavingWhileAnOperatorModelIsInForceKeepsTheGlobalModel) {
    LJ_DF_NAZWA = "DF-300  ";
    J_DF_NAZWA = "FP-600    ";
    watch_screens();
    snap();
    hc.type("FV");
    hc.keys("PgDn PgDn PgDn");
    PARAMETRY_PROGRAMU(1);
    EXPECT_EQ(row_of(screens.at(0), 0).substr(0, 31), "Co wysylac do drukarki FP-600 :");
    const std::string file = read(PARAMETR_MEM);
    EXPECT_NE(file.find("J_DF_NAZWA C 8 0 \"DF-300  \""), std::string::npos);
    EXPECT_NE(file.find("J_DF C 40 0 \"FV      "), std::string::npos);
    EXPECT_EQ(J_DF_NAZWA, "FP-600    ");
    EXPECT_NE(read(PARAMETR_TXT).find("J_DF_NAZWA C 8 0 \"DF-300  \""), std::string::npos);
}

TEST_F(EditorsTest, ConsignmentWarehousesLoseBlanksAndZeros) {
    struct Case {
        const char* typed;
        std::string stored;
    } cases[] = {{"1 0 2", "12"}, {"", "\xB3"}, {"00", "\xB3"}};
    for (const Case& c : cases) {
        hc.keys(downs_to(SettingPage::P1, "J_MAG_KOMI") + "Ctrl-Y");
        hc.type(c.typed);
        hc.keys("PgDn PgDn PgDn");
        PARAMETRY_PROGRAMU(1);
        EXPECT_EQ(J_MAG_KOMI, c.stored) << c.typed;
        PARAMETRY_DOMYSLNE();
        CZYTAJ_PARAMETR();
        EXPECT_EQ(J_MAG_KOMI, c.stored) << "as saved";
    }
}

TEST_F(EditorsTest, OnlyTheCountersTheUserChangedGoToTheFirmRecord) {
    // Another copy draws a cash receipt number while this user edits the parameters.
    SETKEY(K_ALT_S, [] {
        table::Table other("firma.dbf");
        other.go_top();
        ASSERT_TRUE(other.lock_record());
        other.put("KP", Decimal(12));
        other.unlock();
    });
    hc.keys(downs_to(SettingPage::P1, "J_NAPED"));
    hc.type("C");
    hc.keys("Alt-S");
    hc.keys(downs_to(SettingPage::P1, "JF_KW").substr(downs_to(SettingPage::P1, "J_NAPED").size()));
    hc.type("7");
    hc.keys("PgDn PgDn PgDn");
    PARAMETRY_PROGRAMU(1);
    EXPECT_EQ(std::get<Decimal>(firm("KP")), Decimal(12)) << "never put back to 10";
    EXPECT_EQ(std::get<Decimal>(firm("KW")), Decimal(7));
    EXPECT_EQ(std::get<std::string>(firm("AB")), "C");
    EXPECT_EQ(J_NAPED, "C");
}

TEST_F(EditorsTest, SettingsTheStockCardsCannotCarryGoBack) {
    ASSERT_TRUE(TWORZ("as,MAG,C,1,0,INDEKS,C,8,0,ILOSC,N,19,2"));
    DBSELECTAREA(2);
    ASSERT_TRUE(NET_USE("as", "as", false, 1));
    J_POZIOM = 5;
    J_ATEST = "T";
    J_I3 = "3";
    ASSERT_TRUE(ZAPISZ_PARAMETR_WSZYSTKO());
    M_DRUKARKA = "EPSON COM2";
    hc.keys("PgDn PgDn PgDn");
    PARAMETRY_PROGRAMU(1);
    M_DRUKARKA = "EPSON";
    EXPECT_EQ(J_POZIOM, 1) << "no CENAM on the cards";
    EXPECT_EQ(J_ATEST, "N") << "no ATEST on the cards";
    EXPECT_EQ(J_I3, "2") << "quantities with two decimals";
    EXPECT_TRUE(JEST_DF_300);
    EXPECT_NE(read(PARAMETR_MEM).find("J_POZIOM N 2 0 1\n"), std::string::npos);
}

TEST_F(EditorsTest, ReceiptDiscountFieldsNeedRightOne) {
    M_PRAWA = "N" + std::string(19, ' ');
    watch_screens();
    snap();
    hc.keys("PgDn PgDn");
    snap();
    hc.keys("PgDn");
    PARAMETRY_PROGRAMU(1);
    M_PRAWA = std::string(20, ' ');
    EXPECT_EQ(row_of(screens.at(0), 17, 45), " 14") << "no maximum discount on receipts";
    EXPECT_EQ(row_of(screens.at(1), 2), "") << "no correcting receipts while editing";
}

TEST_F(EditorsTest, AdministratorParameters) {
    write("OPERATOR.TXT", "stary log\n");
    watch_screens();
    snap();
    hc.keys("Down Down");  // J_NAZWA, J_AUTOMAT, J_KANTY
    hc.type("T");
    hc.keys("PgDn");
    ASSERT_TRUE(INST_VELT());
    const Screen& s = screens.at(0);
    EXPECT_EQ(row_of(s, 0), "  PARAMETRYZACJA PROGRAMU   OBSŁUGA HURTOWNI");
    EXPECT_EQ(row_of(s, 2), "Czy automatycznie ksiegowac po wydrukowaniu        ? N");
    EXPECT_EQ(row_of(s, 8), "Czy blokowac sprzedaz niesolidnym platnikom  [N/T] ? N  Ilosc dni karencji:  10");
    EXPECT_EQ(row_of(s, 10), "                       w jakim napedzie robic kopie:");
    EXPECT_EQ(row_of(s, 13), "Czy wysylac e-faktury przy ksiegowaniu       [T/N] ? T");
    EXPECT_EQ(row_of(s, 14), "1 opcja instalatora :");
    EXPECT_EQ(row_of(s, 17), "") << "shrinkage rates only when set";
    EXPECT_EQ(J_KANTY, "T");
    EXPECT_EQ(read("OPERATOR.TXT"), "stary log\n") << "an existing log stays";
    std::string file = read(PARAMETR_MEM);
    EXPECT_NE(file.find("J_KANTY C 1 0 \"T\""), std::string::npos);
    EXPECT_NE(file.find("J_WALUTA C 1 0 \"N\""), std::string::npos);

    // Switched off: the log goes. Esc saves nothing but still rewrites the copy.
    hc.keys("Down Down");
    hc.type("N");
    hc.keys("PgDn");
    INST_VELT();
    EXPECT_FALSE(std::filesystem::exists("OPERATOR.TXT"));
    hc.keys("Down");
    hc.type("T");
    hc.keys("Enter Esc");
    INST_VELT();
    EXPECT_EQ(J_AUTOMAT, "T");
    EXPECT_NE(read(PARAMETR_MEM).find("J_AUTOMAT C 1 0 \"N\""), std::string::npos);
    EXPECT_NE(read(PARAMETR_TXT).find("J_AUTOMAT C 1 0 \"T\""), std::string::npos);

    // Switched on without a log: an empty one, its date and time kept.
    hc.keys("Down Down");
    hc.type("T");
    hc.keys("PgDn");
    INST_VELT();
    EXPECT_TRUE(std::filesystem::exists("operator.txt"));
    EXPECT_TRUE(std::regex_match(J_DAT_OPE, std::regex(R"(\d\d\.\d\d\.\d{4})"))) << J_DAT_OPE;
    EXPECT_TRUE(std::regex_match(J_TIM_OPE, std::regex(R"(\d\d:\d\d:\d\d)"))) << J_TIM_OPE;

    // Without parametr.mem the copy is read, and the file made again from it.
    std::filesystem::remove(PARAMETR_MEM);
    PARAMETRY_DOMYSLNE();
    hc.keys("PgDn");
    INST_VELT();
    EXPECT_EQ(J_KANTY, "T");
    EXPECT_NE(read(PARAMETR_MEM).find("J_KANTY C 1 0 \"T\""), std::string::npos);
}

TEST_F(EditorsTest, FirmDataAreWrittenToTheFirmRecord) {
    watch_screens();
    snap();
    hc.keys("Ctrl-Y");
    hc.type("NOWA FIRMA");
    hc.keys("Down Down");  // NODB1, KODB
    hc.type("00950");
    hc.keys("Down Down Down");  // MODB, UODB, REGON
    hc.type("pl1234");
    hc.keys("PgDn");
    ASSERT_TRUE(ED_FIRMY());
    const Screen& s = screens.at(0);
    EXPECT_EQ(row_of(s, 0), "                            EDYCJA DANYCH O FIRMIE");
    EXPECT_EQ(row_of(s, 2), "Nazwa firmy (wiersz_1): HURTOWNIA");
    EXPECT_EQ(row_of(s, 4), "") << "the record has no third name line";
    EXPECT_EQ(row_of(s, 7), "Kod pocztowy          :   -");
    EXPECT_EQ(row_of(s, 10), "Nr identyfikacyjny    :                   Kraj   :");
    EXPECT_EQ(row_of(s, 15), "Nazwa banku   (2)     :");
    EXPECT_EQ(row_of(s, 17), "") << "no third bank";
    EXPECT_EQ(row_of(s, 24), "Esc - wyjscie");
    EXPECT_EQ(std::get<std::string>(firm("NODB")), "NOWA FIRMA" + std::string(20, ' '));
    EXPECT_EQ(std::get<std::string>(firm("KODB")), "00-950");
    EXPECT_EQ(std::get<std::string>(firm("REGON")), "PL1234       ");
    EXPECT_EQ(std::get<Decimal>(firm("OD_GODZ")), Decimal(8)) << "opening hours untouched";
    EXPECT_EQ(std::get<Decimal>(firm("KP")), Decimal(10));
}

TEST_F(EditorsTest, TheSecondFirmPageAndItsEsc) {
    write("KRS.TXT", "");
    watch_screens();
    hc.keys("PgDn");
    snap();
    hc.type("0000123456");
    hc.keys("Down Down Down");  // KRS_SAD, KAPITAL, REGON0, SMTP
    hc.keys("Down Ctrl-Y");
    hc.type("nowy.serwer");
    hc.keys("Down Esc");
    ED_FIRMY();
    const Screen& s = screens.at(0);
    EXPECT_EQ(row_of(s, 0), "                            EDYCJA DANYCH O FIRMIE c.d.");
    EXPECT_EQ(row_of(s, 2), "Krajowy Rejestr Sadowy");
    EXPECT_EQ(row_of(s, 3), "──────────────────────");
    EXPECT_EQ(row_of(s, 6), "KRS nazwa sadu   :");
    EXPECT_EQ(row_of(s, 12), "Serwer poczty wychodzacej: stary.serwer");
    EXPECT_EQ(std::get<std::string>(firm("KRS_NR")), "0000123456   ");
    EXPECT_EQ(std::get<std::string>(firm("SMTP")), "stary.serwer" + std::string(18, ' ')) << "Esc keeps the server";
}

TEST_F(EditorsTest, AFirmRecordHeldByAnotherCopyIsNotWritten) {
    table::Table other("firma.dbf");
    other.go_top();
    ASSERT_TRUE(other.lock_record());
    hc.keys("Ctrl-Y");
    hc.type("INNA");
    hc.keys("PgDn");
    const auto start = hc.clock().elapsed();
    ED_FIRMY();
    EXPECT_GE(hc.clock().elapsed() - start, std::chrono::seconds(15));
    other.unlock();
    EXPECT_EQ(std::get<std::string>(firm("NODB")), "HURTOWNIA" + std::string(21, ' '));
}

}  // namespace
