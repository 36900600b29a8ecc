// What the full rebuild does to the data: duplicate cards merged, settlements reconciled at the
// month close, one-off corrections, the folders tidied, the period found.
#include <sys/time.h>
#include <time.h>

#include "catalogue_fixture.h"
#include "data/session.h"

using namespace sklad;
using namespace sklad::catalogue_fixture;

namespace {

using Row = std::vector<std::pair<std::string, Value>>;

Value t(const char* s) { return Value(std::string(s)); }
Value n(const char* s) { return Value(num(s)); }

// Dates a file `days` before the test's today (2024-01-15), at noon local time.
void age(const fs::path& p, int days) {
    tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 15 - days;
    local.tm_hour = 12;
    local.tm_isdst = -1;
    const timeval times[2] = {{mktime(&local), 0}, {mktime(&local), 0}};
    ASSERT_EQ(utimes(p.c_str(), times), 0);
}

}  // namespace

TEST_F(CatalogueTest, DuplicateCardsAreMergedWithTheirQuantitiesValuesAndWeightedCost) {
    touch("KOD13.TXT");
    ASSERT_TRUE(INIT_NTX());
    add_records("24\\01\\as",
                {Row{{"MAG", t("1")}, {"INDEKS", t("MAKA")}, {"NAZWA", t("Maka")}, {"B_BO_I", n("10")},
                     {"CENA_01", n("2")}, {"ILOSC", n("8")}, {"B_BO_W", n("20")}, {"B_P_W", n("5")}, {"N_BO_W", n("1")}},
                 Row{{"MAG", t("1")}, {"INDEKS", t("CUKIER")}, {"ILOSC", n("7")}},
                 Row{{"MAG", t("1")}, {"INDEKS", t("MAKA")}, {"B_BO_I", n("30")}, {"CENA_01", n("4")},
                     {"ILOSC", n("25")}, {"B_BO_W", n("120")}, {"B_R_W", n("9")}, {"B_R_I_SD", n("2")}},
                 Row{{"MAG", t("2")}, {"INDEKS", t("MAKA")}, {"ILOSC", n("1")}},
                 Row{{"MAG", t("1")}, {"INDEKS", t("MAKA")}, {"ILOSC", n("0.5")}, {"N_BO_W", n("3")}}});
    restart();
    ASSERT_TRUE(INIT_NTX());
    DBSELECTAREA("as");
    struct Card {
        const char* key;
        const char* ilosc;
    } cards[] = {{"1CUKIER", "7"}, {"1MAKA", "33.5"}, {"2MAKA", "1"}};
    long live = 0;
    for (DBGOTOP(); !EOF(); DBSKIP()) ++live;
    EXPECT_EQ(live, 3);
    for (const Card& c : cards) {
        SCOPED_TRACE(c.key);
        ASSERT_TRUE(DBSEEK(Value(std::string(c.key))));
        EXPECT_EQ(FN("ILOSC"), num(c.ilosc));
    }
    ASSERT_TRUE(DBSEEK(t("1MAKA")));
    EXPECT_EQ(RECNO(), 1);  // the first card of the pair stays
    EXPECT_EQ(FN("CENA_01"), num("3.5"));  // (2 x 10 + 4 x 30) / 40
    EXPECT_EQ(FN("B_BO_I"), num("40"));
    EXPECT_EQ(FN("B_BO_W"), num("140"));
    EXPECT_EQ(FN("B_P_W"), num("5"));
    EXPECT_EQ(FN("B_R_W"), num("9"));
    EXPECT_EQ(FN("N_BO_W"), num("4"));
    EXPECT_EQ(FN("B_R_I_SD"), num("2"));
}

