#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "../common/app_screen.h"
#include "holder.h"
#include "common/console.h"
#include "data/access.h"
#include "data/engine.h"
#include "platform/table/table.h"
#include "platform/table/workarea_fixture.h"

using namespace sklad;
namespace fs = std::filesystem;
namespace table = platform::table;
using sklad::testing::Holder;

namespace {

const std::vector<FieldDef> kCounter = {{"NR", FieldType::Character, 3, 0}, {"N", FieldType::Numeric, 10, 0}};

class AccessTest : public sklad::testing::AppScreenTest {
  protected:
    void SetUp() override {
        RESET_WORKAREAS();
        fs::create_directories("24/01");
        fs::create_directories("rob");
        DBCREATE("licznik", kCounter);
        DBSELECTAREA(1);
        ASSERT_TRUE(DBUSEAREA(false, "licznik", "licznik"));
        ASSERT_TRUE(ADD_REC(1));
        DBUNLOCK();
    }
    void TearDown() override { RESET_WORKAREAS(); }
    double waited() { return hc.clock().seconds() - start_; }
    void start() { start_ = hc.clock().seconds(); }

    table_fixture::ScratchFolder dir{true};
    double start_ = 0;
};

}  // namespace

TEST_F(AccessTest, RecLockRetriesForItsTimeInHalfSecondSteps) {
    Holder other("licznik.dbf", Holder::Record);
    DBGOTO(1);
    struct Case {
        double seconds;
        double waits;
    } cases[] = {{1, 1.0}, {10, 10.0}, {0.5, 0.5}};
    for (const auto& c : cases) {
        start();
        EXPECT_FALSE(REC_LOCK(c.seconds));
        EXPECT_DOUBLE_EQ(waited(), c.waits) << c.seconds;  // REC_LOCK(1): three attempts, about a second
    }
    start();
    hc.keys("a");  // a key shortens a wait (and is consumed)
    EXPECT_FALSE(REC_LOCK(1));
    EXPECT_DOUBLE_EQ(waited(), 0.5);
    EXPECT_EQ(NEXTKEY(), 0);
    start();
    EXPECT_FALSE(FIL_LOCK(2));
    EXPECT_DOUBLE_EQ(waited(), 2.0);
}

TEST_F(AccessTest, RecLockGetsTheRecordWhenTheOtherCopyLetsGo) {
    // Real waits here: the other process lets go after 0.6 s of real time.
    platform::console::testing::HeadlessConsole real;
    auto backend = std::make_unique<platform::console::HeadlessBackend>();
    platform::console::Console console(std::move(backend), std::make_unique<platform::console::RealClock>());
    INSTALL_CONSOLE(&console);
    {
        Holder other("licznik.dbf", Holder::Record, 0.6);
        DBGOTO(1);
        EXPECT_TRUE(REC_LOCK(5));
        FIELDPUT("n", Value(Decimal(7)));
        DBUNLOCK();
    }
    INSTALL_CONSOLE(&hc.console());
    DBGOTO(1);
    EXPECT_EQ(FN("n"), Decimal(7));
}

TEST_F(AccessTest, AddRecWaitsForTheAppendLock) {
    Holder other("licznik.dbf", Holder::Table);
    start();
    EXPECT_FALSE(ADD_REC(1));
    EXPECT_DOUBLE_EQ(waited(), 1.0);
    EXPECT_EQ(LASTREC(), 1);
}

TEST_F(AccessTest, NetUseExclusiveAgainstASharedHolder) {
    DBCLOSEALL();
    Holder other("licznik.dbf", Holder::Shared);
    bool shown = false;
    SETKEY(K_ALT_Z, [&] { shown = hc.row(17).find("Otwieram plik licznik.dbf") != std::string::npos; });
    hc.keys("Alt-Z");
    start();
    EXPECT_FALSE(NET_USE("licznik", "licznik", true, 3));
    EXPECT_TRUE(shown);
    EXPECT_DOUBLE_EQ(waited(), 2.0);  // three attempts one second apart
    EXPECT_EQ(hc.row_trimmed(17), "");
    EXPECT_TRUE(NET_USE("licznik", "licznik", false, 1));  // shared opens coexist
    SETKEY(K_ALT_Z, {});
}

TEST_F(AccessTest, NetUseOfWorkstationTablesShowsNoMessage) {
    DBCREATE("rob\\d03", kCounter);
    bool shown = true;
    SETKEY(K_ALT_Z, [&] { shown = hc.row(17).find("Otwieram") != std::string::npos; });
    {
        Holder other("rob/d03.dbf", Holder::Shared);
        hc.keys("Alt-Z");
        DBSELECTAREA(4);
        EXPECT_FALSE(NET_USE("rob\\d03", "dd", true, 2));
    }
    EXPECT_FALSE(shown);
    EXPECT_TRUE(NET_USE("rob\\d03", "dd", true, 1));
    SETKEY(K_ALT_Z, {});
}

