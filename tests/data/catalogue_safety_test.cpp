// Whole-data work and other copies: a killed upgrade loses nothing, the token guards rebuilds
// and upgrades, a table held elsewhere stops the opening.
#include "catalogue_fixture.h"
#include "data/session.h"

using namespace sklad;
using namespace sklad::catalogue_fixture;

namespace {

constexpr int kLines = 300;

// Document lines of an older layout (no CENA_N, CENA_B) in period 24\01.
void old_lines() {
    fs::create_directories("24/01");
    const std::vector<FieldDef> fields = {{"RD", FieldType::Character, 3, 0},
                                          {"NRD", FieldType::Character, 8, 0},
                                          {"LP", FieldType::Character, 3, 0},
                                          {"ILOSC", FieldType::Numeric, 15, 3}};
    table::Table::create("24/01/dow.dbf", fields);
    table::Table t("24/01/dow.dbf", table::OpenMode::Exclusive);
    for (int i = 1; i <= kLines; ++i) {
        ASSERT_TRUE(t.append_blank());
        t.put("RD", std::string("FV "));
        t.put("NRD", std::to_string(10000000 + i).substr(0, 8));
        t.put("ILOSC", Decimal(i));
    }
    t.commit();
}

// Every line is there once, with its quantity, whatever layout the table has now.
void expect_all_lines(const fs::path& file) {
    table::Table t(file, table::OpenMode::ReadOnly);
    ASSERT_EQ(t.lastrec(), static_cast<uint32_t>(kLines));
    Decimal total;
    for (t.go_top(); !t.eof(); t.skip()) total += std::get<Decimal>(t.get("ILOSC"));
    EXPECT_EQ(total, Decimal(kLines * (kLines + 1) / 2));
}

}  // namespace

TEST_F(CatalogueTest, AnUpgradeKilledAtAnyStepLosesNothing) {
    for (const char* step : {"staged", "copying", "filled", "replaced"}) {
        SCOPED_TRACE(step);
        RESET_WORKAREAS();
        fs::remove_all("24");
        old_lines();
        const int status = in_child([step] {
            DBSELECTAREA(1);
            if (!NET_USE("firma", "firma", true, 1)) _exit(4);
            UPGRADE_STEP_HOOK([step](std::string_view at) {
                if (at == step) raise(SIGKILL);
            });
            INIT_NTX();
            _exit(5);  // the kill did not come
        });
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        expect_all_lines("24/01/dow.dbf");  // the table's own name always holds a whole table

        take_firm();
        ASSERT_TRUE(INIT_NTX());  // the next rebuild finishes the job
        DBSELECTAREA("dow");
        EXPECT_GT(FIELDPOS("CENA_B"), 0);
        DBCLOSEAREA();
        expect_all_lines("24/01/dow.dbf");
        EXPECT_FALSE(fs::exists("24/01/dow.new"));
    }
}

TEST_F(CatalogueTest, TheRebuildShowsWhichTableItIsOnAndHowFar) {
    old_lines();
    std::vector<std::string> rows;
    UPGRADE_STEP_HOOK([&](std::string_view at) {
        if (at == "filled") rows = {hc.row_trimmed(11), hc.row_trimmed(12)};
    });
    ASSERT_TRUE(INIT_NTX());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_NE(rows[0].find("Zbior 24\\01\\dow.dbf (10/16)"), std::string::npos) << rows[0];
    EXPECT_NE(rows[1].find("%"), std::string::npos) << rows[1];
}

TEST_F(CatalogueTest, AMissingStockIndexIsRebuiltOnlyByALoneCopy) {
    ASSERT_TRUE(INIT_NTX());
    RESET_WORKAREAS();
    fs::remove("24/01/as.ntx");
    fs::remove("24/01/dow1.ntx");
    {
        // Another copy runs: nothing is rebuilt under it, and this one stops.
        Holder other("firma.dbf", table::OpenMode::Shared);
        DBSELECTAREA(1);
        ASSERT_TRUE(NET_USE("firma", "firma", false, 1));
        watch(17);
        EXPECT_FALSE(INIT_DBF());
        unwatch();
        ASSERT_FALSE(seen_.empty());
        EXPECT_NE(seen_[0].find("Wszyscy musza wyjsc z programu"), std::string::npos) << seen_[0];
        EXPECT_FALSE(fs::exists("24/01/as.ntx"));
        EXPECT_TRUE(fs::exists("24/01/dow2.ntx"));  // nothing was erased either
    }
    // Alone, the same start rebuilds and opens.
    RESET_WORKAREAS();
    DBSELECTAREA(1);
    ASSERT_TRUE(NET_USE("firma", "firma", false, 1));
    ASSERT_TRUE(INIT_DBF());
    EXPECT_TRUE(fs::exists("24/01/as.ntx"));
    EXPECT_TRUE(fs::exists("24/01/dow1.ntx"));
    EXPECT_EQ(ALIAS(2), "AS");
    EXPECT_FALSE(FIRMA_WYLACZNIE());
}

