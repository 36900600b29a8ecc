#include "platform/console/memoedit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "platform/console/console_fixture.h"

namespace platform::console::testing {
namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const fs::path& p, std::string_view s) {
    std::ofstream out(p, std::ios::binary);
    out << s;
}

class MemoeditTest : public ConsoleTest {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("memoedit_test_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        con().settings().insert = true;
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(MemoeditTest, EditingAFileKeepsItsLineEndsAndStoresPolishLettersAsCodePage852) {
    fs::path file = dir_ / "fv_stopa.txt";
    write_file(file, "Linia 1\r\nLinia 2\r\n");
    hc.keys("End Space o k Down Home Del Ctrl-PgDn");
    hc.type("Zażółć");
    hc.keys("Ctrl-W");
    EXPECT_TRUE(memoedit_file(con(), file, 2, 0, 10, 79));
    EXPECT_EQ(read_file(file), "Linia 1 ok\r\ninia 2\r\n" + std::string("Zażółć"_852));
    EXPECT_EQ(hc.row_trimmed(2), "Linia 1 ok");
    EXPECT_EQ(hc.row_trimmed(4), "Zażółć");
    EXPECT_EQ(hc.backend().pending(), 0u);
    for (const auto& e : fs::directory_iterator(dir_)) EXPECT_EQ(e.path().filename(), "fv_stopa.txt");  // no leftovers
}

TEST_F(MemoeditTest, EscLeavesTheFileAndTheTextAsTheyWere) {
    fs::path file = dir_ / "pomoc.txt";
    write_file(file, "one\ntwo\n");
    hc.keys("x y Ctrl-Y Esc");
    EXPECT_FALSE(memoedit_file(con(), file, 0, 0, 24, 79));
    EXPECT_EQ(read_file(file), "one\ntwo\n");

    hc.keys("x Esc");
    EditResult r = memoedit(con(), "abc", 0, 0, 5, 40);
    EXPECT_FALSE(r.saved);
    EXPECT_EQ(r.text, "abc");

    // A missing file starts empty and is created only when saved.
    fs::path fresh = dir_ / "nowy.txt";
    hc.keys("Esc");
    EXPECT_FALSE(memoedit_file(con(), fresh, 0, 0, 24, 79));
    EXPECT_FALSE(fs::exists(fresh));
    hc.keys("h i Ctrl-W");
    EXPECT_TRUE(memoedit_file(con(), fresh, 0, 0, 24, 79));
    EXPECT_EQ(read_file(fresh), "hi");
}

TEST_F(MemoeditTest, EditingKeys) {
    struct Case {
        const char* text;
        const char* keys;
        const char* result;
    } cases[] = {
        {"ab", "End Enter c Ctrl-W", "ab\r\nc"},                    // a text without line ends gets CR LF
        {"ab\ncd\n", "Down Home Backspace Ctrl-W", "abcd\n"},              // Backspace at a line start joins
        {"ab\ncd", "End Del Ctrl-W", "abcd"},                        // Del at a line end joins
        {"ab\ncd\nef", "Down Ctrl-Y Ctrl-W", "ab\nef"},              // Ctrl-Y deletes the line
        {"ab\ncd", "Down Ctrl-Y Ctrl-W", "ab"},                      // ...the last one too
        {"abc def ghi", "Ctrl-Right Ctrl-T Ctrl-W", "abc ghi"},      // Ctrl-T deletes the word right
        {"abcd", "Ins x y Ctrl-W", "xycd"},                          // overwrite mode
        {"abcd", "Right Right Enter Ctrl-W", "ab\r\ncd"},            // Enter splits in insert mode
        {"a\r\nb", "End Enter Ctrl-W", "a\r\n\r\nb"},                // the text's own line end is used
        {"ab", "Tab x Ctrl-W", "    xab"},                            // Tab: blanks to the next stop
        {"abc", "End Left Left Backspace Ctrl-W", "bc"},
        {"", "Ctrl-End", ""},                                        // Ctrl-End is Ctrl-W: saves
    };
    for (const auto& c : cases) {
        con().settings().insert = true;
        hc.keys(c.keys);
        EditResult r = memoedit(con(), c.text, 0, 0, 10, 40);
        EXPECT_TRUE(r.saved) << c.keys;
        EXPECT_EQ(r.text, c.result) << c.text << " / " << c.keys;
        EXPECT_EQ(hc.backend().pending(), 0u) << c.keys;
    }
}

TEST_F(MemoeditTest, LongLinesScrollSidewaysAndAreNeverWrapped) {
    std::string line = std::string(30, 'a') + std::string(30, 'b') + "END";
    hc.keys("End Ctrl-W");
    EditResult r = memoedit(con(), line + "\r\nnext", 3, 5, 4, 24);  // a window 20 columns wide
    EXPECT_EQ(r.text, line + "\r\nnext");
    EXPECT_EQ(hc.text(3, 5, 20), std::string(16, 'b') + "END ");
    EXPECT_EQ(hc.text(4, 5, 20), std::string(20, ' '));  // "next" is off to the left
    EXPECT_EQ(hc.backend().cursor().col, 24);
    EXPECT_EQ(hc.text(3, 4, 1), " ");  // nothing drawn outside the window
    EXPECT_EQ(hc.text(3, 25, 1), " ");
}

TEST_F(MemoeditTest, ReadOnlyViewerScrollsAndNeverChangesTheText) {
    std::string text;
    for (int i = 1; i <= 30; ++i) text += "wiersz " + std::to_string(i) + "\r\n";
    con().set_cursor_shape(CursorShape::Normal);
    hc.keys("x Del PgDn Down Ctrl-W");
    EditResult r = memoedit(con(), text, 0, 0, 22, 79, false);
    EXPECT_FALSE(r.saved);
    EXPECT_EQ(r.text, text);
    EXPECT_EQ(hc.row_trimmed(0), "wiersz 9");  // 31 lines (the last empty) in 23 rows: the end is 9
    EXPECT_EQ(hc.row_trimmed(22), "");
    EXPECT_EQ(con().cursor_shape(), CursorShape::Normal);  // restored after the hidden cursor

    hc.keys("Ctrl-PgDn Up Up Ctrl-PgUp Down Esc");
    memoedit(con(), text, 0, 0, 22, 79, false);
    EXPECT_EQ(hc.row_trimmed(0), "wiersz 2");

    fs::path file = dir_ / "help.txt";
    write_file(file, text);
    hc.keys("Ctrl-W");
    EXPECT_FALSE(memoedit_file(con(), file, 0, 0, 22, 79, false));
}

}  // namespace
}  // namespace platform::console::testing
