#include "printing/pdf.h"

#include <stdlib.h>

#include "platform/printer/printer_fixture.h"
#include "platform/text/cp852.h"
#include "printing/kody.h"
#include "printing_fixture.h"

namespace sklad::testing {
namespace {

using platform::printer::testing::pdf_tool;

std::string utf8(const std::u32string& s) {
    std::string out;
    for (char32_t c : s) platform::text::append_utf8(out, c);
    return out;
}

using PdfFiles = PrintingTest;

TEST_F(PdfFiles, SixtyOneLinesMakeTwoPagesWithRealPolishLetters) {
    M_DRUKARKA = "PACKARD";
    std::string spool = PCL_NAGLOWEK() + std::string("Zażółć gęślą jaźń"_852) + "\r\n" + PCL_NORMALNY() +
                        "L\b/o\b'dz\b' Z\b-ur Z\b'dz\b'bl\b/o (23%) \\x";
    for (int i = 3; i <= 61; ++i) spool += "\r\nwiersz " + std::to_string(i);
    write("rob/wydruk07.prn", spool);
    write("logo.data", std::string(659 * 144 * 3, '\x40'));

    ASSERT_TRUE(TWORZ_PDF("rob\\wydruk07.prn", "PDF\\test.PDF"));
    const std::string pdf = (dir.path() / "pdf/test.pdf").string();
    std::string info = pdf_tool({"pdfinfo", pdf});
    EXPECT_EQ(info_field(info, "Pages"), "2");
    EXPECT_EQ(info_field(info, "Title"), "Faktura w formacie PDF");
    EXPECT_EQ(info_field(info, "Author"), "TOLBERG");
    EXPECT_EQ(info_field(info, "Producer"), "VAT TO PDF");
    EXPECT_EQ(info_field(info, "Page size"), "595 x 842 pts (A4)");
    std::string first = pdf_tool({"pdftotext", "-f", "1", "-l", "1", "-layout", pdf, "-"});
    EXPECT_NE(first.find("Zażółć gęślą jaźń"), std::string::npos) << first;
    EXPECT_NE(first.find("Łódź Żur Źdźbło (23%) \\x"), std::string::npos) << first;
    EXPECT_NE(first.find("wiersz 60"), std::string::npos) << first;
    EXPECT_EQ(first.find("wiersz 61"), std::string::npos) << first;
    std::string second = pdf_tool({"pdftotext", "-f", "2", "-l", "2", pdf, "-"});
    EXPECT_NE(second.find("wiersz 61"), std::string::npos) << second;
    std::string images = pdf_tool({"pdfimages", "-list", pdf});
    EXPECT_NE(images.find("   1     0 image     659   144"), std::string::npos) << "the logo on the first page\n" << images;
}

TEST_F(PdfFiles, KodujPicksFontsAndComposesLetters) {
    M_DRUKARKA = "PACKARD";
    const std::string head = PCL_NAGLOWEK(), norm = PCL_NORMALNY();
    struct Run {
        bool headline;
        std::string text;  // UTF-8
        double x = -1;     // -1: right after the run before
    };
    struct Case {
        std::string line;
        bool before, after;
        std::vector<Run> runs;
    };
    const Case cases[] = {
        {"abc", false, false, {{false, "abc"}}},
        {head + "FAKTURA", false, true, {{true, "FAKTURA"}}},
        {"dalej", true, true, {{true, "dalej"}}},
        {norm + "x" + head + "y", true, false, {{false, "xy"}}},
        {head + "Nabywca   : " + norm + "Firma", false, false, {{true, "Nabywca   : "}, {false, "Firma", 145}}},
        {head + "Odbiorca  : " + norm + "Sklep", false, false, {{true, "Odbiorca  : "}, {false, "Sklep", 145}}},
        {"\x1b!!Tytul", false, true, {{true, "Tytul"}}},
        {"\x1b" "3 \x1b!\x05tekst", true, false, {{false, "tekst"}}},
        {"\x1b!\x01x", false, true, {{true, "x"}}},
        {"a\x1b!!b", false, false, {{false, "ab"}}},
        {"\x1bI;logo.bmp;1;2;3;4", false, false, {}},
        {"a\fb\xAE" "c\xAF" "d\xFF" "e\xC4\x0F", false, false, {{false, "abcd e—"}}},
        {"l\b/ L\b/ Z\b. Z\b- z\b' z\b. q\b' e\b,", false, false, {{false, "ł Ł Ż Ż ź z q ę"}}},
        {"(x) \\y \x1b-1u\x1b-0 \x1b(s3B!", false, false, {{false, "(x) \\y u !"}}},
    };
    for (const Case& c : cases) {
        bool headline = c.before;
        std::vector<PdfRun> runs = KODUJ(c.line, headline);
        EXPECT_EQ(headline, c.after) << c.line;
        ASSERT_EQ(runs.size(), c.runs.size()) << c.line;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i].headline, c.runs[i].headline) << c.line;
            EXPECT_EQ(utf8(runs[i].text), c.runs[i].text) << c.line;
            EXPECT_EQ(runs[i].x.value_or(-1), c.runs[i].x) << c.line;
        }
    }
}

