#include <gtest/gtest.h>

#include "shell/start.h"

using namespace sklad;

TEST(CommandLine, TakesNoneOrOneArgument) {
    struct Case {
        std::vector<std::string> args;
        bool ok;
        std::string argument;
    } cases[] = {
        {{}, true, ""},
        {{"999"}, true, "999"},
        {{"1", "2"}, false, ""},
    };
    for (const auto& c : cases) {
        CommandLine cl = PARSE_COMMAND_LINE(c.args);
        EXPECT_EQ(cl.ok, c.ok) << testing::PrintToString(c.args);
        EXPECT_EQ(cl.argument, c.argument);
    }
    EXPECT_NE(SKLAD_MAIN({"a", "b"}), 0);
}
