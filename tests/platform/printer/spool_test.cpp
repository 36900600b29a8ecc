#include "platform/printer/spool.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/text/cp852.h"
#include "platform/text/overstrike.h"

namespace platform::printer {
namespace {

using namespace std::string_literals;

std::string esc(std::string_view s) { return "\x1b" + std::string(s); }

Style with(std::function<void(Style&)> change) {
    Style s;
    change(s);
    return s;
}

// ---- control sequences -------------------------------------------------------------------

struct EscapeCase {
    const char* name;
    std::string sequence;
    Style expected;
};

void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.name; }

class EscapeSequence : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeSequence, ChangesTheTypeOfTheTextAfterIt) {
    const EscapeCase& c = GetParam();
    SpoolDocument doc = parse_spool(c.sequence + "X");
    ASSERT_EQ(doc.pages.size(), 1u);
    ASSERT_EQ(doc.pages[0].lines.size(), 1u);
    const Line& line = doc.pages[0].lines[0];
    ASSERT_EQ(line.runs.size(), 1u) << "the sequence left bytes behind as text";
    EXPECT_EQ(line.runs[0].text, "X");
    const Style& s = line.runs[0].style;
    EXPECT_NEAR(s.cpi, c.expected.cpi, 0.01);
    EXPECT_EQ(s.points, c.expected.points);
    EXPECT_EQ(s.bold, c.expected.bold);
    EXPECT_EQ(s.italic, c.expected.italic);
    EXPECT_EQ(s.underline, c.expected.underline);
    EXPECT_EQ(s.condensed, c.expected.condensed);
    EXPECT_EQ(s.double_width, c.expected.double_width);
}

const std::string kPclNormal = esc("&l0O") + esc("(10U") + esc("(s0P") + esc("(s20H") + esc("(s10V") + esc("(s0S") +
                               esc("(s0B") + esc("(s4101T") + esc("(s2Q");
const std::string kPclHeadline = esc("&l0O") + esc("(10U") + esc("(s0P") + esc("(s6H") + esc("(s14V") + esc("(s0S") +
                                 esc("(s0B") + esc("(s4101T") + esc("(s2Q");