TEST_F(CatalogueTest, AnArchivedMonthWithoutItsIndexIsNotOpenedInsteadOfTheCurrentOne) {
    ASSERT_TRUE(INIT_NTX());
    RESET_WORKAREAS();
    fs::create_directories("23/12");
    fs::copy_file("24/01/as.dbf", "23/12/as.dbf");
    take_firm();
    watch(17);
    EXPECT_FALSE(INIT_DBF("23\\12"));
    unwatch();
    ASSERT_FALSE(seen_.empty());
    EXPECT_NE(seen_[0].find("Plik 23\\12\\as niedostepny"), std::string::npos) << seen_[0];
}

TEST_F(CatalogueTest, AContractorFileLackingAFieldEveryCopyNeeds) {
    ASSERT_TRUE(INIT_NTX());
    RESET_WORKAREAS();
    // zd as an older program left it: no E_MAIL.
    fs::remove("24/01/zd.dbf");
    DBCREATE("24\\01\\zd", {{"ODB", FieldType::Character, 8, 0}, {"NODB", FieldType::Character, 50, 0}});
    DBSELECTAREA(103);
    ASSERT_TRUE(DBUSEAREA(false, "24\\01\\zd", "zd", false));
    DBCREATEINDEX("24\\01\\zd", "odb");
    DBCLOSEAREA();
    add_records("24\\01\\zd", {{{"ODB", Value(std::string("DOST1"))}}});
    {
        Holder other("firma.dbf", table::OpenMode::Shared);
        DBSELECTAREA(1);
        ASSERT_TRUE(NET_USE("firma", "firma", false, 1));
        watch(17);
        EXPECT_FALSE(INIT_DBF());
        unwatch();
        ASSERT_FALSE(seen_.empty());
        EXPECT_NE(seen_[0].find("Wszyscy musza wyjsc z programu"), std::string::npos) << seen_[0];
        EXPECT_EQ(fields_on_disk("24\\01\\zd").size(), 2u);
    }
    RESET_WORKAREAS();
    DBSELECTAREA(1);
    ASSERT_TRUE(NET_USE("firma", "firma", false, 1));
    ASSERT_TRUE(INIT_DBF());
    DBSELECTAREA("zd");
    EXPECT_GT(FIELDPOS("E_MAIL"), 0);
    EXPECT_EQ(LASTREC(), 1);
    EXPECT_EQ(INDEXKEY(1), "odb");
    EXPECT_TRUE(DBSEEK(Value(std::string("DOST1"))));
    EXPECT_FALSE(FIRMA_WYLACZNIE());
}

TEST_F(CatalogueTest, OpeningStopsAtATableAnotherCopyHoldsExclusively) {
    ASSERT_TRUE(INIT_NTX());
    RESET_WORKAREAS();
    Holder other("24/01/dowod.dbf", table::OpenMode::Exclusive);
    DBSELECTAREA(1);
    ASSERT_TRUE(NET_USE("firma", "firma", false, 1));
    watch(17);
    EXPECT_FALSE(INIT_DBF());
    unwatch();
    ASSERT_FALSE(seen_.empty());
    EXPECT_NE(seen_.back().find("Plik 24\\01\\dowod niedostepny"), std::string::npos) << seen_.back();
}

TEST_F(CatalogueTest, TheMonthCloseKeepsTheTokenToTheEnd) {
    ASSERT_TRUE(INIT_NTX("BEZ_INIT_DBF"));
    EXPECT_TRUE(FIRMA_WYLACZNIE());
    EXPECT_EQ(ALIAS(7), "FA_N");
    restart();
    ASSERT_TRUE(INIT_NTX("ZMIANA MM.RR"));
    EXPECT_EQ(ALIAS(2), "");  // not reopened
    ASSERT_TRUE(INIT_NTX());
    EXPECT_FALSE(FIRMA_WYLACZNIE());
}
