// End to end: the real program started in an empty folder in a terminal (tmux), typed at as a person
// would, read back with capture-pane. Skipped when tmux cannot start here.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/table/workarea_fixture.h"
#include "tmux.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

#ifdef SKLAD_PATH
constexpr const char* kSklad = SKLAD_PATH;
#else
constexpr const char* kSklad = nullptr;
#endif

TEST(ProgramInTmux, FirstStartReachesTheMenusWalksTheRingAndEndsInOrder) {
    if (!kSklad || !fs::exists(kSklad)) GTEST_SKIP() << "sklad is not built";
    if (!sklad_test::tmux_available()) GTEST_SKIP() << "tmux is not installed";
    table_fixture::ScratchFolder dir;
    sklad_test::Tmux tmux("sklad_program_test");
    if (!tmux.run("new-session -d -s demo -x 80 -y 25 'cd " + dir.path().string() + " && " + kSklad +
                  "; echo EXIT=$?; sleep 600'"))
        GTEST_SKIP() << "tmux cannot start a session here";

    // An empty folder: the firm's name is asked for first.
    ASSERT_TRUE(tmux.wait_for("EDYCJA DANYCH O FIRMIE", 20s)) << tmux.screen();
    tmux.type("Hurtownia Test");
    tmux.keys("Enter PageDown");
    // The new operator table's supervisor logs in without a password.
    ASSERT_TRUE(tmux.wait_for("Enter-Zalogowanie", 20s)) << tmux.screen();
    tmux.keys("Enter");
    ASSERT_TRUE(tmux.wait_for("Zmiana operatora", 20s)) << tmux.screen();
    EXPECT_NE(tmux.screen().find("Hurtownia Test"), std::string::npos);

    // Left walks to the settlements, then the stock menu; Left again wraps to the special functions.
    tmux.keys("Left");
    ASSERT_TRUE(tmux.wait_for("Rozrachunki z odbiorcami")) << tmux.screen();
    tmux.keys("Left");
    ASSERT_TRUE(tmux.wait_for("Kartoteki magazynowe")) << tmux.screen();
    tmux.keys("Left");
    ASSERT_TRUE(tmux.wait_for("Edycja bazy BLAT")) << tmux.screen();
    tmux.keys("Right");
    ASSERT_TRUE(tmux.wait_for("Kartoteki magazynowe")) << tmux.screen();

    tmux.keys("Escape");
    ASSERT_TRUE(tmux.wait_for("CZY CHCESZ ZAKONCZYC PRACE ?")) << tmux.screen();
    tmux.keys("T");
    ASSERT_TRUE(tmux.wait_for("EXIT=0", 20s)) << tmux.screen();
    EXPECT_TRUE(fs::exists(dir.path() / "firma.dbf"));
    EXPECT_TRUE(fs::exists(dir.path() / "parametr.mem"));
}

}  // namespace