INSTANTIATE_TEST_SUITE_P(
    Pcl, EscapeSequence,
    ::testing::Values(
        EscapeCase{"Pitch", esc("(s20H"), with([](Style& s) { s.cpi = 20; })},
        EscapeCase{"FractionalPitch", esc("(s16.67H"), with([](Style& s) { s.cpi = 16.67; })},
        EscapeCase{"PointSize", esc("(s10V"), with([](Style& s) { s.points = 10; })},
        EscapeCase{"Italic", esc("(s1S"), with([](Style& s) { s.italic = true; })},
        EscapeCase{"ItalicOff", esc("(s1S") + esc("(s0S"), Style{}},
        EscapeCase{"Bold", esc("(s4B"), with([](Style& s) { s.bold = true; })},
        EscapeCase{"BoldOff", esc("(s4B") + esc("(s0B"), Style{}},
        EscapeCase{"UnderlineOn", esc("&d1D"), with([](Style& s) { s.underline = true; })},
        EscapeCase{"UnderlineOff", esc("&d1D") + esc("&d@"), Style{}},
        EscapeCase{"NormalString", kPclNormal, with([](Style& s) { s.cpi = 20, s.points = 10; })},
        EscapeCase{"HeadlineString", kPclHeadline, with([](Style& s) { s.cpi = 6, s.points = 14; })},
        EscapeCase{"BoldEmphasis", esc("(s12H") + esc("(s12V") + esc("(s4B"),
                   with([](Style& s) { s.cpi = 12, s.points = 12, s.bold = true; })},
        EscapeCase{"CombinedGroup", esc("(s0p12h14v3B"), with([](Style& s) { s.cpi = 12, s.points = 14, s.bold = true; })},
        EscapeCase{"IgnoredSymbolSetAndTypeface", esc("(10U") + esc("(s4101T") + esc("&k2G"), Style{}},
        EscapeCase{"AbsurdSizesRefused", esc("(s0H") + esc("(s99999V"), Style{}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    EscP, EscapeSequence,
    ::testing::Values(
        EscapeCase{"NormalCondensed", esc("!\x05"), with([](Style& s) { s.cpi = 20, s.points = 10, s.condensed = true; })},
        EscapeCase{"Headline", esc("!!"), with([](Style& s) { s.cpi = 6, s.points = 10, s.double_width = true; })},
        EscapeCase{"Elite", esc("!\x01"), with([](Style& s) { s.cpi = 12, s.points = 10; })},
        EscapeCase{"EliteDoubleStrike", esc("!\x11"), with([](Style& s) { s.cpi = 12, s.points = 10, s.bold = true; })},
        EscapeCase{"CondensedDoubleStrike", esc("!\x15"),
                   with([](Style& s) { s.cpi = 20, s.points = 10, s.bold = true, s.condensed = true; })},
        EscapeCase{"WideBold", esc("!)"),
                   with([](Style& s) { s.cpi = 6, s.points = 10, s.bold = true, s.double_width = true; })},
        EscapeCase{"BoldUnderlined", esc("!\x99"),
                   with([](Style& s) { s.cpi = 12, s.points = 10, s.bold = true, s.underline = true; })},
        EscapeCase{"UnderlineByte", esc("-\x01"), with([](Style& s) { s.underline = true; })},
        EscapeCase{"UnderlineDigit", esc("-1"), with([](Style& s) { s.underline = true; })},
        EscapeCase{"UnderlineOff", esc("-\x01") + esc("-\x00"s), Style{}},
        EscapeCase{"ShiftInCondensed", "\x0f", with([](Style& s) { s.cpi = 17.14, s.condensed = true; })},
        EscapeCase{"CondensedCancelled", "\x0f\x12", Style{}},
        EscapeCase{"LineSpacingIsNoType", esc("3\x1c") + esc("3 "), Style{}},
        EscapeCase{"UnknownCommandSwallowed", esc("Z"), Style{}},
        EscapeCase{"ResetAfterBold", esc("!\x08") + esc("@"), Style{}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Spool, LineSpacingOfEscPComesWithTheLine) {
    SpoolDocument doc = parse_spool(esc("3\x1c") + "a\r\n" + esc("3 ") + "b\r\nc");
    const auto& lines = doc.pages[0].lines;
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NEAR(lines[0].spacing, 28 * 72.0 / 180, 1e-9);
    EXPECT_NEAR(lines[1].spacing, 32 * 72.0 / 180, 1e-9);
    EXPECT_EQ(parse_spool("a").pages[0].lines[0].spacing, 0);
}

TEST(Spool, BrokenOrTruncatedSequencesDoNotSwallowText) {
    EXPECT_EQ(parse_spool(esc("(s12") + "\rab").pages[0].lines.back().text(), "ab");
    for (std::string cut : {esc(""), esc("!"), esc("(s"), esc("(s1"), esc("I;x;1")}) {
        SpoolDocument doc = parse_spool("ok" + cut);
        ASSERT_EQ(doc.pages.size(), 1u);
        EXPECT_EQ(doc.pages[0].lines.at(0).text(), "ok") << "after " << cut.substr(1);
    }
}

TEST(Spool, RunsFollowTypeChangesAtTheirPrintedPositions) {
    SpoolDocument doc = parse_spool("ab " + esc("(s20H") + "cd" + esc("(s3B") + "e");
    const auto& runs = doc.pages[0].lines[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].text, "ab ");
    EXPECT_EQ(runs[1].text, "cd");
    EXPECT_NEAR(runs[1].x, 3 * 7.2, 1e-9);
    EXPECT_NEAR(runs[2].x, 3 * 7.2 + 2 * 3.6, 1e-9);
    EXPECT_TRUE(runs[2].style.bold);
}

// ---- overstrike letters ------------------------------------------------------------------

struct OverstrikeCase {
    std::string in;
    std::string_view out;  // code page 852
};

void PrintTo(const OverstrikeCase& c, std::ostream* os) { *os << text::to_utf8(c.out); }

class Overstrike : public ::testing::TestWithParam<OverstrikeCase> {};

TEST_P(Overstrike, ComposesTheLetter) {
    SpoolDocument doc = parse_spool(GetParam().in);
    ASSERT_EQ(doc.pages[0].lines[0].runs.size(), 1u);
    EXPECT_EQ(doc.pages[0].lines[0].text(), GetParam().out) << text::to_utf8(doc.pages[0].lines[0].text());
}

INSTANTIATE_TEST_SUITE_P(
    Letters, Overstrike,
    ::testing::Values(OverstrikeCase{"l\b/", "ł"_852}, OverstrikeCase{"L\b/", "Ł"_852}, OverstrikeCase{"a\b,", "ą"_852},
                      OverstrikeCase{"E\b,", "Ę"_852}, OverstrikeCase{"o\b'", "ó"_852}, OverstrikeCase{"S\b'", "Ś"_852},
                      OverstrikeCase{"z\b'", "ź"_852}, OverstrikeCase{"Z\b'", "Ź"_852}, OverstrikeCase{"Z\b.", "Ż"_852},
                      OverstrikeCase{"Z\b-", "Ż"_852}, OverstrikeCase{"L\b/o\b'dz\b'", "Łódź"_852},
                      OverstrikeCase{"stan na dzien\b' 01.02.2024", "stan na dzień 01.02.2024"_852}));

TEST(Spool, EveryLetterWrittenAsAnOverstrikeReadsBackAsTheSameLetter) {
    // ż has no form of its own; it is written, and so read, as ź.
    for (std::string_view letter : {"ą"_852, "ć"_852, "ę"_852, "ł"_852, "ń"_852, "ó"_852, "ś"_852, "ź"_852, "ż"_852,
                                    "Ą"_852, "Ć"_852, "Ę"_852, "Ł"_852, "Ń"_852, "Ó"_852, "Ś"_852, "Ź"_852, "Ż"_852}) {
        auto form = text::overstrike_form(letter[0]);
        ASSERT_TRUE(form) << text::to_utf8(letter);
        std::string written{form->base, '\b', form->mark};
        std::string expected(letter == "ż"_852 ? "ź"_852 : letter);
        EXPECT_EQ(parse_spool(written).pages[0].lines[0].text(), expected) << text::to_utf8(letter);
    }
}

TEST(Spool, OtherBackspacesOverprintInsteadOfShiftingTheColumns) {
    SpoolDocument doc = parse_spool("x\b_y\r\n\bA");
    const auto& first = doc.pages[0].lines[0].runs;
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].text, "x");
    EXPECT_EQ(first[1].text, "_y");
    EXPECT_EQ(first[1].x, 0);
    const auto& second = doc.pages[0].lines[1].runs;
    ASSERT_EQ(second.size(), 1u);  // a backspace at the margin goes nowhere
    EXPECT_EQ(second[0].text, "A");
    EXPECT_EQ(second[0].x, 0);
}

// ---- lines and pages ---------------------------------------------------------------------

std::vector<std::vector<std::string>> texts(const SpoolDocument& doc) {
    std::vector<std::vector<std::string>> out;
    for (const Page& p : doc.pages) {
        out.emplace_back();
        for (const Line& l : p.lines) out.back().push_back(l.text());
    }
    return out;
}

using Pages = std::vector<std::vector<std::string>>;

TEST(Spool, LinesAndPageBreaks) {
    struct Case {
        const char* what;
        std::string in;
        Pages pages;
    };
    const Case cases[] = {
        {"CR LF lines, last without end", "a\r\nb\r\nc", {{"a", "b", "c"}}},
        {"line output writes CR LF first", "\r\na\r\nb", {{"", "a", "b"}}},
        {"bare LF and bare CR end lines too", "a\nb\rc", {{"a", "b", "c"}}},
        {"form feed starts a page", "a\r\n\fb\r\n", {{"a"}, {"b"}}},
        {"form feed inside a line", "a\fb", {{"a"}, {"b"}}},
        {"two form feeds leave a blank page", "a\r\n\f\fb", {{"a"}, {}, {"b"}}},
        {"trailing form feed and blank lines make no page", "a\r\n\f\r\n  \r\n", {{"a"}}},
        {"leading form feed makes no page", "\fa", {{"a"}}},
        {"control bytes print as blanks", "a\tb\x01" "c", {{"a b c"}}},
        {"empty file is one empty page", "", {{}}},
    };
    for (const Case& c : cases) EXPECT_EQ(texts(parse_spool(c.in)), c.pages) << c.what;
}

TEST(Spool, LineRangeKeepsTheTypeSetOnSkippedLines) {
    std::string in = esc("(s3B") + "one\r\ntwo\r\n\fthree\r\nfour";
    ParseOptions range;
    range.first_line = 2;
    range.last_line = 3;
    SpoolDocument doc = parse_spool(in, range);
    EXPECT_EQ(texts(doc), (Pages{{"two"}, {"three"}}));
    EXPECT_TRUE(doc.pages[0].lines[0].runs[0].style.bold);

    range.first_line = 3;
    range.last_line = 99;
    EXPECT_EQ(texts(parse_spool(in, range)), (Pages{{"three", "four"}}));
}

TEST(Spool, LandscapeAppliesToAFreshPageOrTheNextOne) {
    SpoolDocument doc = parse_spool(esc("&l1O") + "wide\fstill wide" + esc("&l0O") + "\fnarrow");
    ASSERT_EQ(doc.pages.size(), 3u);
    EXPECT_TRUE(doc.pages[0].landscape);
    EXPECT_TRUE(doc.pages[1].landscape);  // the change came after text on it
    EXPECT_FALSE(doc.pages[2].landscape);
}

TEST(Spool, LineHeightFollowsTheTallestType) {
    SpoolDocument doc = parse_spool("a" + esc("(s20V") + "B" + esc("(s8V") + "c\r\n\r\n");
    EXPECT_EQ(doc.pages[0].lines[0].points, 20);
    EXPECT_EQ(doc.pages[0].lines[1].points, 8);  // an empty line takes the type in force
}

TEST(Spool, PictureSequence) {
    SpoolDocument doc = parse_spool("a\r\n" + esc("I;logo.bmp;10;20;610;320") + "\r\nb\r\n" + esc("I;x.bmp;1;2;3") +
                                    "\r\n");
    ASSERT_EQ(doc.pages[0].pictures.size(), 1u);  // the second lacks a coordinate
    const Picture& p = doc.pages[0].pictures[0];
    EXPECT_EQ(p.file, "logo.bmp");
    EXPECT_EQ(p.x1, 10);
    EXPECT_EQ(p.y2, 320);
    EXPECT_EQ(texts(doc), (Pages{{"a", "", "b", ""}}));
}

TEST(Spool, MissingFileIsAnError) { EXPECT_THROW(read_spool_file("/nonexistent/wydruk01.prn"), SpoolError); }

}  // namespace
}  // namespace platform::printer
