#include "platform/console/keyboard.h"

#include <gtest/gtest.h>

#include <csignal>
#include <iostream>

#include "platform/console/console_fixture.h"

namespace platform::console::testing {
namespace {

using KeyboardTest = ConsoleTest;
using namespace std::chrono_literals;

TEST_F(KeyboardTest, InkeyTimesOutOnTheVirtualClockWithoutSleeping) {
    auto start = hc.clock().now();
    EXPECT_EQ(con().inkey(Wait::seconds(1.5)), 0);
    EXPECT_EQ(hc.clock().now() - start, 1500ms);
    EXPECT_EQ(con().inkey(Wait::none()), 0);  // no wait at all
    EXPECT_EQ(con().inkey(Wait::seconds(-1)), 0);
    EXPECT_EQ(hc.clock().now() - start, 1500ms);
}

TEST_F(KeyboardTest, AKeyEndsATimedWaitEarlyAndWaitingForeverTakesAsLongAsItTakes) {
    hc.pause(0.4);
    hc.keys("x");
    auto start = hc.clock().now();
    EXPECT_EQ(con().inkey(Wait::seconds(1)), 'x');
    EXPECT_EQ(hc.clock().now() - start, 400ms);

    hc.pause(3600);
    hc.keys("Enter");
    EXPECT_EQ(con().inkey(Wait::seconds(0)), K_ENTER);  // 0 = until a key
    EXPECT_EQ(hc.clock().now() - start, 400ms + 3600s);

    // A pause longer than the wait is used up only in part.
    hc.pause(5);
    hc.keys("y");
    EXPECT_EQ(con().inkey(Wait::seconds(2)), 0);
    EXPECT_EQ(con().inkey(Wait::seconds(4)), 'y');
    EXPECT_EQ(hc.clock().now() - start, 400ms + 3600s + 5s);
}

TEST_F(KeyboardTest, TypeAheadComesBeforeTheDeviceAndNextkeyOnlyPeeks) {
    hc.keys("a");
    con().keyboard().stuff("\r\x05");
    con().keyboard().put(K_F2);
    EXPECT_EQ(con().nextkey(), K_ENTER);
    EXPECT_EQ(con().inkey(Wait::forever()), K_ENTER);
    EXPECT_EQ(con().lastkey(), K_ENTER);
    EXPECT_EQ(con().inkey(Wait::forever()), K_UP);
    EXPECT_EQ(con().inkey(Wait::forever()), K_F2);
    EXPECT_EQ(con().nextkey(), 'a');  // from the device, kept for the next read
    EXPECT_EQ(con().lastkey(), K_F2);
    EXPECT_EQ(con().inkey(Wait::none()), 'a');
    EXPECT_EQ(con().nextkey(), 0);
    con().keyboard().stuff("zz");
    con().keyboard().clear();
    EXPECT_EQ(con().inkey(Wait::none()), 0);
    EXPECT_EQ(con().lastkey(), 'a');  // a time-out is no key
}

TEST_F(KeyboardTest, HotKeyRunsFromInsideTheWaitAndTheWaitGoesOn) {
    int calls = 0;
    con().keyboard().set_key(K_ALT_K, [&] {
        ++calls;
        con().out_at(22, 60, "KALKULATOR");
    });
    hc.keys("Alt-K");
    hc.pause(0.5);
    hc.keys("Alt-K Enter");
    auto start = hc.clock().now();
    EXPECT_EQ(con().inkey(Wait::seconds(1)), K_ENTER);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(hc.text(22, 60, 10), "KALKULATOR");
    EXPECT_EQ(hc.clock().now() - start, 500ms);

    // The deadline stays: a hot key does not stretch a timed wait.
    hc.keys("Alt-K");
    hc.pause(2);
    EXPECT_EQ(con().inkey(Wait::seconds(1)), 0);
    EXPECT_EQ(calls, 3);

    // Reads that ask for raw keys get the hot key itself.
    hc.keys("Alt-K");
    EXPECT_EQ(con().inkey(Wait::forever(), false), K_ALT_K);
    EXPECT_EQ(calls, 3);
}

TEST_F(KeyboardTest, HotKeyIsNotReenteredAndMayUnbindItself) {
    Keyboard& kb = con().keyboard();
    std::vector<int> inner;
    int depth = 0, max_depth = 0;
    kb.set_key(K_ALT_K, [&] {
        max_depth = std::max(max_depth, ++depth);
        // The routine waits itself: the same key pressed now reaches it as a plain key.
        inner.push_back(con().inkey(Wait::forever()));
        inner.push_back(con().inkey(Wait::forever()));
        --depth;
    });
    hc.keys("Alt-K Alt-K Esc x");
    EXPECT_EQ(con().inkey(Wait::forever()), 'x');
    EXPECT_EQ(max_depth, 1);
    EXPECT_EQ(inner, (std::vector<int>{K_ALT_K, K_ESC}));

    HotKey before = kb.set_key(K_F2, [&] { kb.set_key(K_F2, {}); });
    EXPECT_FALSE(before);
    hc.keys("F2 F2");
    EXPECT_EQ(con().inkey(Wait::forever()), K_F2);  // the first ran and unbound itself
    EXPECT_FALSE(kb.get_key(K_F2));
    EXPECT_TRUE(kb.set_key(K_ALT_K, {}));  // unbinding returns the routine it replaces
}

TEST_F(KeyboardTest, WaitingForeverWithNoKeysLeftFailsInsteadOfHanging) {
    hc.keys("a");
    EXPECT_EQ(con().inkey(Wait::forever()), 'a');
    EXPECT_THROW(con().inkey(Wait::forever()), KeysExhausted);
}

TEST_F(KeyboardTest, ClockGivesTodayAndTheTimeOfDay) {
    HeadlessConsole other(platform::Date::from_ymd(2024, 2, 29), 23);
    Clock& c = other.console().clock();
    EXPECT_EQ(c.today(), platform::Date::from_ymd(2024, 2, 29));
    EXPECT_EQ(c.time_of_day(), "23:00:00");
    other.clock().advance(std::chrono::hours(1) + 2s);
    EXPECT_EQ(c.today(), platform::Date::from_ymd(2024, 3, 1));
    EXPECT_EQ(c.time_of_day(), "00:00:02");
    EXPECT_DOUBLE_EQ(c.seconds(), 2.0);
}

TEST(KeyboardEnd, SignalDuringAWaitRunsTheEndHandlerAndExits) {
    EXPECT_EXIT(
        {
            HeadlessConsole hc;
            hc.console().set_end_handler([&](int sig) {
                std::cerr << "released workstation after signal " << sig << "\n";
                hc.console().inkey(Wait::seconds(1));  // a wait inside the handler does not recurse
            });
            hc.backend().push_end(SIGTERM);
            hc.console().inkey(Wait::forever());
        },
        ::testing::ExitedWithCode(128 + SIGTERM), "released workstation after signal 15");
}

}  // namespace
}  // namespace platform::console::testing
