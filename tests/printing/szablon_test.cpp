#include "printing/szablon.h"

#include "common/console.h"
#include "printing/druk.h"
#include "printing/wydruk.h"
#include "printing_fixture.h"

namespace sklad::testing {
namespace {

class Templates : public PrintingTest {
  protected:
    void SetUp() override {
        PrintingTest::SetUp();
        REJESTRUJ_DRUK("Stopka", [](std::vector<Value>& a) {
            QOUT("stopka:" + (a.empty() ? std::string() : VALUE_TEXT(a[0])));
        }, true);
        REJESTRUJ_DRUK("Ukryta", [](std::vector<Value>&) { QOUT("UKRYTA"); });
        REJESTRUJ_DRUK("Petla", [](std::vector<Value>&) { DRUK_PLIK("petla.txt", false); }, true);
        write("stopka.txt",
              "\"Dziekujemy\" + DTOC(DATE())\r\n"
              "&STOPKA(\"dopisek\")\r\n"
              "&stopka\r\n"
              "&Ukryta\r\n"
              "&Nieznana\r\n"
              "&STOPKA; rm -rf /\r\n"
              "* komentarz\r\n"
              "\r\n"
              "zwykly tekst \"z cudzyslowem\"\r\n"
              "\"bez konca");
    }
    std::string printout(bool tylko_wypisz, const std::string& file = "stopka.txt") {
        EXPECT_TRUE(INITDRUK("rob\\t.prn"));
        QOUT("FAKTURA");
        EXPECT_TRUE(DRUK_PLIK(file, tylko_wypisz));
        EXPECT_TRUE(CLOSEDRUK());
        return read("rob/t.prn");
    }
};

TEST_F(Templates, LinesPrintCallTemplateRoutinesOnlyOrAreSkipped) {
    EXPECT_EQ(printout(true),
              "\r\nFAKTURA\r\nDziekujemy\r\nstopka:dopisek\r\nstopka:\r\n\r\nzwykly tekst \"z cudzyslowem\"\r\nbez konca");
    EXPECT_EQ(printout(false),
              "\r\nFAKTURA\r\nDziekujemy\r\nstopka:dopisek\r\nstopka:\r\nzwykly tekst \"z cudzyslowem\"\r\nbez konca");
}

TEST_F(Templates, ATemplateThatIncludesItselfStops) {
    write("petla.txt", "raz\r\n&Petla");
    EXPECT_EQ(printout(false, "petla.txt"), "\r\nFAKTURA\r\nraz\r\nraz\r\nraz\r\nraz");
}

TEST_F(Templates, AMissingTemplatePrintsNothing) {
    EXPECT_TRUE(INITDRUK("rob\\t.prn"));
    EXPECT_FALSE(DRUK_PLIK("brak.txt", true));
    EXPECT_TRUE(CLOSEDRUK());
    EXPECT_EQ(read("rob/t.prn"), "");
}

TEST_F(Templates, LabelsAreWrittenForTheLabelPrinter) {
    write("etykieta.txt", "\"ZEBRA\"\r\n^XA^FO50,50^FDTowar^FS^XZ");
    note_message();
    note_message();
    EXPECT_FALSE(DRUK_PLIK("etykieta.txt")) << "no label printer here";
    EXPECT_EQ(read("rob/zebra07.prn"), "\r\nZEBRA\r\n^XA^FO50,50^FDTowar^FS^XZ");
    EXPECT_EQ(messages.front(), "Drukarka nie przyjela wydruku");
}

}  // namespace
}  // namespace sklad::testing