TEST_F(CatalogueTest, TheMonthCloseRebuildsContractorTotalsFromTheOpenEntries) {
    ASSERT_TRUE(INIT_NTX());
    add_records("24\\01\\zo", {Row{{"ODB", t("K1")}, {"OBWN", n("999")}, {"OBMA", n("5")}},
                               Row{{"ODB", t("K2")}, {"OBWN", n("50")}}});
    add_records("24\\01\\fa_N",
                {Row{{"RD", t("FV ")}, {"NRD", t("       1")}, {"KTO", t("O")}, {"ODB", t("K1")}, {"OBWN", n("100")}},
                 Row{{"RD", t("KP ")}, {"NRD", t("       2")}, {"KTO", t("O")}, {"ODB", t("K1")}, {"OBMA", n("20")}},
                 Row{{"RD", t("FV ")}, {"NRD", t("       3")}, {"KTO", t("O")}, {"ODB", t("K2")}},
                 Row{{"RD", t("FZ ")}, {"NRD", t("       4")}, {"KTO", t("D")}, {"ODB", t("D9")}, {"OBMA", n("70")}},
                 Row{{"RD", t("FE ")}, {"NRD", t("       5")}, {"KTO", t("O")}, {"ODB", t("K1")}, {"OBWN", n("10")},
                     {"KURS", n("4.3333")}},
                 Row{{"RD", t("NN ")}, {"NRD", t("       6")}, {"KTO", t("N")}, {"ODB", t("X1")}, {"OBWN", n("15")}},
                 Row{{"RD", t("FV ")}, {"NRD", t("       7")}, {"KTO", t("O")}, {"ODB", t("        ")}, {"OBWN", n("1")}}});
    restart();
    watch(17);  // "Indeksowanie - prosze czekac" for a second, then the entry passed over
    hc.pause(1.5);
    hc.keys("Alt-Z");
    ASSERT_TRUE(INIT_NTX("BEZ_INIT_DBF"));
    unwatch();

    DBSELECTAREA("zo");
    ASSERT_TRUE(DBSEEK(t("K1")));
    EXPECT_EQ(FN("OBWN"), num("143.33"));  // 100 + 10 x 4.3333 rounded; last month's 999 gone
    EXPECT_EQ(FN("OBMA"), num("20"));
    ASSERT_TRUE(DBSEEK(t("K2")));
    EXPECT_EQ(FN("OBWN"), num("0"));
    DBSELECTAREA("zd");
    ASSERT_TRUE(DBSEEK(t("D9")));  // an unknown supplier is added with its code
    EXPECT_EQ(FN("OBMA"), num("70"));

    DBSELECTAREA("fa_N");
    std::vector<long> left;
    ORDSETFOCUS(0);
    for (DBGOTOP(); !EOF(); DBSKIP()) left.push_back(Decimal::val(FC("NRD")).to_int());
    EXPECT_EQ(left, (std::vector<long>{1, 2, 4, 5, 6}));  // the other group's entry stays
    bool reported = false;
    for (const std::string& row : seen_) reported = reported || row.find("Pomijam NN -       6") != std::string::npos;
    EXPECT_TRUE(reported) << ::testing::PrintToString(seen_);
}

TEST_F(CatalogueTest, OneOffCorrectionsOfTheRebuild) {
    ASSERT_TRUE(INIT_NTX());
    add_records("24\\01\\dow", {Row{{"RD", t("WZ ")}, {"NRD", t("       1")}, {"ODB", t("  K1")},
                                    {"DATA", Value(Date::from_ymd(1905, 3, 2))}}});
    add_records("24\\01\\fa_N", {Row{{"RD", t("FV ")}, {"ODB", t("   K2")}, {"OBWN", n("1")},
                                     {"TERMIN", Value(Date::from_ymd(1904, 2, 29))}}});
    add_records("24\\01\\as", {Row{{"INDEKS", t("SOL")}}});
    // Goods-issue notes carried over by the month close.
    DBCREATE("24\\01\\dow_wz", {{"RD", FieldType::Character, 3, 0}, {"NRD", FieldType::Character, 8, 0}});
    add_records("24\\01\\dow_wz", {Row{{"RD", t("WZ ")}, {"NRD", t("      17")}}});
    touch("MAGPUSTY.TXT");
    restart();
    ASSERT_TRUE(INIT_NTX());

    DBSELECTAREA("dow");
    DBGOTO(1);
    EXPECT_EQ(FD("DATA"), Date::from_ymd(2005, 3, 2));
    EXPECT_EQ(FC("ODB"), "K1      ");
    EXPECT_EQ(FC("MAG"), "1");
    DBGOTO(2);
    EXPECT_EQ(FC("NRD"), "10000017");
    EXPECT_FALSE(fs::exists("24/01/dow_wz.dbf"));
    DBSELECTAREA("fa_N");
    DBGOTO(1);
    EXPECT_EQ(FD("TERMIN"), Date::from_ymd(2004, 2, 29));
    EXPECT_EQ(FC("ODB"), "K2      ");
    DBSELECTAREA("as");
    DBGOTO(1);
    EXPECT_EQ(FC("MAG"), "1");
    EXPECT_FALSE(FILE_X("MAGPUSTY.TXT"));
}

