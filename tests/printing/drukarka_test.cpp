// The print paths end to end, against a private CUPS scheduler on a loopback port whose queue
// "laser" writes every job into a file.

#include "printing/drukarka.h"

#include <chrono>
#include <thread>

#include "platform/printer/cups_scheduler.h"
#include "printing/druk.h"
#include "printing_fixture.h"

namespace sklad::testing {
namespace {

using platform::printer::testing::PrivateScheduler;
using platform::printer::testing::pdf_tool;

class PrinterJobs : public PrintingTest {
  protected:
    static inline PrivateScheduler* scheduler = nullptr;
    static void SetUpTestSuite() { scheduler = new PrivateScheduler; }
    static void TearDownTestSuite() {
        delete scheduler;
        scheduler = nullptr;
    }

    void SetUp() override {
        PrintingTest::SetUp();
        if (!scheduler->skip_reason().empty()) GTEST_SKIP() << scheduler->skip_reason();
        ::setenv("CUPS_SERVER", scheduler->server().c_str(), 1);
        fs::remove(scheduler->output("laser"));
    }
    void printer(const std::string& name, const std::string& type = "") {
        write("vat.ini", "[KASA1]\r\nPrinterName=" + name + "\r\nPrinterType=" + type + "\r\n");
    }
    // What reached the queue's device once the job is whole (`done` says when).
    template <class Done>
    std::string arrived(Done done) const {
        std::string bytes;
        for (auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
             std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
            bytes = read(scheduler->output("laser"));
            if (done(bytes)) return bytes;
        }
        ADD_FAILURE() << "the job did not arrive whole\n" << read(scheduler->log());
        return bytes;
    }
};

TEST_F(PrinterJobs, ARawJobArrivesByteForByte) {
    std::string spool = "\x1b(s3BFaktura\x1b(s0B L\b/o\b'dz\b'\r\n\f";
    for (int b = 0; b < 256; ++b) spool += static_cast<char>(b);
    write("rob/wydruk07.prn", spool);
    printer("laser");
    ASSERT_TRUE(FILETOPRINTER("rob\\wydruk07.prn"));
    const std::string expected = "\r\n" + spool;
    EXPECT_EQ(arrived([&](const std::string& b) { return b.size() >= expected.size(); }), expected);
}

TEST_F(PrinterJobs, ARangeOfLinesGoesToTheDefaultPrinter) {
    write("rob/wydruk07.prn", numbered_lines(5));
    write("vat.ini", "[KASA1]\r\nPrinterName=\r\n[System]\r\nPrinterName=DEFAULT\r\n");
    ASSERT_TRUE(FILETOPRINTER("rob\\wydruk07.prn", "     2", "     3"));
    EXPECT_EQ(arrived([](const std::string& b) { return b.size() >= 26; }), "\r\nwiersz 002\r\nwiersz 003\r\n");
}

TEST_F(PrinterJobs, ARenderedJobArrivesAsAPdf) {
    write("rob/wydruk07.prn", "\x1b(s3BFaktura VAT\x1b(s0B\r\nL\b/o\b'dz\b', ul. Z\b-abia\f");
    printer("laser", "WIN32");
    ASSERT_TRUE(FILETOPRINTER("rob\\wydruk07.prn"));
    std::string pdf = arrived([](const std::string& b) { return b.ends_with("%%EOF\n"); });
    EXPECT_TRUE(pdf.starts_with("%PDF-1.4"));
    write("job.pdf", pdf);
    std::string text = pdf_tool({"pdftotext", (dir.path() / "job.pdf").string(), "-"});
    EXPECT_NE(text.find("Faktura VAT"), std::string::npos) << text;
    EXPECT_NE(text.find("Łódź, ul. Żabia"), std::string::npos) << text;
    EXPECT_EQ(info_field(pdf_tool({"pdfinfo", (dir.path() / "job.pdf").string()}), "Pages"), "1")
        << "the trailing form feed makes no empty page";
}

TEST_F(PrinterJobs, ARefusedJobIsReportedAndTheFileKept) {
    write("DRUKUJ.TXT", "");
    REJESTRUJ_DRUK("Paragon", [](std::vector<Value>&) { QOUT("Paragon"); });
    struct Case {
        const char* name;
        const char* type;
        const char* message;
    };
    for (Case c : {Case{"closed", "", "Drukarka nie przyjela wydruku"}, Case{"", "", "Drukarka nie przyjela wydruku"},
                   Case{"brak", "WIN32", "Cannot Create Printer"}, Case{"closed", "WIN32", "StartDoc() failed"}}) {
        printer(c.name, c.type);
        messages.clear();
        hc.keys("Enter");
        note_message();
        note_message();
        note_message();
        EXPECT_FALSE(DRUKUJ("Paragon")) << c.name;
        EXPECT_EQ(read("rob/druk07.prn"), "\r\nParagon") << c.name;
        ASSERT_EQ(messages.size(), 3u) << c.name;
        EXPECT_EQ(messages[0], c.message) << c.name;
        EXPECT_EQ(messages[2], "Wydruk zostal w pliku rob\\druk07.prn") << c.name;
        hc.backend().clear_queue();
    }
}

TEST_F(PrinterJobs, ReadinessIsWhetherTheQueueTakesJobs) {
    printer("laser");
    EXPECT_TRUE(DRUKARKA_GOTOWA());
    printer("DEFAULT");
    EXPECT_TRUE(DRUKARKA_GOTOWA());
    printer("closed");
    EXPECT_FALSE(DRUKARKA_GOTOWA());
    printer("");
    EXPECT_FALSE(DRUKARKA_GOTOWA()) << "an empty name is LPT1, which this server lacks";
}

}  // namespace
}  // namespace sklad::testing
