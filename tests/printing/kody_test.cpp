#include "printing/kody.h"

#include "common/console.h"
#include "printing/wydruk.h"
#include "printing_fixture.h"

namespace sklad::testing {
namespace {

using ControlCodes = PrintingTest;

TEST_F(ControlCodes, ThePrinterKindIsReadByPrefixAndTokens) {
    struct Case {
        const char* kind;
        bool pcl, packardl, duplex, no_ff, df;
        char drive;
    };
    for (Case c : {Case{"EPSON", false, false, false, false, false, 0},
                   Case{"PACKARD", true, false, false, false, false, 0},
                   Case{"PACKARDL LASER", true, true, true, false, false, 0},
                   Case{"PACKARD-CHR(12)", true, false, false, true, false, 0},
                   Case{"EPSON LASER", false, false, false, false, false, 0},
                   Case{"EPSON COM2", false, false, false, false, true, 0},
                   Case{"PACKARD DF_IP E:\\PDF", true, false, false, false, true, 'E'},
                   Case{"HP :\\PDF", false, false, false, false, false, 0}}) {
        M_DRUKARKA = c.kind;
        EXPECT_EQ(JEST_PCL(), c.pcl) << c.kind;
        EXPECT_EQ(JEST_PACKARDL(), c.packardl) << c.kind;
        EXPECT_EQ(JEST_DUPLEX(), c.duplex) << c.kind;
        EXPECT_EQ(BEZ_CHR12(), c.no_ff) << c.kind;
        EXPECT_EQ(JEST_DF(), c.df) << c.kind;
        EXPECT_EQ(DYSK_PDF(M_DRUKARKA).value_or(0), c.drive) << c.kind;
    }
}

TEST_F(ControlCodes, PclFontStringsFollowTheKind) {
    EXPECT_EQ(PCL_FONT(20, 10), "\x1b&l0O\x1b(10U\x1b(s0P\x1b(s20H\x1b(s10V\x1b(s0S\x1b(s0B\x1b(s4101T\x1b(s2Q");
    M_DRUKARKA = "PACKARD";
    EXPECT_EQ(PCL_NORMALNY(), PCL_FONT(20, 10));
    EXPECT_EQ(PCL_NAGLOWEK(), PCL_FONT(6, 14));
    EXPECT_EQ(PCL_MALY(), PCL_FONT(20, 6));
    EXPECT_EQ(PCL_BARDZO_MALY(), PCL_FONT(22, 4));
    EXPECT_EQ(PCL_POGRUBIONY(), PCL_FONT(12, 12, 4));
    EXPECT_EQ(FONT_NORMALNY(), PCL_NORMALNY());
    M_DRUKARKA = "PACKARDL";
    EXPECT_EQ(PCL_NORMALNY(), PCL_FONT(12, 10));
    EXPECT_EQ(PCL_NAGLOWEK(), PCL_FONT(6, 20));
    M_DRUKARKA = "EPSON";
    EXPECT_EQ(FONT_NORMALNY(), "\x1b" "3 \x1b!\x05");
    EXPECT_EQ(FONT_NAGLOWEK(), "\x1b!!");
}

TEST_F(ControlCodes, DotMatrixSetupWritesSpacingAndReturnsTheMode) {
    ASSERT_TRUE(INITDRUK("rob\\k.prn"));
    EXPECT_EQ(DRUK(), "\x1b!\x01");
    EXPECT_EQ(DRUK(35, 9), "\x1b!\x09");
    QQOUT(ESCP_PODKRESLENIE(true) + "x" + ESCP_PODKRESLENIE(false));
    ASSERT_TRUE(CLOSEDRUK());
    EXPECT_EQ(read("rob/k.prn"), "\x1b" "3\x1c" "\x1b" "3#\x1b!\x09" "\x1b-1x\x1b-0");
}

TEST_F(ControlCodes, AReportEndsWithEmptyLinesAndOnALaserAFormFeed) {
    struct Case {
        const char* kind;
        int papier;
        std::string end;
    };
    for (const Case& c : {Case{"EPSON", 3, "\r\n\r\n\r\n"}, Case{"EPSON", 0, "\r\n\r\n"},
                          Case{"PACKARD", 1, "\r\n\r\n\f\r\n"}}) {
        M_DRUKARKA = c.kind;
        J_PAPIER = c.papier;
        ASSERT_TRUE(INITDRUK("rob\\k.prn"));
        KONIEC_DRUK();
        ASSERT_TRUE(CLOSEDRUK());
        EXPECT_EQ(read("rob/k.prn"), c.end) << c.kind << " " << c.papier;
    }
}

}  // namespace
}  // namespace sklad::testing
