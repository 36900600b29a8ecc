#include <gtest/gtest.h>

#include <regex>

#include "platform/printer/render.h"
#include "platform/text/cp852.h"
#include "printer_fixture.h"

namespace platform::printer {
namespace {

using namespace testing;

class Pdf : public ::testing::Test {
  protected:
    TempDir dir;

    fs::path render(const std::string& spool, const std::string& name = "out.pdf") {
        fs::path in = dir / (name + ".prn"), out = dir / name;
        write_file(in, spool);
        spool_file_to_pdf(in, out);
        return out;
    }
    static int pages(const fs::path& pdf) {
        std::smatch m;
        std::string info = pdf_tool({"pdfinfo", pdf.string()});
        return std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(m[1]) : -1;
    }
    static std::string text(const fs::path& pdf, int page) {
        auto p = std::to_string(page);
        return pdf_tool({"pdftotext", "-f", p, "-l", p, "-layout", "-enc", "UTF-8", pdf.string(), "-"});
    }
    // Word boxes from pdftotext: word -> {xMin, yMin, xMax, yMax}.
    static std::map<std::string, std::array<double, 4>> boxes(const fs::path& pdf) {
        std::string html = pdf_tool({"pdftotext", "-bbox", "-enc", "UTF-8", pdf.string(), "-"});
        std::map<std::string, std::array<double, 4>> out;
        std::regex word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
        for (std::sregex_iterator it(html.begin(), html.end(), word), end; it != end; ++it)
            out[(*it)[5]] = {std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4])};
        return out;
    }
};

TEST_F(Pdf, SixtyOneLinesFillTwoPagesAndPolishLettersExtractAsLetters) {
    std::string spool;
    spool += std::string("Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ"_852);
    spool += "\r\nL\b/o\b'dz\b' i z\b'dz\b'bl\b/o";  // overstruck: Łódź i źdźbło
    for (int i = 3; i <= 61; ++i) spool += "\r\nWiersz " + std::to_string(i);
    fs::path pdf = render(spool);

    EXPECT_EQ(pages(pdf), 2);
    std::string first = text(pdf, 1), second = text(pdf, 2);
    EXPECT_NE(first.find("Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ"), std::string::npos) << first;
    EXPECT_NE(first.find("Łódź i źdźbło"), std::string::npos) << first;
    EXPECT_NE(first.find("Wiersz 3\n"), std::string::npos);
    EXPECT_EQ(first.find("Wiersz 61"), std::string::npos);
    EXPECT_NE(second.find("Wiersz 61"), std::string::npos) << second;
}

TEST_F(Pdf, FormFeedsAndLandscapePages) {
    fs::path pdf = render("portrait\r\n\f\x1b&l1Owide\r\n\f");
    EXPECT_EQ(pages(pdf), 2);  // the trailing form feed adds no page
    std::string info = pdf_tool({"pdfinfo", "-f", "1", "-l", "2", pdf.string()});
    EXPECT_TRUE(std::regex_search(info, std::regex("Page +1 size: +595 x 842 pts"))) << info;
    EXPECT_TRUE(std::regex_search(info, std::regex("Page +2 size: +842 x 595 pts"))) << info;
    EXPECT_NE(text(pdf, 2).find("wide"), std::string::npos);
}

TEST_F(Pdf, EveryPrintableCodePageCharacterHasAGlyphAndExtracts) {
    std::string all;
    for (int b = 0x21; b <= 0xFF; ++b)
        if (b != 0x7F && b != 0xF0 && b != 0xFF) all += static_cast<char>(b);  // not DEL, soft hyphen, no-break space
    std::string spool;
    for (std::size_t i = 0; i < all.size(); i += 40) spool += all.substr(i, 40) + "\r\n";
    fs::path pdf = render(spool);
    std::string got = pdf_tool({"pdftotext", "-raw", "-enc", "UTF-8", pdf.string(), "-"}), expected;
    for (std::size_t i = 0; i < all.size(); i += 40) expected += text::to_utf8(all.substr(i, 40)) + "\n";
    EXPECT_EQ(got, expected + "\f");
}

