// The repair start and the folder rebuild.
#include <stdexcept>

#include "data/catalogue.h"
#include "data/table_upgrade.h"
#include "shell/ratunek.h"
#include "station.h"
#include "station_fixture.h"

using namespace sklad;
using namespace sklad::testing;

namespace {

class RatunekTest : public StationTest {
  protected:
    void TearDown() override {
        UPGRADE_STEP_HOOK({});
        StationTest::TearDown();
    }
    // A table of `live` records followed by `dead` deleted ones.
    static void make(const fs::path& file, int live, int dead = 1) {
        std::vector<std::vector<Value>> rows;
        for (int i = 0; i < live + dead; ++i) rows.push_back({Value(Decimal(i + 1))});
        table_fixture::make_table(file, {{"N", FieldType::Numeric, 5, 0}}, rows);
        table::Table t(file, table::OpenMode::Exclusive);
        for (int i = live + 1; i <= live + dead; ++i) {
            t.go_to(static_cast<uint32_t>(i));
            t.delete_record();
        }
        t.commit();
    }
    static uint32_t records(const fs::path& file) {
        table::Table t(file, table::OpenMode::ReadOnly);
        return t.lastrec();
    }
};

TEST_F(RatunekTest, FolderRebuildDropsDeletedRecordsAndSkipsWhatItMustLeave) {
    fs::create_directories("24/01");
    make("24/01/dowod.dbf", 2);
    table_fixture::make_table("24/01/d1.dbf", {{"X", FieldType::Character, 3, 0}}, {{Value(std::string("abc"))}});
    for (const char* left : {"24/01/fa_n.dbf", "24/01/a-b.dbf", "24/01/xxx9.dbf", "24/01/x.dbf"}) make(left, 1);

    EXPECT_TRUE(ODSWIEZ("24\\01"));
    EXPECT_EQ(records("24/01/dowod.dbf"), 2u);
    EXPECT_EQ(records("24/01/d1.dbf"), 0u);
    EXPECT_EQ(field_width("24/01/d1.dbf", "CENA_N"), 14);
    EXPECT_EQ(field_width("24/01/d1.dbf", "X"), 0);
    for (const char* left : {"24/01/fa_n.dbf", "24/01/a-b.dbf", "24/01/xxx9.dbf", "24/01/x.dbf"})
        EXPECT_EQ(records(left), 2u) << left;
}

TEST_F(RatunekTest, FolderRebuildTakesTheFirstThirtyTables) {
    fs::create_directories("24/02");
    for (int i = 1; i <= 31; ++i) make("24/02/t" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".dbf", 1);
    ODSWIEZ("24\\02");
    EXPECT_EQ(records("24/02/t30.dbf"), 1u);
    EXPECT_EQ(records("24/02/t31.dbf"), 2u);
}

TEST_F(RatunekTest, AnInterruptedRebuildLeavesTheTableWhole) {
    fs::create_directories("24/01");
    make("24/01/dowod.dbf", 3);
    UPGRADE_STEP_HOOK([](std::string_view step) {
        if (step == "filled") throw std::runtime_error("power lost");
    });
    EXPECT_THROW(ODSWIEZ("24\\01"), std::runtime_error);
    RESET_WORKAREAS();
    EXPECT_EQ(records("24/01/dowod.dbf"), 4u);
}

TEST_F(RatunekTest, RepairHoldsTheFirmTableThroughoutAndRebuildsEverything) {
    make_firm(zeros(30), "01.24");
    fs::create_directories("24/01");
    ASSERT_TRUE(TWORZ(STRUKTURA_SLOW("24\\01\\slow"), true, 1));
    {
        table::Table t("24/01/slow.dbf", table::OpenMode::Exclusive);
        for (const char* rd : {"FV ", "PA ", "XX "}) {
            ASSERT_TRUE(t.append_blank());
            t.put("RD", Value(std::string(rd)));
        }
        t.delete_record();
        t.commit();
    }
    write("parametr.mem", "");
    write("operator.txt", "grudzien\r\n");
    std::vector<bool> token;
    UPGRADE_STEP_HOOK([&](std::string_view) { token.push_back(FIRMA_WYLACZNIE()); });

    EXPECT_TRUE(RATUNEK());
    EXPECT_FALSE(token.empty());
    for (bool held : token) EXPECT_TRUE(held);
    EXPECT_EQ(HH, "24\\01");
    EXPECT_FALSE(fs::exists("koniec.txt"));
    EXPECT_EQ(read("operator/2023_12.txt"), "grudzien\r\n");  // the rebuild archives last month's log
    RESET_WORKAREAS();
    EXPECT_EQ(records("24/01/slow.dbf"), 2u);
    EXPECT_TRUE(fs::exists("24/01/slow.ntx"));
}

TEST_F(RatunekTest, RepairWhileAnotherCopyRunsDoesNothing) {
    Station other(folder.path());
    ASSERT_EQ(other.stacja(), 1);
    fs::create_directories("24/01");
    make("24/01/dowod.dbf", 1);
    write("parametr.mem", "");

    EXPECT_FALSE(RATUNEK());
    EXPECT_TRUE(screen.shown("Wszyscy musza wyjsc z programu"));
    EXPECT_EQ(ALIAS(1), "FIRMA");  // back to shared use: the program ends in order
    EXPECT_FALSE(fs::exists("koniec.txt"));
    RESET_WORKAREAS();
    EXPECT_EQ(records("24/01/dowod.dbf"), 2u);
    EXPECT_EQ(firm_text("ST"), "?" + zeros(29));  // the other copy keeps its slot
}

TEST_F(RatunekTest, NoRepairInAnArchive) {
    HH_ARC = "23\\12";
    EXPECT_FALSE(RATUNEK());
    EXPECT_TRUE(screen.shown("Praca w archiwum - blokada"));
    EXPECT_FALSE(fs::exists("koniec.txt"));
}

}  // namespace
