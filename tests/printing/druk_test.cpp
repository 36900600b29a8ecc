#include "printing/druk.h"

#include "common/console.h"
#include "common/format.h"
#include "printing/drukarka.h"
#include "printing_fixture.h"

namespace sklad::testing {
namespace {

class Drivers : public PrintingTest {
  protected:
    void SetUp() override {
        PrintingTest::SetUp();
        REJESTRUJ_DRUK("Lista", [](std::vector<Value>& a) {
            QOUT("Lista " + (a.empty() ? std::string("-") : VALUE_TEXT(a[0])));
            DEVPOS(3, 5);
            DEVOUT("x");
            if (!a.empty()) a[0] = std::string("zmienione");
        });
        REJESTRUJ_DRUK("Kwit", [](std::vector<Value>&) {
            QQOUT("   Kasa");
            QOUT("linia");
        });
    }
    // The rows a preview shows, taken when its first key is read.
    std::string row0, row24;
    void watch_preview() {
        SETKEY(K_ALT_Z, [this] {
            row0 = hc.row_trimmed(0);
            row24 = hc.row_trimmed(24);
        });
        hc.keys("Alt-Z Esc");
    }
};

TEST_F(Drivers, ViewDrukRunsTheProcedureIntoTheSpoolFileAndPreviewsIt) {
    DISPOUTAT(17, 35, "pod oknem");
    std::vector<Value> args{std::string("a1")};
    watch_preview();
    EXPECT_TRUE(VIEW_DRUK("lista", PLIK, args));
    EXPECT_EQ(read("rob/wydruk07.prn"), "\r\nLista a1\r\n\r\n     x");
    EXPECT_EQ(row24.substr(0, 16), "rob\\wydruk07.prn");
    EXPECT_EQ(VALUE_TEXT(args[0]), "zmienione") << "arguments are passed by reference";
    EXPECT_EQ(hc.row_trimmed(17).substr(35), "pod oknem");
}

TEST_F(Drivers, AnEmptyProcedurePreviewsTheFileAsItIs) {
    write("rob/wydruk07.prn", "gotowy wydruk");
    watch_preview();
    VIEW_DRUK("", PLIK);
    EXPECT_EQ(row0, "gotowy wydruk");
    EXPECT_EQ(read("rob/wydruk07.prn"), "gotowy wydruk");
}

TEST_F(Drivers, AHeldSpoolFileSendsThePrintoutToAFallbackName) {
    write("rob/wydruk07.prn/held", "");
    DBCREATE("firma", {{"ST", FieldType::Character, 30, 0}});
    DBSELECTAREA(1);
    ASSERT_TRUE(DBUSEAREA(false, "firma", "firma"));
    ASSERT_TRUE(DBAPPEND());
    FIELDPUT("ST", std::string(30, '1'));
    watch_preview();
    VIEW_DRUK("Lista", PLIK);
    EXPECT_EQ(row24.substr(0, 16), "rob\\wydruk51.prn");
    EXPECT_EQ(read("rob/wydruk51.prn"), "\r\nLista -\r\n\r\n     x");
}

TEST_F(Drivers, MessagesWhenThereIsNoPrintoutToShow) {
    write("KOPIA.TXT", "");
    note_message();  // the copy's warning
    note_message();  // no procedure of that name
    note_message();  // so no file
    VIEW_DRUK("Nieznana", PLIK);
    EXPECT_EQ(messages, (std::vector<std::string>{"PRACUJESZ NA KOPII", "Brak procedury wydruku NIEZNANA",
                                                  "Brak pliku rob\\wydruk07.prn"}));
}

TEST_F(Drivers, AltPInThePreviewMakesThePdfAfterwards) {
    write("PDF.TXT", "");
    hc.keys("Alt-P Enter");  // the preview's key, then the PDF name kept as it is
    VIEW_DRUK("Lista", PLIK);
    EXPECT_TRUE(exists("pdf/wydruk07.pdf"));
    EXPECT_FALSE(exists("pdf07.txt"));
}

TEST_F(Drivers, DrukujPrintsAndErasesOnlyWhatThePrinterTook) {
    hc.keys("Enter");
    EXPECT_TRUE(DRUKUJ("Lista", {std::string("b")}));
    EXPECT_EQ(printed(), "\r\n\r\nLista b\r\n\r\n     x");
    EXPECT_FALSE(exists("rob/druk07.prn"));

    // The printer is gone after the prompt: the printout stays where the operator is told.
    write("DRUKUJ.TXT", "");
    write("vat.ini", "[System]\r\nPrinterName=" + (dir.path() / "brak/lp0").string() + "\r\n");
    hc.keys("Enter");
    note_message();
    note_message();
    note_message();
    EXPECT_FALSE(DRUKUJ("Lista", {std::string("c")}));
    EXPECT_EQ(read("rob/druk07.prn"), "\r\nLista c\r\n\r\n     x");
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0], "Drukarka nie przyjela wydruku");
    EXPECT_FALSE(messages[1].empty()) << "the reason follows";
    EXPECT_EQ(messages[2], "Wydruk zostal w pliku rob\\druk07.prn");