TEST_F(CatalogueTest, TheRebuildErasesOnlyTheProgramsOwnScratchFiles) {
    const char* kept[] = {"backup.sh", "notes", "rob/wydruk03.prn", "prn_w/today.prn", "pdf/FV_2.PDF",
                          "tools/run", "rob/sub/x.dbf", "xxx.dbf"};
    const char* erased[] = {"strukt07.dbf", "rob/d05.dbf", "rob/fa_n05.ntx", "prn_w/old.prn",
                            "pdf/FV_1.PDF", "24/01/stare.ntx", "KONIEC.TXT"};
    for (const char* f : kept) touch(f);
    for (const char* f : erased) touch(f);
    age("prn_w/today.prn", 0);
    age("prn_w/old.prn", 1);
    age("pdf/FV_1.PDF", 40);
    age("pdf/FV_2.PDF", 5);
    ASSERT_TRUE(INIT_NTX());
    for (const char* f : kept) EXPECT_TRUE(fs::exists(f)) << f;
    for (const char* f : erased) EXPECT_FALSE(fs::exists(f)) << f;
}

TEST_F(CatalogueTest, APeriodWithoutStockCardsIsLookedForBackwards) {
    fs::create_directories("23/11");
    TWORZ(STRUKTURA_AS("23\\11\\as"), true, 3);
    DBSELECTAREA(1);
    ASSERT_TRUE(REC_LOCK(1));
    FIELDPUT("BMR", std::string("05.24"));
    DBUNLOCK();
    ASSERT_TRUE(INIT_NTX());
    EXPECT_EQ(HH, "23\\11");
    DBSELECTAREA(1);
    EXPECT_EQ(FC("BMR"), "11.23");
    EXPECT_TRUE(fs::exists("23/11/dow.dbf"));
    EXPECT_FALSE(fs::exists("24/05"));
}

TEST_F(CatalogueTest, AnUnfinishedMonthCloseIsShownBeforeTheRebuild) {
    touch("zamknij/R2023M12.TXT");
    std::vector<std::string> rows;
    SETKEY(K_ALT_Z, [&] { rows = {hc.row_trimmed(5), hc.row_trimmed(6), hc.row_trimmed(8), hc.row_trimmed(10)}; });
    hc.keys("Alt-Z");
    ASSERT_TRUE(INIT_NTX());
    SETKEY(K_ALT_Z, {});
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], "          MASZ ZLE ZAMKNIETY MIESIAC");
    EXPECT_EQ(rows[1], "          ==========================");
    EXPECT_EQ(rows[2], "                   Rok 2023  miesiac 12");
    EXPECT_EQ(rows[3], "          Zmien biezacy okres i jeszcze raz zamknij");
}

TEST_F(CatalogueTest, TheEntryTableIsRecreatedEmptyAndRelatedToTheStockCards) {
    ASSERT_TRUE(INIT_NTX());
    add_records("24\\01\\as", {Row{{"MAG", t("1")}, {"INDEKS", t("MAKA")}, {"NAZWA", t("Maka")}}}, false, 2);
    DBSELECTAREA(4);
    ASSERT_TRUE(ADD_REC(1));
    FIELDPUT("MAG", std::string("1"));
    FIELDPUT("INDEKS", std::string("MAKA"));
    DBUNLOCK();

    ASSERT_TRUE(NOWE_DD());
    EXPECT_EQ(SELECT(), 4);
    EXPECT_EQ(ALIAS(), "DD");
    EXPECT_EQ(LASTREC(), 0);
    EXPECT_EQ(INDEXKEY(1), "mag+indeks+lp");
    ASSERT_TRUE(ADD_REC(1));
    FIELDPUT("MAG", std::string("1"));
    FIELDPUT("INDEKS", std::string("MAKA"));
    DBUNLOCK();
    DBGOTOP();
    EXPECT_EQ(trimmed(FC("as->nazwa")), "Maka");  // the card follows the line

    ASSERT_TRUE(NOWE_DD(true));
    ASSERT_TRUE(ADD_REC(1));
    FIELDPUT("MAG", std::string("1"));
    FIELDPUT("INDEKS", std::string("MAKA"));
    DBUNLOCK();
    DBSELECTAREA("as");
    DBGOBOTTOM();
    DBSKIP();
    DBSELECTAREA(4);
    DBGOTOP();
    EXPECT_TRUE(EOF() == false && WORKAREAS().table(2).eof());  // no relation: the card stays where it was
}
