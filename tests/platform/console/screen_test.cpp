#include "platform/console/screen.h"

#include <gtest/gtest.h>

#include "platform/text/cp852.h"
#include "platform/console/console_fixture.h"

namespace platform::console::testing {
namespace {

using ScreenTest = ConsoleTest;

TEST_F(ScreenTest, SingleAndDoubleBoxesAndAFramestringWithFill) {
    con().set_colour("W+/B");
    con().box(1, 2, 3, 8, kBoxSingle);
    EXPECT_EQ(hc.text(1, 2, 7), "┌─────┐");
    EXPECT_EQ(hc.text(2, 2, 7), "│     │");
    EXPECT_EQ(hc.text(3, 2, 7), "└─────┘");
    EXPECT_EQ(hc.colour(1, 2), "W+/B");
    EXPECT_EQ(hc.colour(2, 4), "W/N");  // the inside is not touched without a 9th character
    EXPECT_EQ(con().row(), 2);
    EXPECT_EQ(con().col(), 3);

    con().box(5, 0, 7, 3, kBoxDouble, make_attr(0, 7));
    EXPECT_EQ(hc.text(5, 0, 4), "╔══╗");
    EXPECT_EQ(hc.text(7, 0, 4), "╚══╝");

    // The browse frame string of the lists, given in code page 852 bytes, fills its inside.
    con().out_at(10, 11, "xx");
    con().box(9, 10, 11, 13, "╔═╗║╝═╚║ "_852, make_attr(14, 1));
    EXPECT_EQ(hc.text(10, 10, 4), "║  ║");
    EXPECT_EQ(hc.colour(10, 11), "GR+/B");
}

TEST_F(ScreenTest, SavedImageIsKeptAndRestoredLaterAfterOtherChanges) {
    con().out_at(0, 0, "Main screen");
    con().out_at(24, 70, "F1-pomoc");
    ScreenImage whole = con().save(0, 0, 24, 79);
    ScreenImage corner = con().save(0, 0, 0, 3);
    EXPECT_EQ(corner.rows, 1);
    EXPECT_EQ(corner.cols, 4);

    con().clear_screen();
    con().out_at(0, 0, "Sub screen");
    ScreenImage sub = con().save(0, 0, 24, 79);

    con().restore(0, 0, 24, 79, whole);
    EXPECT_EQ(hc.row_trimmed(0), "Main screen");
    EXPECT_EQ(hc.text(24, 70, 8), "F1-pomoc");

    con().restore(0, 0, 24, 79, sub);
    con().restore(0, 0, 0, 3, corner);  // a rectangle goes back on its own
    EXPECT_EQ(hc.row_trimmed(0), "Mainscreen");

    con().restore(0, 0, 24, 79, ScreenImage{});  // an empty image changes nothing
    EXPECT_EQ(hc.row_trimmed(0), "Mainscreen");
}

TEST_F(ScreenTest, ScrollUpDownAndClearARectangleInTheStandardColour) {
    for (int r = 0; r < 4; ++r) con().out_at(r, 0, std::string(1, static_cast<char>('a' + r)) + "bcd");
    con().set_colour("N/W");
    con().scroll(0, 0, 3, 1, 1);  // up one row, columns 0-1 only
    EXPECT_EQ(hc.text(0, 0, 4), "bbcd");
    EXPECT_EQ(hc.text(3, 0, 4), "  cd");
    EXPECT_EQ(hc.colour(3, 0), "N/W");
    EXPECT_EQ(hc.colour(3, 2), "W/N");

    con().scroll(0, 0, 3, 1, -2);  // down two
    EXPECT_EQ(hc.text(0, 0, 2), "  ");
    EXPECT_EQ(hc.text(2, 0, 2), "bb");

    con().scroll(0, 2, 3, 3);  // clear
    EXPECT_EQ(hc.text(1, 2, 2), "  ");
}

TEST_F(ScreenTest, WritingClipsAtTheEdgeAndMovesThePosition) {
    con().out_at(5, 76, "abcdefg");
    EXPECT_EQ(hc.text(5, 76, 4), "abcd");
    EXPECT_EQ(hc.row_trimmed(6), "");
    EXPECT_EQ(con().col(), 83);  // the position may stand off the screen, as after any long write
    con().out_at(-1, 0, "nothing");
    con().out_at(2, -2, "xyz");
    EXPECT_EQ(hc.text(2, 0, 2), "z ");
}

TEST_F(ScreenTest, LineOutputWrapsAndScrollsTheWholeScreen) {
    con().out_at(0, 0, "top");
    con().set_pos(23, 0);
    con().qout("second last");
    EXPECT_EQ(hc.row_trimmed(24), "second last");
    con().qout(std::string(85, 'x'));  // wraps: two more rows, two scrolls
    EXPECT_EQ(hc.row_trimmed(22), "second last");
    EXPECT_EQ(hc.row(23), std::string(80, 'x'));
    EXPECT_EQ(hc.row_trimmed(24), "xxxxx");
    con().qqout("!");
    EXPECT_EQ(hc.row_trimmed(24), "xxxxx!");
    EXPECT_EQ(hc.row_trimmed(0), "");  // "top" scrolled away
}

TEST_F(ScreenTest, PolishLettersAndSymbolsShowAsTheTerminalWillDrawThem) {
    con().out_at(0, 0, "Zażółć gęślą jaźń"_852);
    EXPECT_EQ(hc.row_trimmed(0), "Zażółć gęślą jaźń");
    con().out_at(1, 0, "\x10\x18\x19\x1A\x1B\xB1\xDB");  // triangle, arrows, shade, block
    EXPECT_EQ(hc.text(1, 0, 7), "►↑↓→←▒█");
}

TEST_F(ScreenTest, NothingIsShownUntilTheOutermostDispEnd) {
    int before = hc.backend().presents();
    con().disp_begin();
    con().disp_begin();
    con().out_at(0, 0, "a");
    con().box(1, 1, 3, 3, kBoxSingle);
    con().disp_end();
    EXPECT_EQ(hc.backend().presents(), before);
    con().disp_end();
    EXPECT_EQ(hc.backend().presents(), before + 1);
    con().disp_end();  // an extra end does no harm
    EXPECT_EQ(con().disp_depth(), 0);
}

TEST_F(ScreenTest, ColourArgumentTakesItsStandardPairAndFallsBackOnBadText) {
    con().set_colour("GR+/B,W/R");
    EXPECT_EQ(colour_name(con().attr_of("")), "GR+/B");
    EXPECT_EQ(colour_name(con().attr_of("N/W,W+/R")), "N/W");
    EXPECT_EQ(colour_name(con().attr_of("nonsense")), "GR+/B");
    EXPECT_EQ(con().set_colour(""), "GR+/B,W/R,N/N,N/N,N/W");
    EXPECT_EQ(con().colour(), ColourSpec::defaults());
}

// What a print subsystem would receive once it switches the output to the printer.
struct RecordingSink : DeviceSink {
    std::string log;
    void devpos(int row, int col) override { log += "@" + std::to_string(row) + "," + std::to_string(col); }
    void devout(std::string_view t) override { log += "[" + std::string(t) + "]"; }
    void qout(std::string_view t) override { log += "\\n" + std::string(t); }
    void qqout(std::string_view t) override { log += std::string(t); }
};

TEST_F(ScreenTest, OutputSwitchedToAnotherDeviceLeavesTheScreenAlone) {
    RecordingSink printer;
    con().set_device_sink(&printer);
    con().devpos(3, 10);
    con().devout("Faktura");
    con().set_line_sink(&printer, false);
    con().qout("linia");
    con().qqout(" 2");
    EXPECT_EQ(printer.log, "@3,10[Faktura]\\nlinia 2");
    for (int r = 0; r < kRows; ++r) EXPECT_EQ(hc.row_trimmed(r), "") << r;

    con().set_line_sink(&printer, true);  // the printer and the screen
    con().qqout("ekran");
    EXPECT_EQ(hc.row_trimmed(0), "ekran");

    con().set_device_sink(nullptr);
    con().set_line_sink(nullptr, false);
    con().devpos(4, 0);
    con().devout("znowu");
    EXPECT_EQ(hc.row_trimmed(4), "znowu");
}

TEST_F(ScreenTest, ToneSoundsAndLastsItsDuration) {
    auto start = hc.clock().now();
    con().tone(3000, 2);
    con().tone(3000, 2);
    ASSERT_EQ(hc.backend().tones().size(), 2u);
    EXPECT_EQ(hc.backend().tones()[0].frequency, 3000);
    EXPECT_EQ(hc.clock().now() - start, std::chrono::milliseconds(2 * 110));  // 2/18.2 s each
}

}  // namespace
}  // namespace platform::console::testing
