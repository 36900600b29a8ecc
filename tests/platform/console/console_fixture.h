#pragma once
// A headless console for screen tests: push keys by name or as text, run a routine, then read rows
// as UTF-8 and cells' colours. The clock is virtual: waits advance it instead of sleeping.
//
//   HeadlessConsole hc;
//   hc.keys("Down Down Enter");
//   int choice = menu_to(hc.console(), items, 1);
//   EXPECT_EQ(hc.row_trimmed(3), " Rozrachunki");

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/console/clock.h"
#include "platform/console/console.h"
#include "platform/console/headless.h"
#include "platform/console/keys.h"
#include "platform/text/cp852.h"

namespace platform::console::testing {

class HeadlessConsole {
  public:
    explicit HeadlessConsole(platform::Date today = platform::Date::from_ymd(2024, 1, 15), int hour = 8) {
        auto backend = std::make_unique<HeadlessBackend>();
        auto clock = std::make_unique<VirtualClock>(today, hour);
        backend_ = backend.get();
        clock_ = clock.get();
        console_ = std::make_unique<Console>(std::move(backend), std::move(clock));
    }

    Console& console() { return *console_; }
    HeadlessBackend& backend() { return *backend_; }
    VirtualClock& clock() { return *clock_; }
    // Hands the console over (e.g. to the application's adapter); this object keeps the pointers.
    std::unique_ptr<Console> release() { return std::move(console_); }

    // Keys by name separated by blanks: "Down Down Enter", "Alt-K", "F2", "Shift-Tab", "x".
    void keys(std::string_view names) {
        std::size_t i = 0;
        while (i < names.size()) {
            while (i < names.size() && names[i] == ' ') ++i;
            std::size_t j = i;
            while (j < names.size() && names[j] != ' ') ++j;
            if (j > i) {
                auto name = names.substr(i, j - i);
                auto k = key_from_name(name);
                if (!k) throw std::invalid_argument("unknown key name: " + std::string(name));
                backend_->push_key(*k);
            }
            i = j;
        }
    }
    void key(int code) { backend_->push_key(code); }
    // Every character of UTF-8 text as one key (its code page 852 byte).
    void type(std::string_view utf8) {
        for (char c : platform::text::from_utf8(utf8)) backend_->push_key(static_cast<unsigned char>(c));
    }
    // No key arrives for this long.
    void pause(double seconds) { backend_->push_pause(seconds_to_millis(seconds)); }

    // A whole row (80 columns) as UTF-8, as the terminal would show it.
    std::string row(int r) const { return text(r, 0, kCols); }
    // The row without trailing blanks.
    std::string row_trimmed(int r) const {
        std::string s = row(r);
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
    // `len` columns from (r, c) as UTF-8.
    std::string text(int r, int c, int len) const {
        std::string out;
        for (int k = c; k < c + len && k < kCols; ++k)
            platform::text::append_utf8(out, platform::text::to_display(console_->screen().at(r, k).ch));
        return out;
    }
    Attr attr(int r, int c) const { return console_->screen().at(r, c).attr; }
    // The colour of a cell as a colour pair: "W+/B".
    std::string colour(int r, int c) const { return colour_name(attr(r, c)); }
    // The whole screen, rows joined by '\n' without trailing blanks (for failure messages).
    std::string dump() const {
        std::string out;
        for (int r = 0; r < kRows; ++r) out += row_trimmed(r) + "\n";
        return out;
    }

  private:
    std::unique_ptr<Console> console_;
    HeadlessBackend* backend_ = nullptr;
    VirtualClock* clock_ = nullptr;
};

// GoogleTest fixture over one HeadlessConsole.
class ConsoleTest : public ::testing::Test {
  protected:
    HeadlessConsole hc;
    Console& con() { return hc.console(); }
};

}  // namespace platform::console::testing