    // Esc at the prompt: nothing is written or printed.
    fs::remove("rob/druk07.prn");
    hc.keys("Esc");
    EXPECT_FALSE(DRUKUJ("Lista"));
    EXPECT_FALSE(exists("rob/druk07.prn"));
}

TEST_F(Drivers, ThePrinterPromptWaitsChecksAndChoosesThePort) {
    const std::string gone = "[System]\r\nPrinterName=" + (dir.path() / "brak/lp0").string() + "\r\n";
    struct Case {
        const char* keys;
        bool ready;
        const char* marker;
        bool result;
        const char* lpt;
    };
    for (Case c : {Case{"Enter", true, "", true, "LPT1"}, Case{"Esc", true, "", false, "LPT1"},
                   Case{"Enter Esc", false, "", false, "LPT1"}, Case{"Enter Enter", false, "", false, "LPT1"},
                   Case{"Enter", false, "DRUKUJ.TXT", true, "LPT1"}, Case{"Tab Down Enter", false, "LPT.TXT", true, "LPT2"},
                   Case{"Tab", true, "", true, "LPT1"}, Case{"Space", true, "", true, "LPT1"}}) {
        fs::remove("DRUKUJ.TXT");
        fs::remove("LPT.TXT");
        if (*c.marker) write(c.marker, "");
        write("vat.ini", c.ready ? "[System]\r\nPrinterName=" + printer() + "\r\n" : gone);
        M_LPT = "LPT1";
        std::string box;
        SETKEY(K_ALT_Z, [&] { box = hc.text(16, 31, 23); });
        hc.keys(std::string("Alt-Z ") + c.keys);
        EXPECT_EQ(DRUKOWAC(), c.result) << c.keys << " " << c.marker;
        EXPECT_EQ(M_LPT, c.lpt) << c.keys;
        EXPECT_EQ(hc.backend().pending(), 0u) << c.keys;
        hc.backend().clear_queue();
        if (std::string(c.keys) != "Space") {
            EXPECT_EQ(box, "    PRZYGOTUJ  DRUKARKE") << c.keys;
        }
    }
    EXPECT_FALSE(hc.backend().tones().empty()) << "the printer that is not ready rings";
}

TEST_F(Drivers, View5DrukSendsTheSlipRawToTheChosenPort) {
    M_LPT = printer();
    hc.keys("Enter");
    EXPECT_TRUE(VIEW5_DRUK("Kwit", "rob\\kw07.prn"));
    EXPECT_EQ(printed(), "Kasa\r\nlinia");

    note_message();
    note_message();
    EXPECT_FALSE(VIEW5_DRUK("Nieznana", "rob\\kw07.prn"));
    EXPECT_EQ(messages.back(), "Brak pliku rob\\kw07.prn");
}

}  // namespace
}  // namespace sklad::testing