TEST_F(AccessTest, AddRecFromSeveralProcessesNeverLosesOrDoublesARecord) {
    DBCLOSEALL();
    constexpr int kProcs = 4, kEach = 150;
    std::vector<pid_t> kids;
    for (int p = 0; p < kProcs; ++p) {
        pid_t pid = fork();
        if (pid == 0) {
            RESET_WORKAREAS();
            DBSELECTAREA(1);
            if (!NET_USE("licznik", "licznik", false, 5)) _exit(2);
            for (int i = 0; i < kEach; ++i) {
                if (!ADD_REC(0)) _exit(3);
                FIELDPUT("nr", Value(std::to_string(p)));
                FIELDPUT("n", Value(Decimal(i)));
                DBUNLOCK();
            }
            DBCLOSEALL();
            _exit(0);
        }
        kids.push_back(pid);
    }
    for (pid_t k : kids) {
        int status = 0;
        waitpid(k, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ASSERT_TRUE(NET_USE("licznik", "licznik", false, 1));
    std::set<std::pair<std::string, long long>> seen;
    for (DBGOTOP(); !EOF(); DBSKIP()) seen.insert({FC("nr"), FN("n").to_int()});
    EXPECT_EQ(LASTREC(), 1 + kProcs * kEach);
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(1 + kProcs * kEach));
}

TEST_F(AccessTest, FileXIgnoresCaseAndBlanks) {
    std::ofstream("parametr.txt") << "x";
    std::ofstream("rob/Wydruk03.PRN") << "x";
    struct Case {
        const char* name;
        bool found;
    } cases[] = {{"PARAMETR.TXT", true}, {" parametr.txt ", true}, {"PARA METR.TXT", true},
                 {"rob\\WYDRUK03.prn", true}, {"ROB\\wydruk*.prn", true}, {"brak.txt", false}, {"", false}};
    for (const auto& c : cases) EXPECT_EQ(FILE_X(c.name), c.found) << c.name;
    EXPECT_EQ(USUN_SPACJE(" a b  c "), "abc");
}

TEST_F(AccessTest, TworzRecreatesTablesEmpty) {
    const std::string spec = "24\\01\\dowod,R_P       ,C,  1,  0,RD        ,C,  3,  0,NRD       ,C,  8,  0,"
                             "DATA      ,D,  8,  0,NETTO     ,N, 18,  4";
    ASSERT_TRUE(TWORZ(spec, true, 3));
    DBSELECTAREA(6);
    ASSERT_TRUE(NET_USE("24\\01\\dowod", "dowod", false, 1));
    auto s = DBSTRUCT();
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(s[4], (FieldDef{"NETTO", FieldType::Numeric, 18, 4}));
    ASSERT_TRUE(ADD_REC(1));
    DBUNLOCK();
    // Recreated while open in the selected area: closed first, then empty.
    ASSERT_TRUE(TWORZ(spec, true, 3));
    EXPECT_FALSE(USED());
    EXPECT_EQ(SELECT(), 6);
    ASSERT_TRUE(NET_USE("24\\01\\dowod", "dowod", false, 1));
    EXPECT_EQ(LASTREC(), 0);
    EXPECT_FALSE(fs::exists("strukt03.dbf"));
}

TEST_F(AccessTest, TworzRefusesATableAnotherCopyHasOpen) {
    ASSERT_TRUE(TWORZ("24\\01\\as,MAG,C,1,0", true, 2));
    Holder other("24/01/as.dbf", Holder::Shared);
    EXPECT_FALSE(TWORZ("24\\01\\as,MAG,C,1,0,INDEKS,C,8,0", true, 2));
}

TEST_F(AccessTest, DowodLogKeepsTheNewestEntriesFirst) {
    ASSERT_TRUE(TWORZ("rob\\dowod01,RD,C,3,0", true, 1));
    EXPECT_FALSE(fs::exists("DOWOD.LOG"));
    for (int i = 0; i < 13; ++i) ASSERT_TRUE(TWORZ("24\\01\\dowod,RD,C,3,0", true, 1));
    std::ifstream log("DOWOD.LOG");
    std::vector<std::string> lines;
    for (std::string l; std::getline(log, l);) lines.push_back(l);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(0, 10), "15.01.2024");
    EXPECT_NE(lines[0].find(", plik: 24\\01\\dowod, "), std::string::npos) << lines[0];
    EXPECT_EQ(lines[0].back(), '\r');
    EXPECT_EQ(lines[1], "\r");
    EXPECT_EQ(lines.size(), 2u + 10u);  // the new entry, a blank line, ten older entries
    EXPECT_TRUE(fs::exists("dowod_.txt"));
}
