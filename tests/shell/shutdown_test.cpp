// The orderly end of a run and the automatic transfer it runs once. The end by signal is in
// workstation_process_test.cpp (it ends the process).
#include "shell/operator_log.h"
#include "shell/shutdown.h"
#include "station_fixture.h"

using namespace sklad;
using namespace sklad::testing;

namespace {

class ShutdownTest : public StationTest {
  protected:
    // The period's document tables open, as during work.
    static void open_period() {
        for (const char* alias : {"dow", "dowod"}) {
            table_fixture::make_table(std::string(alias) + ".dbf", {{"RD", FieldType::Character, 3, 0}}, {});
            DBSELECTAREA(0);
            ASSERT_TRUE(NET_USE(alias, alias, false, 1));
        }
    }
};

TEST_F(ShutdownTest, OrderlyEndReleasesClosesAndLogs) {
    J_KANTY = "T";
    write("SESJE.TXT", "");
    ASSERT_EQ(IN_NET(), 1);
    M_NAZWISKO = "Nowak";
    KONIEC_PRACY();
    EXPECT_TRUE(screen.shown("KONIEC PRACY PROGRAMU"));
    EXPECT_EQ(screen.row(20), "");
    EXPECT_FALSE(WORKAREAS().used(1));
    EXPECT_EQ(firm_text("ST"), zeros(30));
    EXPECT_TRUE(fs::exists("parametr.txt"));
    EXPECT_NE(read("operator.txt").find("Nowak" + std::string(25, ' ') + " wylaczyl komputer"), std::string::npos);
}

TEST_F(ShutdownTest, NoEndEntryWithoutAnOperator) {
    J_KANTY = "T";
    write("SESJE.TXT", "");
    ASSERT_EQ(IN_NET(), 1);
    KONIEC_PRACY("");
    EXPECT_FALSE(screen.shown("KONIEC PRACY PROGRAMU"));
    EXPECT_FALSE(fs::exists("operator.txt"));
}

TEST_F(ShutdownTest, AutomaticTransferRunsOnceWhileTodaysPeriodIsOpen) {
    write("AUTO_GG.TXT", "");
    HH = "24\\01";
    EXPECT_FALSE(PRZENIESIENIE_NA_KONIEC());  // the period's tables are not open
    open_period();
    HH = "23\\12";
    EXPECT_FALSE(PRZENIESIENIE_NA_KONIEC());  // today lies outside the open period
    HH = "24\\01";
    fs::remove("AUTO_GG.TXT");
    EXPECT_FALSE(PRZENIESIENIE_NA_KONIEC());
    write("AUTO_GG.TXT", "");
    EXPECT_TRUE(PRZENIESIENIE_NA_KONIEC());
    EXPECT_FALSE(PRZENIESIENIE_NA_KONIEC());  // a second way out of the same run
}

}  // namespace
