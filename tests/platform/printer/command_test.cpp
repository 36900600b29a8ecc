#include "platform/printer/command.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "printer_fixture.h"

namespace platform::printer {
namespace {

using namespace testing;
using namespace std::chrono_literals;

TEST(Command, ShellMetacharactersArriveAsOnePlainArgument) {
    TempDir dir;
    const std::string address = "jan@firma.pl; touch pwned $(touch pwned2) `touch pwned3` | tee x > y < z & 'q' \"d\" * ~";
    CommandOptions o;
    o.working_directory = dir.path();
    CommandResult r = run_command({"printf", "[%s]\n", address, "tekst z spacjami"}, o);
    ASSERT_TRUE(r.succeeded()) << r.error << r.output;
    EXPECT_EQ(r.output, "[" + address + "]\n[tekst z spacjami]\n");
    EXPECT_TRUE(fs::is_empty(dir.path())) << "something interpreted the argument";
}

TEST(Command, ExitStatusSignalsAndFailuresToStart) {
    CommandResult three = run_command({"sh", "-c", "echo out; echo err >&2; exit 3"});
    EXPECT_TRUE(three.started);
    EXPECT_EQ(three.exit_code, 3);
    EXPECT_EQ(three.output, "out\nerr\n");
    EXPECT_FALSE(three.succeeded());

    CommandResult killed = run_command({"sh", "-c", "kill -TERM $$"});
    EXPECT_EQ(killed.signal, SIGTERM);
    EXPECT_FALSE(killed.succeeded());

    for (std::vector<std::string> argv : {std::vector<std::string>{"/nonexistent/blat"}, {"no-such-program-here"}, {}}) {
        CommandResult r = run_command(argv);
        EXPECT_FALSE(r.started);
        EXPECT_FALSE(r.error.empty());
    }
}

TEST(Command, TimeLimitKillsTheProgramAndItsChildren) {
    CommandOptions o;
    o.time_limit = 200ms;
    CommandResult r = run_command({"sh", "-c", "sleep 30 & sleep 30; echo never"}, o);
    EXPECT_TRUE(r.timed_out);
    EXPECT_EQ(r.signal, SIGKILL);
    EXPECT_EQ(r.output, "");
    EXPECT_FALSE(r.succeeded());
}

TEST(Command, NoDescriptorOfOursReachesTheProgram) {
    // An open table holds its locks through its descriptor; a mail sender must not inherit it.
    TempDir dir;
    int fd = ::open((dir / "table.dbf").c_str(), O_CREAT | O_RDWR, 0644);  // deliberately not close-on-exec
    ASSERT_GE(fd, 3);
    CommandResult r = run_command({"sh", "-c", "ls -l /proc/$$/fd"});
    ::close(fd);
    ASSERT_TRUE(r.succeeded()) << r.error;
    EXPECT_NE(r.output.find("/dev/null"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("table.dbf"), std::string::npos) << r.output;
}

TEST(Command, WorkingDirectoryAndOutputLimit) {
    TempDir dir;
    CommandOptions o;
    o.working_directory = dir.path();
    o.output_limit = 5;
    CommandResult r = run_command({"sh", "-c", "pwd; head -c 100000 /dev/zero"}, o);
    ASSERT_TRUE(r.succeeded()) << r.error;
    EXPECT_EQ(r.output, fs::canonical(dir.path()).string().substr(0, 5));
}

}  // namespace
}  // namespace platform::printer
