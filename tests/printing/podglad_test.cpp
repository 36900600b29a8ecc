#include "printing/podglad.h"

#include "common/console.h"
#include "printing/pliki.h"
#include "printing_fixture.h"

namespace sklad::testing {
namespace {

const std::string kTail = " " + std::string(900, '.') + "koniec";

class Preview : public PrintingTest {
  protected:
    std::string spool = "wiersz 001" + kTail + numbered_lines(100).substr(10);
    std::vector<std::string> seen;

    void SetUp() override {
        PrintingTest::SetUp();
        write("rob/wydruk07.prn", spool);
    }
    // Runs the preview on `keys`; every "Alt-Z" among them records the first ten columns of row 0.
    void run(const std::string& keys) {
        SETKEY(K_ALT_Z, [this] { seen.push_back(hc.text(0, 0, 10)); });
        hc.keys(keys);
        READTEXT("rob\\wydruk07.prn");
    }
    // Lines first..last of the spool file with their line ends, as a raw job carries them.
    std::string lines(int first, int last) const {
        std::string out;
        std::vector<Wiersz> all = WIERSZE(spool);
        for (int i = first; i <= last; ++i) out += spool.substr(all[i - 1].start, all[i - 1].next - all[i - 1].start);
        return out;
    }
};

TEST_F(Preview, PagesBothWaysAndNeverPastTheEnd) {
    struct Step {
        const char* keys;
        const char* top;
    };
    const Step steps[] = {{"", "wiersz 001"},          {"Down Down", "wiersz 003"}, {"PgDn", "wiersz 027"},
                          {"Up", "wiersz 026"},        {"PgUp", "wiersz 002"},      {"PgUp Up", "wiersz 001"},
                          {"Ctrl-PgDn", "wiersz 077"}, {"Down PgDn", "wiersz 077"}, {"PgUp PgUp", "wiersz 029"},
                          {"Ctrl-PgUp", "wiersz 001"}};
    std::string keys;
    for (const Step& s : steps) keys += std::string(s.keys) + " Alt-Z ";
    DISPOUTAT(0, 0, "menu glowne");
    run(keys + "Esc");
    ASSERT_EQ(seen.size(), std::size(steps));
    for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], steps[i].top) << "after " << steps[i].keys;
    EXPECT_EQ(hc.row_trimmed(0), "menu glowne") << "the screen is given back";
}

TEST_F(Preview, ScrollsSidewaysWithinItsLimits) {
    struct Step {
        const char* keys;
        std::size_t offset;
    };
    std::string far;
    for (int i = 0; i < 25; ++i) far += "End ";
    const Step steps[] = {{"Right", 8},   {"Right", 16}, {"Left", 8},   {"Left Left", 0},
                          {"End", 40},    {"Home", 0},   {"End Right", 48}, {"Enter", 0},
                          {far.c_str(), 800}, {"Right", 800}, {"Home", 760}};
    std::string keys;
    for (const Step& s : steps) keys += std::string(s.keys) + " Alt-Z ";
    run(keys + "Esc");
    ASSERT_EQ(seen.size(), std::size(steps));
    std::string first = spool.substr(0, spool.find('\r'));
    for (std::size_t i = 0; i < seen.size(); ++i) {
        std::string expected = first.substr(steps[i].offset, 10);
        expected.resize(10, ' ');
        EXPECT_EQ(seen[i], expected) << "after " << steps[i].keys;
    }
}

TEST_F(Preview, ShowsTheFileBlackOnWhiteAndItsNameWithTheKeys) {
    hc.keys("Alt-Z Esc");
    std::string status, colour;
    SETKEY(K_ALT_Z, [&] {
        status = hc.row(24);
        colour = hc.colour(5, 40);
    });
    READTEXT("rob\\wydruk07.prn");
    EXPECT_EQ(status, "rob\\wydruk07.prn       Keys: ^V<> PgUp PgDn     F5-Druk (Alt_F5)     Esc-Wyjscie");
    EXPECT_EQ(colour, "N/W");

    write("pomoc.txt", numbered_lines(40));
    DISPOUTAT(23, 0, "bez zmian");
    std::string row22, row23;
    SETKEY(K_ALT_Z, [&] {
        row22 = hc.text(22, 0, 10);
        row23 = hc.row_trimmed(23);
    });
    hc.keys("Alt-Z Esc");
    READTEXT("POMOC.TXT");
    EXPECT_EQ(row22, "wiersz 023");
    EXPECT_EQ(row23, "bez zmian") << "the help file leaves row 23 alone";
}

TEST_F(Preview, F5PrintsTheWholeFileAndGoesBackToTheTop) {
    run("PgDn F5 Enter Alt-Z Esc");
    EXPECT_EQ(printed(), "\r\n" + spool);
    EXPECT_EQ(seen, std::vector<std::string>{"wiersz 001"});
}