TEST_F(Pdf, PitchAndPointSizeOfEachRunAreHonoured) {
    // 10 characters an inch at 12 points, then 20 an inch, then 24 points.
    fs::path pdf = render("AAAA \x1b(s20HBBBB \x1b(s10H\x1b(s24VCCCC");
    auto b = boxes(pdf);
    ASSERT_TRUE(b.count("AAAA") && b.count("BBBB") && b.count("CCCC")) << pdf_tool({"pdftotext", "-bbox", pdf.string(), "-"});
    const double margin = 36;
    EXPECT_NEAR(b["AAAA"][0], margin, 0.5);
    EXPECT_NEAR(b["AAAA"][2] - b["AAAA"][0], 4 * 7.2, 0.5);
    EXPECT_NEAR(b["BBBB"][0], margin + 5 * 7.2, 0.5);
    EXPECT_NEAR(b["BBBB"][2] - b["BBBB"][0], 4 * 3.6, 0.5);
    EXPECT_NEAR(b["CCCC"][0], margin + 5 * 7.2 + 5 * 3.6, 0.5);
    EXPECT_NEAR(b["CCCC"][2] - b["CCCC"][0], 4 * 7.2, 0.5);
    double small = b["AAAA"][3] - b["AAAA"][1], large = b["CCCC"][3] - b["CCCC"][1];
    EXPECT_NEAR(large / small, 2.0, 0.1);
}

TEST_F(Pdf, BoldAndItalicUseTheEmbeddedVariants) {
    fs::path pdf = render("plain \x1b(s3Bbold \x1b(s0B\x1b(s1Sitalic \x1b(s3Bboth");
    std::string fonts = pdf_tool({"pdffonts", pdf.string()});
    for (const char* name : {"DejaVuSansMono ", "DejaVuSansMono-Bold ", "DejaVuSansMono-Oblique ",
                             "DejaVuSansMono-BoldOblique "}) {
        std::smatch m;
        ASSERT_TRUE(std::regex_search(
            fonts, m, std::regex("[A-Z]{6}\\+" + std::string(name) + R"(\s+CID TrueType\s+Identity-H\s+(\w+)\s+(\w+)\s+(\w+))")))
            << name << "\n" << fonts;
        EXPECT_EQ(m[1], "yes") << name << " embedded";
        EXPECT_EQ(m[2], "yes") << name << " subset";
        EXPECT_EQ(m[3], "yes") << name << " has a Unicode map";
    }
    // Only the drawn letters travel: four fonts still make a small file to mail and keep.
    EXPECT_LT(fs::file_size(pdf), 60000u);
    EXPECT_NE(text(pdf, 1).find("plain bold italic both"), std::string::npos);
}

TEST_F(Pdf, UnderlineIsDrawn) {
    // A run of underlined blanks: the underline is the only ink on the page.
    auto ink = [&](const std::string& spool, const std::string& name) {
        fs::path pdf = render(spool, name);
        pdf_tool({"pdftoppm", "-r", "72", "-gray", pdf.string(), (dir / name).string()});
        std::string pgm = read_file(dir / (name + "-1.pgm"));
        int dark = 0;
        for (std::size_t i = pgm.size() - 595 * 842; i < pgm.size(); ++i) dark += static_cast<unsigned char>(pgm[i]) < 128;
        return dark;
    };
    EXPECT_EQ(ink("          ", "plain"), 0);
    EXPECT_GT(ink("\x1b&d1D          \x1b&d@", "pcl"), 40);
    EXPECT_GT(ink("\x1b-\x01          ", "escp"), 40);
}

TEST_F(Pdf, HelperReportsFailuresAndLeavesNoFile) {
    EXPECT_THROW(spool_file_to_pdf(dir / "missing.prn", dir / "x.pdf"), SpoolError);
    EXPECT_FALSE(fs::exists(dir / "x.pdf"));
    write_file(dir / "a.prn", "a");
    EXPECT_THROW(spool_file_to_pdf(dir / "a.prn", dir / "no-such-folder" / "a.pdf"), PdfError);
    RenderOptions no_fonts;
    no_fonts.fonts = FontFiles{"/nonexistent.ttf", "/nonexistent.ttf", "/nonexistent.ttf", "/nonexistent.ttf"};
    EXPECT_THROW(spool_file_to_pdf(dir / "a.prn", dir / "a.pdf", no_fonts), FontError);
    EXPECT_FALSE(fs::exists(dir / "a.pdf"));
    EXPECT_FALSE(fs::exists(dir / "a.pdf.part"));
}