TEST_F(PdfFiles, DotMatrixCodesBecomePclInTheWorkstationsCopy) {
    write("rob/wydruk07.prn", "\x1b" "3\x1c\x1b!!Tytul\r\n\x1b!\x01\x1b!\x05tekst\r\n\x1b!\x01x\r\n\x1b!\x15y");
    ASSERT_TRUE(TWORZ_PDF("rob\\wydruk07.prn", "PDF\\t.PDF"));
    EXPECT_EQ(read("rob/pdf07.txt"),
              PCL_FONT(6, 14) + "Tytul\r\n" + PCL_FONT(20, 10) + "tekst\r\nx\r\n" + PCL_FONT(20, 10) + "y");
    std::string text = pdf_tool({"pdftotext", (dir.path() / "pdf/t.pdf").string(), "-"});
    EXPECT_NE(text.find("Tytul"), std::string::npos) << text;
}

TEST_F(PdfFiles, ThePrintoutsPdfTakesABareNameInThePdfFolder) {
    write("rob/wydruk07.prn", "Faktura");
    DISPOUTAT(24, 0, "F1-pomoc");
    std::string asked;
    SETKEY(K_ALT_Y, [&] { asked = hc.row_trimmed(24); });
    hc.keys("Alt-Y Enter");
    EXPECT_EQ(PDF_WYDRUKU("rob\\wydruk07.prn"), "PDF\\wydruk07.PDF");
    EXPECT_TRUE(exists("pdf/wydruk07.pdf"));
    EXPECT_EQ(asked.substr(0, 16), "nazwa pliku PDF:");
    EXPECT_EQ(hc.row_trimmed(24), "F1-pomoc") << "the question's row is given back";

    hc.type("..\\firma");
    hc.keys("Enter");
    note_message();
    EXPECT_EQ(PDF_WYDRUKU("rob\\wydruk07.prn"), "");
    hc.type("wydruk07");
    hc.keys("Enter N");
    EXPECT_EQ(PDF_WYDRUKU("rob\\wydruk07.prn"), "") << "the operator keeps the PDF there is";
    hc.keys("Esc");
    EXPECT_EQ(PDF_WYDRUKU("rob\\wydruk07.prn"), "");
    EXPECT_EQ(messages, std::vector<std::string>{"Podaj sama nazwe pliku, bez folderu"});
    EXPECT_FALSE(exists("firma.pdf") || exists("firma.PDF"));
}

TEST_F(PdfFiles, DocumentPdfsAreFiledByKindAndNumber) {
    write("rob/wydruk07.prn", "Faktura");
    EXPECT_EQ(PDF_DOKUMENTU("FV ", "      12", "FAKTURA"), "") << "not asked for by the kind";
    EXPECT_FALSE(exists("pdf"));

    EXPECT_EQ(PDF_DOKUMENTU("FV ", "      12", "FAKTURA PDF"), "PDF\\FV_12.PDF");
    EXPECT_TRUE(exists("pdf/fv_12.pdf"));
    EXPECT_EQ(read("oferta/fv_12.pdf"), read("pdf/fv_12.pdf"));

    fs::create_directories("d");
    ::setenv("SKLAD_DRIVE_D", (dir.path() / "d").c_str(), 1);
    M_DRUKARKA = "EPSON D:\\PDF";
    EXPECT_EQ(PDF_DOKUMENTU("PA ", "       3", "PDF"), "PDF\\PA_3.PDF");
    EXPECT_TRUE(exists("d/pdf/24/01/pa_3.pdf"));
    M_DRUKARKA = "EPSON";
    EXPECT_EQ(PDF_DOKUMENTU("PA ", "       4", "PDF D:\\PDF"), "PDF\\PA_4.PDF");
    EXPECT_TRUE(exists("d/pdf/24/01/pa_4.pdf"));
    ::unsetenv("SKLAD_DRIVE_D");

    EXPECT_EQ(PDF_WYDRUKU("FV", "1", "ARCH", "rob\\wydruk07.prn"), "ARCH\\FV_1.PDF");
    EXPECT_TRUE(exists("arch/fv_1.pdf"));
}

TEST_F(PdfFiles, AMissingSourceMakesNoPdf) {
    note_message();
    EXPECT_EQ(PDF_WYDRUKU("FV", "1", "PDF"), "");
    EXPECT_EQ(messages, std::vector<std::string>{"Brak rob\\wydruk07.prn"});
    EXPECT_FALSE(exists("pdf/fv_1.pdf"));
}

}  // namespace
}  // namespace sklad::testing