TEST_F(Preview, AltF5PrintsFromOneLineToAnother) {
    struct Case {
        const char* kind;
        const char* from;
        const char* to;
        int first, last;  // 0: nothing printed
    };
    const std::string normal = "\x1b" "3 \x1b!\x05";
    for (Case c : {Case{"EPSON", "WIERSZ 010", "WIERSZ 012", 10, 12}, Case{"EPSON", "niema", "wiersz 003", 1, 3},
                   Case{"EPSON", "wiersz 098", "niema", 98, 100}, Case{"EPSON", "", "", 1, 100},
                   Case{"EPSON", "wiersz 050", "wiersz 0", 50, 51},
                   Case{"PACKARD", "WIERSZ 010", "WIERSZ 012", 10, 12}, Case{"PACKARD", "wiersz 100", "", 0, 0}}) {
        M_DRUKARKA = c.kind;
        write("lp0", "");
        hc.keys("Alt-F5");
        hc.type(c.from);
        hc.keys("Enter");
        hc.type(c.to);
        hc.keys("Enter Esc");
        READTEXT("rob\\wydruk07.prn");
        const bool pcl = std::string(c.kind) == "PACKARD";
        std::string expected;
        if (c.first > 0) expected = "\r\n" + (pcl ? "" : normal) + lines(c.first, c.last);
        EXPECT_EQ(printed(), expected) << c.kind << " " << c.from << " .. " << c.to;
        if (!pcl) {
            EXPECT_EQ(read("rob/wydruk07.pr"), normal + lines(c.first, c.last));
        }
    }
}

TEST_F(Preview, CtrlF5PrintsAfterEmptyLinesInTheNormalFont) {
    hc.keys("Ctrl-F5");
    hc.type("3");
    hc.keys("Enter Esc");
    READTEXT("rob\\wydruk07.prn");
    EXPECT_EQ(printed(), "\r\n\x1b" "3 \x1b!\x05\r\n\r\n\r\n" + spool);
}

TEST_F(Preview, CopiesGoIntoTheirFolderUnderABareName) {
    hc.keys("Alt-T");
    hc.type("raport");
    hc.keys("Enter");
    note_message();
    hc.keys("Alt-T");
    hc.type("..\\firma");
    hc.keys("Enter");
    note_message();
    hc.keys("Alt-T");
    hc.type("/tmp/x");
    hc.keys("Enter");
    note_message();
    hc.keys("Alt-T Enter");
    note_message();
    hc.keys("Alt-T Esc");
    note_message();
    hc.keys("Esc");
    READTEXT("rob\\wydruk07.prn");
    EXPECT_EQ(messages, (std::vector<std::string>{"Skopiowano do TXT\\raport.TXT", "Podaj sama nazwe pliku, bez folderu",
                                                  "Podaj sama nazwe pliku, bez folderu",
                                                  "Nie kopiuje (nie podano pliku)", "Nie kopiuje (brak Enter)"}));
    EXPECT_EQ(read("txt/raport.txt"), spool);
    EXPECT_FALSE(exists("firma") || exists("firma.txt") || exists("FIRMA.TXT"));
    EXPECT_EQ(fs::directory_iterator("txt")->path().filename(), "raport.txt");
}

TEST_F(Preview, AnExistingCopyIsReplacedOnlyWhenTheOperatorAgrees) {
    write("txt/raport.txt", "stary");
    hc.keys("Alt-T");
    hc.type("raport.txt");
    hc.keys("Enter N Esc");
    READTEXT("rob\\wydruk07.prn");
    EXPECT_EQ(read("txt/raport.txt"), "stary");
    hc.keys("Alt-T");
    hc.type("raport");
    hc.keys("Enter T");
    hc.pause(2);
    hc.keys("Esc");
    READTEXT("rob\\wydruk07.prn");
    EXPECT_EQ(read("txt/raport.txt"), spool);
}

TEST_F(Preview, AltBCopiesTheOpenTableIntoTheDbfFolder) {
    hc.keys("Alt-B");
    note_message();
    hc.keys("Esc");
    READTEXT("rob\\wydruk07.prn");
    EXPECT_EQ(messages, std::vector<std::string>{"Brak bazy"});

    DBCREATE("firma", {{"NAZWA", FieldType::Character, 10, 0}});
    DBSELECTAREA(1);
    ASSERT_TRUE(DBUSEAREA(false, "firma", "firma", false));
    for (const char* n : {"A", "B", "C"}) {
        ASSERT_TRUE(DBAPPEND());
        FIELDPUT("NAZWA", std::string(n));
    }
    DBGOTO(2);
    DBDELETE();
    DBCOMMIT();
    DBGOTO(3);
    hc.keys("Alt-B");
    hc.type("firma");
    hc.keys("Enter");
    hc.pause(2);
    hc.keys("Esc");
    READTEXT("rob\\wydruk07.prn");
    EXPECT_EQ(RECNO(), 3) << "the table stays where it was";
    EXPECT_EQ(LASTREC(), 3) << "the live table is untouched";
    DBSELECTAREA(2);
    ASSERT_TRUE(DBUSEAREA(false, "DBF\\firma", "kopia"));
    EXPECT_EQ(LASTREC(), 2);
}

TEST_F(Preview, AltWEditsACopyAndAltPLeavesAskingForThePdf) {
    hc.keys("Alt-W Esc Esc");
    READTEXT("rob\\wydruk07.prn");
    EXPECT_EQ(read("txt/wydruk07.txt"), spool);

    hc.keys("Alt-P Esc");
    READTEXT("rob\\wydruk07.prn");
    EXPECT_FALSE(exists("pdf07.txt")) << "without PDF.TXT the key does nothing";
    EXPECT_EQ(hc.backend().pending(), 0u);

    write("PDF.TXT", "");
    hc.keys("Alt-P");
    READTEXT("rob\\wydruk07.prn");
    EXPECT_TRUE(exists("pdf07.txt"));
}

}  // namespace
}  // namespace sklad::testing