// A 24-bit bottom-up BMP of w x h pixels, all of one colour.
std::string bmp(int w, int h, unsigned char r, unsigned char g, unsigned char b) {
    int stride = (w * 3 + 3) / 4 * 4, size = 54 + stride * h;
    std::string out(static_cast<std::size_t>(size), '\0');
    auto put = [&](int at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out[static_cast<std::size_t>(at + i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    out[0] = 'B', out[1] = 'M';
    put(2, static_cast<std::uint32_t>(size), 4), put(10, 54, 4), put(14, 40, 4), put(18, static_cast<std::uint32_t>(w), 4);
    put(22, static_cast<std::uint32_t>(h), 4), put(26, 1, 2), put(28, 24, 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::size_t at = static_cast<std::size_t>(54 + y * stride + x * 3);
            out[at] = static_cast<char>(b), out[at + 1] = static_cast<char>(g), out[at + 2] = static_cast<char>(r);
        }
    return out;
}

TEST_F(Pdf, PictureSequenceDrawsTheBitmap) {
    write_file(dir / "logo.bmp", bmp(3, 2, 200, 10, 10));
    fs::path pdf = render("\x1bI;" + (dir / "logo.bmp").string() + ";0;0;600;300\r\n\x1bI;" + (dir / "none.bmp").string() +
                          ";0;0;600;300\r\ntext");
    std::string list = pdf_tool({"pdfimages", "-list", pdf.string()});
    EXPECT_NE(list.find("image       3     2  rgb"), std::string::npos) << list;
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 3) << "only the existing picture is drawn\n" << list;
}

TEST_F(Pdf, WriterPrimitives) {
    PdfDocument doc;
    doc.set_info({"Faktura w formacie PDF", "TOLBERG", "TOLBERG", "VAT TO PDF", "D:20240131120000+01'00'"});
    doc.add_page();
    doc.text_852(22, 820, PdfFont::Regular, 16, "Nabywca   : Łąka"_852);
    doc.text(167, 807, PdfFont::Regular, 8, U"Zażółć");
    doc.line(22, 800, 573, 800);
    doc.rectangle(22, 40, 551, 760);
    std::string rgb(659 * 144 * 3, '\x80');
    doc.picture_rgb(8, 715, 580, 127, 659, 144, rgb);
    EXPECT_THROW(doc.picture_rgb(0, 0, 1, 1, 10, 10, "short"), PdfError);
    doc.save(dir / "w.pdf");

    std::string info = pdf_tool({"pdfinfo", (dir / "w.pdf").string()});
    EXPECT_NE(info.find("Title:           Faktura w formacie PDF"), std::string::npos) << info;
    EXPECT_NE(info.find("Producer:        VAT TO PDF"), std::string::npos);
    EXPECT_NE(info.find("CreationDate:    Wed Jan 31 "), std::string::npos) << info;
    EXPECT_NE(info.find("Page size:       595 x 842 pts (A4)"), std::string::npos);
    auto b = boxes(dir / "w.pdf");
    ASSERT_TRUE(b.count("Łąka") && b.count("Zażółć"));
    EXPECT_NEAR(b["Nabywca"][0], 22, 0.5);
    EXPECT_NEAR(b["Zażółć"][0], 167, 0.5);
    EXPECT_NE(pdf_tool({"pdfimages", "-list", (dir / "w.pdf").string()}).find("image     659   144  rgb"),
              std::string::npos);
}

TEST_F(Pdf, EmptyDocumentIsStillAValidPdf) {
    PdfDocument doc;
    doc.save(dir / "empty.pdf");
    EXPECT_EQ(pages(dir / "empty.pdf"), 1);
    EXPECT_EQ(pages(render("")), 1);
}

}  // namespace
}  // namespace platform::printer
