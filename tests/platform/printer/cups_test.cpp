// Printing through a private CUPS scheduler that the tests start on a free loopback port,
// with its own configuration in a temporary folder and queues that write into files there.

#include "platform/printer/cups.h"

#include <chrono>
#include <thread>

#include "cups_scheduler.h"
#include "platform/printer/render.h"
#include "printer_fixture.h"

namespace platform::printer {
namespace {

using namespace testing;
using namespace std::chrono_literals;

class Cups : public ::testing::Test {
  protected:
    static inline PrivateScheduler* scheduler = nullptr;

    static void SetUpTestSuite() { scheduler = new PrivateScheduler; }
    static void TearDownTestSuite() {
        delete scheduler;
        scheduler = nullptr;
    }
    void SetUp() override {
        if (!scheduler->skip_reason().empty()) GTEST_SKIP() << scheduler->skip_reason();
    }

    PrintServer server() const { return PrintServer(scheduler->server()); }

    // Waits for the scheduler to finish the job, then returns what reached the device.
    std::string printed(int job, const std::string& queue) const {
        for (auto until = std::chrono::steady_clock::now() + 30s; std::chrono::steady_clock::now() < until;) {
            auto state = server().job_state(job);
            if (state && *state >= JobState::Canceled) {
                EXPECT_EQ(*state, JobState::Completed) << read_file(scheduler->log());
                return read_file(scheduler->output(queue));
            }
            std::this_thread::sleep_for(50ms);
        }
        ADD_FAILURE() << "job " << job << " did not finish\n" << read_file(scheduler->log());
        return {};
    }
};

TEST_F(Cups, DestinationsTheDefaultAndReadiness) {
    auto list = server().destinations();
    ASSERT_TRUE(list) << list.error();
    ASSERT_EQ(list->size(), 2u);
    for (const Destination& d : *list) {
        EXPECT_EQ(d.is_default, d.name == "laser") << d.name;
        EXPECT_EQ(d.ready(), d.name == "laser") << d.name;
    }

    for (const char* name : {"DEFAULT", "Default printer", "laser"}) {
        auto d = server().destination(name);
        ASSERT_TRUE(d) << name << ": " << d.error();
        EXPECT_EQ(d->name, "laser");
        EXPECT_EQ(d->info, "Laser on the test desk");
        EXPECT_TRUE(d->ready());
    }
    auto closed = server().destination("closed");
    ASSERT_TRUE(closed) << closed.error();
    EXPECT_FALSE(closed->ready());

    auto missing = server().destination("no-such-printer");
    EXPECT_FALSE(missing);
    EXPECT_FALSE(missing.error().empty());
}

TEST_F(Cups, RawJobArrivesByteForByte) {
    std::string bytes = "\r\n\x1b(s3BFaktura\x1b(s0B L\b/o\b'dz\b'\r\n\f";
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    auto job = server().submit_raw("DEFAULT", "wydruk01.prn", bytes);
    ASSERT_TRUE(job) << job.error();
    EXPECT_EQ(printed(*job, "laser"), bytes);
}

TEST_F(Cups, RenderedJobArrivesAsThePdf) {
    PdfDocument doc = render_pdf(parse_spool("Faktura VAT\r\nL\b/o\b'dz\b'"));
    std::string pdf = doc.bytes();
    auto job = server().submit_pdf("laser", "wydruk01.prn", pdf);
    ASSERT_TRUE(job) << job.error();
    std::string arrived = printed(*job, "laser");
    EXPECT_EQ(arrived.substr(0, 8), "%PDF-1.4");
    EXPECT_EQ(arrived, pdf);
}

TEST_F(Cups, RefusedJobsAreReportedNotThrown) {
    auto closed = server().submit_raw("closed", "x", "data");
    EXPECT_FALSE(closed);
    EXPECT_FALSE(closed.error().empty());
    auto missing = server().submit_pdf("no-such-printer", "x", "%PDF-1.4");
    EXPECT_FALSE(missing);
    EXPECT_FALSE(server().job_state(999999));
}

TEST(CupsUnreachable, EveryCallReportsTheFailure) {
    PrintServer nowhere("127.0.0.1:" + std::to_string(free_port()));
    EXPECT_EQ(nowhere.host(), "127.0.0.1");
    auto list = nowhere.destinations();
    EXPECT_FALSE(list);
    EXPECT_FALSE(list.error().empty());
    EXPECT_FALSE(nowhere.default_destination());
    EXPECT_FALSE(nowhere.destination("laser"));
    EXPECT_FALSE(nowhere.submit_raw("laser", "x", "data"));
    EXPECT_FALSE(nowhere.submit_pdf("DEFAULT", "x", "%PDF"));
}

}  // namespace
}  // namespace platform::printer
