// End to end: the demo program in a real terminal (tmux), driven by keys as a person would type
// them, read back with capture-pane. Skipped when tmux cannot start here.

#include <gtest/gtest.h>

#include "tmux.h"
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;
using sklad_test::Tmux;
using namespace std::chrono_literals;

#ifdef CONSOLE_DEMO_PATH
constexpr const char* kDemo = CONSOLE_DEMO_PATH;
#else
constexpr const char* kDemo = nullptr;
#endif

class DemoInTmux : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!kDemo || !fs::exists(kDemo)) GTEST_SKIP() << "console_demo is not built";
        if (std::system("tmux -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "tmux is not installed";
        end_file_ = fs::temp_directory_path() /
                    ("console_demo_end_" + std::to_string(::getpid()) + "_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove(end_file_);
        // A shell runs the demo and reports how it ended, then keeps the pane alive, so the state the
        // demo left the terminal in can be read.
        if (!tmux_.start("env CONSOLE_DEMO_END_FILE=" + end_file_.string() + " " + kDemo +
                         "; echo EXIT=$?; sleep 600"))
            GTEST_SKIP() << "tmux cannot start a session here";
        ASSERT_TRUE(tmux_.wait_for("Lista miesiecy")) << tmux_.screen();
    }
    void TearDown() override { fs::remove(end_file_); }

    Tmux tmux_{"console_demo_test"};
    fs::path end_file_;
};

TEST_F(DemoInTmux, MenuPickListBrowseEditorAndHotKeyThroughARealTerminal) {
    // Light-bar menu and pick-list.
    tmux_.keys("Enter");
    ASSERT_TRUE(tmux_.wait_for("Czerwiec")) << tmux_.screen();
    tmux_.keys("Down Down Enter");
    ASSERT_TRUE(tmux_.wait_for("Wybrano: Marzec")) << tmux_.screen();

    // The browse: the menu wraps from the first entry upwards to the last, then back down.
    tmux_.keys("Up Up Up Up Enter");
    ASSERT_TRUE(tmux_.wait_for("Towar 001")) << tmux_.screen();
    tmux_.keys("Down Down C-PageDown Up Enter");
    ASSERT_TRUE(tmux_.wait_for("Wybrano: Towar 199")) << tmux_.screen();

    // The editor takes Polish letters typed in UTF-8, keeps them as code page 852 and shows them back;
    // Alt-K opens its box from inside the editor's wait.
    tmux_.keys("Down Enter");
    ASSERT_TRUE(tmux_.wait_for("Ctrl-W zapis")) << tmux_.screen();
    tmux_.type("Zażółć gęślą");
    ASSERT_TRUE(tmux_.wait_for("Zażółć gęślą")) << tmux_.screen();
    tmux_.keys("M-k");
    ASSERT_TRUE(tmux_.wait_for("KALKULATOR")) << tmux_.screen();
    tmux_.keys("Escape C-w");
    ASSERT_TRUE(tmux_.wait_for("cp852: 5a 61 be a2 88 86 20 67 a9 98 6c a5")) << tmux_.screen();
    EXPECT_NE(tmux_.screen().find("Zapisano: Zażółć gęślą"), std::string::npos);
    EXPECT_EQ(tmux_.screen().find("KALKULATOR"), std::string::npos);  // the box restored what it covered

    // Keys as tmux sends them, decoded into the system's codes.
    tmux_.keys("Down Enter");
    ASSERT_TRUE(tmux_.wait_for("Klawisze (Esc")) << tmux_.screen();
    struct {
        const char* tmux;
        const char* shown;
    } keys[] = {{"F1", "Klawisz: F1 (28)"},          {"F2", "Klawisz: F2 (-1)"},
                {"F10", "Klawisz: F10 (-9)"},        {"S-F3", "Klawisz: Shift-F3 (-12)"},
                {"C-F2", "Klawisz: Ctrl-F2 (-21)"},  {"M-F9", "Klawisz: Alt-F9 (-38)"},
                {"M-k", "Klawisz: Alt-K (293)"},     {"C-Left", "Klawisz: Ctrl-Left (26)"},
                {"PageDown", "Klawisz: PgDn (3)"},   {"C-PageUp", "Klawisz: Ctrl-PgUp (31)"},
                {"Home", "Klawisz: Home (1)"},       {"End", "Klawisz: End (6)"},
                {"IC", "Klawisz: Ins (22)"},         {"DC", "Klawisz: Del (7)"},
                {"BTab", "Klawisz: Shift-Tab (271)"}, {"C-c", "Klawisz: PgDn (3)"},
                {"C-s", "Klawisz: Left (19)"},       {"C-\\\\", "Klawisz: F1 (28)"}};
    for (const auto& k : keys) {
        tmux_.keys("x");  // something else first, so each expected line is new
        ASSERT_TRUE(tmux_.wait_for("Klawisz: x (120)")) << tmux_.screen();
        tmux_.keys(k.tmux);
        EXPECT_TRUE(tmux_.wait_for(k.shown)) << k.tmux << "\n" << tmux_.screen();
    }
    // Ctrl-C, Ctrl-S and Ctrl-\ above were keys, not signals: the program still runs.
    EXPECT_EQ(tmux_.screen().find("EXIT="), std::string::npos);
    tmux_.keys("Escape");

    // Esc in the main menu ends the program normally and gives the terminal back.
    tmux_.keys("Escape");
    ASSERT_TRUE(tmux_.wait_for("EXIT=0")) << tmux_.screen();
    EXPECT_EQ(tmux_.format("#{alternate_on}"), "0");
    EXPECT_EQ(tmux_.format("#{cursor_flag}"), "1");
    EXPECT_FALSE(fs::exists(end_file_));
}

TEST_F(DemoInTmux, TerminationSignalRunsTheEndHandlerAndRestoresTheTerminal) {
    tmux_.keys("Enter");  // waiting inside the pick-list
    ASSERT_TRUE(tmux_.wait_for("Czerwiec")) << tmux_.screen();
    pid_t pid = tmux_.child_pid();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    ASSERT_TRUE(tmux_.wait_for("EXIT=" + std::to_string(128 + SIGTERM))) << tmux_.screen();
    EXPECT_EQ(tmux_.format("#{alternate_on}"), "0");
    EXPECT_EQ(tmux_.format("#{cursor_flag}"), "1");
    std::ifstream in(end_file_);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "koniec " + std::to_string(SIGTERM) + "\n");
}

TEST_F(DemoInTmux, CrashRestoresTheTerminalAndStillDiesOfItsSignal) {
    tmux_.keys("Up Up Enter");  // the key viewer
    ASSERT_TRUE(tmux_.wait_for("Klawisze (Esc")) << tmux_.screen();
    tmux_.keys("M-x");
    ASSERT_TRUE(tmux_.wait_for("EXIT=" + std::to_string(128 + SIGABRT))) << tmux_.screen();
    EXPECT_EQ(tmux_.format("#{alternate_on}"), "0");
    EXPECT_EQ(tmux_.format("#{cursor_flag}"), "1");
    EXPECT_FALSE(fs::exists(end_file_));  // a crash is no orderly end
}

}  // namespace
