#include "printing/wydruk.h"

#include "common/console.h"
#include "common/format.h"
#include "printing_fixture.h"

namespace sklad::testing {
namespace {

using SpoolFiles = PrintingTest;

TEST_F(SpoolFiles, NamesCarryTheWorkstationNumber) {
    struct Case {
        int station;
        const char* wydruk;
        const char* druk;
        const char* zebra;
    };
    for (Case c : {Case{7, "rob\\wydruk07.prn", "rob\\druk07.prn", "rob\\zebra07.prn"},
                   Case{1, "rob\\wydruk01.prn", "rob\\druk01.prn", "rob\\zebra01.prn"},
                   Case{0, "rob\\wydruk00.prn", "rob\\druk00.prn", "rob\\zebra00.prn"},
                   Case{123, "rob\\wydruk00.prn", "rob\\druk00.prn", "rob\\zebra00.prn"}}) {
        STACJA = c.station;
        EXPECT_EQ(PLIK_WYDRUKU(), c.wydruk) << c.station;
        EXPECT_EQ(PLIK_DRUKU(), c.druk) << c.station;
        EXPECT_EQ(PLIK_ZEBRY(), c.zebra) << c.station;
    }
}

TEST_F(SpoolFiles, OutputGoesIntoTheFileAsAPrinterTakesIt) {
    DISPOUTAT(3, 0, "ekran");
    ASSERT_TRUE(INITDRUK("rob\\wydruk07.prn"));
    EXPECT_TRUE(DRUK_WLACZONY());
    QOUT("Faktura");
    QQOUT(" nr 1");
    EXPECT_EQ(PROW(), 1);
    EXPECT_EQ(PCOL(), 12);
    DEVPOS(3, 4);  // two rows down, four columns in
    DEVOUT("abc");
    DEVPOS(3, 10);  // further along the same row
    DEVOUT("x");
    DEVPOS(3, 2);  // back on the same row: carriage return first
    DEVOUT("y");
    DEVPOS(1, 0);  // a row above: the next page
    DEVOUT("z");
    EJECT();
    EXPECT_EQ(PROW(), 0);
    ASSERT_TRUE(CLOSEDRUK());
    EXPECT_FALSE(DRUK_WLACZONY());
    EXPECT_EQ(read("rob/wydruk07.prn"),
              "\r\nFaktura nr 1\r\n\r\n    abc   x\r  y\f\r\nz\f");
    EXPECT_EQ(hc.row_trimmed(3), "ekran") << "nothing reached the screen";
    QOUT("na ekran");
    EXPECT_EQ(read("rob/wydruk07.prn").find("na ekran"), std::string::npos);
}

TEST_F(SpoolFiles, RedirectionsNestAndRestoreTheOuterOne) {
    ASSERT_TRUE(INITDRUK("rob\\a.prn"));
    QOUT("zewnetrzny");
    ASSERT_TRUE(INITDRUK("rob\\b.prn"));
    QOUT("wewnetrzny");
    ASSERT_TRUE(CLOSEDRUK());
    QQOUT(" dalej");
    ASSERT_TRUE(CLOSEDRUK());
    EXPECT_EQ(read("rob/a.prn"), "\r\nzewnetrzny dalej");
    EXPECT_EQ(read("rob/b.prn"), "\r\nwewnetrzny");
    EXPECT_FALSE(INITDRUK("rob\\a.prn\\x")) << "a file cannot be made below a file";
    EXPECT_FALSE(DRUK_WLACZONY());
}

// The firm table of a running installation with `st` as its slot field.
void firm_with_slots(const std::string& st) {
    DBCREATE("firma", {{"ST", FieldType::Character, static_cast<int>(st.size()), 0}});
    DBSELECTAREA(1);
    ASSERT_TRUE(DBUSEAREA(false, "firma", "firma"));
    ASSERT_TRUE(DBAPPEND());
    FIELDPUT("ST", st);
    DBCOMMIT();
}

TEST_F(SpoolFiles, ASpoolFileThatCannotBeErasedGivesWayToAFreeFallbackName) {
    write("rob/wydruk07.prn/held", "");  // cannot be erased: it stands for a file another program holds
    std::string st(99, '0');
    st[6] = '1';   // this copy
    st[50] = '?';  // workstation 51 runs: its spool name is not ours to take
    firm_with_slots(st);
    write("rob/wydruk52.prn", "druk innej stacji");  // another copy's fallback printout

    EXPECT_EQ(PRZYGOTUJ_WYDRUK("rob\\wydruk07.prn"), "rob\\wydruk53.prn");
    EXPECT_EQ(read("rob/wydruk52.prn"), "druk innej stacji");
    EXPECT_TRUE(exists("rob/wydruk53.prn"));
    EXPECT_EQ(PRZYGOTUJ_WYDRUK("rob\\wydruk07.prn"), "rob\\wydruk54.prn") << "53 is taken now";

    // With the usual 30 slots every name from 51 up is nobody's own.
    RESET_WORKAREAS();
    firm_with_slots(std::string(30, '1'));
    EXPECT_EQ(PRZYGOTUJ_WYDRUK("rob\\wydruk07.prn"), "rob\\wydruk51.prn");
}

TEST_F(SpoolFiles, NoFallbackWhenTheSlotsAreUnknownOrAllTaken) {
    write("rob/wydruk07.prn/held", "");
    EXPECT_EQ(PRZYGOTUJ_WYDRUK("rob\\wydruk07.prn"), "") << "without the firm table every slot may be live";
    firm_with_slots(std::string(99, '1'));
    EXPECT_EQ(PRZYGOTUJ_WYDRUK("rob\\wydruk07.prn"), "");
}

TEST_F(SpoolFiles, AnErasableSpoolFileIsErasedAndItsNameUsed) {
    write("rob/wydruk07.prn", "stary wydruk");
    EXPECT_EQ(PRZYGOTUJ_WYDRUK("rob\\wydruk07.prn"), "rob\\wydruk07.prn");
    EXPECT_FALSE(exists("rob/wydruk07.prn"));
}

}  // namespace
}  // namespace sklad::testing
