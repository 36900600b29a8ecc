#include "printing/poczta.h"

#include <sstream>

#include "printing/podglad.h"
#include "printing_fixture.h"

namespace sklad::testing {
namespace {

class Mail : public PrintingTest {
  protected:
    void SetUp() override {
        PrintingTest::SetUp();
        // The sender stands in for the real one: it writes the arguments it got, one a line.
        const fs::path script = dir.path() / "wysylka poczty.sh";
        write(script.string(), "printf '%s\\n' \"$@\" > args.txt\nexit ${KOD:-0}\n");
        write("vat.ini", "[System]\r\nPrinterName=" + printer() + "\r\nMailCommand=sh \"" + script.string() +
                             "\" --konto biuro\r\n");
    }
    std::vector<std::string> args() const {
        std::vector<std::string> out;
        std::istringstream in(read("args.txt"));
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    }
};

TEST_F(Mail, AnAddressWithShellMetacharactersArrivesAsOnePlainArgument) {
    const std::string address = "jan@firma.pl; touch pwned $(touch pwned2) `touch pwned3` | tee x > y & 'q' \"d\" *";
    M_SMTP = "smtp.firma.pl";
    ASSERT_TRUE(WYSLIJ_POCZTE(address, "/tmp/t.txt", "Dowod FV_1", "/tmp/FV_1.PDF"));
    EXPECT_EQ(args(), (std::vector<std::string>{"--konto", "biuro", "/tmp/t.txt", "-to", address, "-server",
                                                "smtp.firma.pl", "-subject", "Dowod FV_1", "-attach", "/tmp/FV_1.PDF"}));
    for (const char* f : {"pwned", "pwned2", "pwned3", "x", "y"}) EXPECT_FALSE(exists(f)) << f;
}

TEST_F(Mail, RefusedAddressesAndFailedSendersAreReported) {
    M_SMTP = "smtp.firma.pl";
    note_message();
    EXPECT_FALSE(WYSLIJ_POCZTE("jan.firma.pl", "t.txt", "s", "a.pdf"));
    EXPECT_FALSE(exists("args.txt")) << "the sender is not run";
    ::setenv("KOD", "3", 1);
    note_message();
    EXPECT_FALSE(WYSLIJ_POCZTE("jan@firma.pl", "t.txt", "s", "a.pdf"));
    ::unsetenv("KOD");
    EXPECT_EQ(messages, (std::vector<std::string>{"Bledny adres e_mail", "Nie wyslano poczty"}));
}

TEST_F(Mail, AltEMailsThePrintoutsPdfToTheContractor) {
    write("rob/wydruk07.prn", "Faktura nr 1");
    write("E_POCZTA.TXT", "");
    DBCREATE("zo", {{"ODB", FieldType::Character, 8, 0}, {"E_MAIL", FieldType::Character, 40, 0}});
    DBSELECTAREA(3);
    ASSERT_TRUE(DBUSEAREA(false, "zo", "zo"));
    ASSERT_TRUE(DBAPPEND());
    FIELDPUT("E_MAIL", std::string("jan@firma.pl"));

    hc.keys("Alt-E Esc");  // no mail server: the key does nothing
    READTEXT("rob\\wydruk07.prn");
    EXPECT_FALSE(exists("args.txt"));

    M_SMTP = "smtp.firma.pl";
    hc.keys("Alt-E Enter Enter Enter");  // the contractor's address, the greeting, the PDF's own name
    READTEXT("rob\\wydruk07.prn");
    std::vector<std::string> a = args();
    ASSERT_EQ(a.size(), 11u) << read("args.txt");
    EXPECT_EQ(a[2], (dir.path() / "rob/text07.txt").string());
    EXPECT_EQ(read("rob/text07.txt"), "Pozdrawiam\r\n");
    EXPECT_EQ(a[4], "jan@firma.pl");
    EXPECT_EQ(a[6], "smtp.firma.pl");
    EXPECT_EQ(a[8], "Dowod wydruk07");
    EXPECT_EQ(a[10], (dir.path() / "pdf/wydruk07.pdf").string());
    EXPECT_TRUE(exists(a[10]));
}

TEST_F(Mail, WithoutTheMailMarkerNothingIsSent) {
    write("rob/wydruk07.prn", "Faktura nr 1");
    M_SMTP = "smtp.firma.pl";
    hc.keys("Alt-E");
    hc.type("ola@sklep.pl");
    hc.keys("Enter Enter");
    READTEXT("rob\\wydruk07.prn");
    EXPECT_FALSE(exists("args.txt"));
    EXPECT_FALSE(exists("pdf"));
}

}  // namespace
}  // namespace sklad::testing
