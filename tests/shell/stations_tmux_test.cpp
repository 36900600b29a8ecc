// End to end: two copies of the real program on one data folder, each in its own terminal
// (tmux). The second sees the first at work and takes workstation 2; both end in order and leave
// the slots free. Skipped when tmux cannot start here.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/table/table.h"
#include "platform/table/workarea_fixture.h"
#include "tmux.h"

namespace {

namespace fs = std::filesystem;
namespace table = platform::table;
using namespace std::chrono_literals;

#ifdef SKLAD_PATH
constexpr const char* kSklad = SKLAD_PATH;
#else
constexpr const char* kSklad = nullptr;
#endif

const std::string kShade = "\xB1";  // the supervisor's mark in a slot

std::string slots(const fs::path& dir) {
    table::Table t(dir / "firma.dbf", table::OpenMode::ReadOnly);
    t.go_top();
    return std::get<std::string>(t.get("ST"));
}

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(StationsInTmux, TheSecondCopySeesTheFirstTakesSlotTwoAndBothLeaveTheSlotsFree) {
    if (!kSklad || !fs::exists(kSklad)) GTEST_SKIP() << "sklad is not built";
    if (!sklad_test::tmux_available()) GTEST_SKIP() << "tmux is not installed";
    table_fixture::ScratchFolder dir, scratch;
    const std::string start = "cd " + dir.path().string() + " && ";

    sklad_test::Tmux first("sklad_station_1");
    if (!first.run("new-session -d -s demo -x 80 -y 25 '" + start + kSklad + "; echo EXIT=$?; sleep 600'"))
        GTEST_SKIP() << "tmux cannot start a session here";
    ASSERT_TRUE(first.wait_for("EDYCJA DANYCH O FIRMIE", 20s)) << first.screen();
    first.type("Hurtownia Test");
    first.keys("Enter PageDown");
    ASSERT_TRUE(first.wait_for("Enter-Zalogowanie", 20s)) << first.screen();
    first.keys("Enter");
    ASSERT_TRUE(first.wait_for("Zmiana operatora", 20s)) << first.screen();
    EXPECT_EQ(slots(dir.path()), kShade + std::string(29, '0'));

    // The second terminal's output is recorded from its first byte: what it shows while it
    // registers is drawn over by the main screen at once.
    const fs::path go = scratch / "go", output = scratch / "output";
    sklad_test::Tmux second("sklad_station_2");
    ASSERT_TRUE(second.run("new-session -d -s demo -x 80 -y 25 'while [ ! -e " + go.string() +
                           " ]; do sleep 0.1; done; " + start + kSklad + "; echo EXIT=$?; sleep 600'"));
    ASSERT_TRUE(second.run("pipe-pane -t demo -o 'cat >> " + output.string() + "'"));
    std::ofstream(go.string()) << "";
    ASSERT_TRUE(second.wait_for("Enter-Zalogowanie", 20s)) << second.screen();
    EXPECT_NE(read(output).find("0 - PRACUJE"), std::string::npos);
    second.keys("Enter");
    ASSERT_TRUE(second.wait_for("Zmiana operatora", 20s)) << second.screen();
    EXPECT_EQ(slots(dir.path()), kShade + kShade + std::string(28, '0'));
    EXPECT_TRUE(fs::exists(dir.path() / "rob" / "d02.dbf"));  // its scratch files carry its number

    second.keys("Escape");
    ASSERT_TRUE(second.wait_for("CZY CHCESZ ZAKONCZYC PRACE ?")) << second.screen();
    second.keys("T");
    ASSERT_TRUE(second.wait_for("EXIT=0", 20s)) << second.screen();
    EXPECT_EQ(slots(dir.path()), kShade + std::string(29, '0'));

    first.keys("Escape");
    ASSERT_TRUE(first.wait_for("CZY CHCESZ ZAKONCZYC PRACE ?")) << first.screen();
    first.keys("T");
    ASSERT_TRUE(first.wait_for("EXIT=0", 20s)) << first.screen();
    EXPECT_EQ(slots(dir.path()), std::string(30, '0'));
    EXPECT_FALSE(fs::exists(dir.path() / "bledy.txt"));
}

}  // namespace
