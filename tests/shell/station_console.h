#pragma once
// A console for the workstation tests and their driver: no keys ever come, every message window
// shown is remembered (its text row, once per showing) and so is the screen at every wait, and
// an orderly end can be asked for through a descriptor (the driver's signal handler writes the
// signal number into it).

#include <poll.h>
#include <cerrno>
#include <unistd.h>

#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/console.h"
#include "platform/console/clock.h"
#include "platform/console/console.h"
#include "platform/console/headless.h"
#include "platform/text/cp852.h"

namespace sklad::testing {

namespace pc = platform::console;

class MessageBackend final : public pc::Backend {
  public:
    // Message windows have a double frame from row 15, column 30; their text is on row 17.
    void present(const pc::Screen& s, const pc::CursorState&) override {
        for (int r = 0; r < pc::kRows; ++r) shown_[static_cast<std::size_t>(r)] = s.row_bytes(r);
        if (static_cast<unsigned char>(s.at(15, 30).ch) != 0xC9) {
            last_.clear();
            return;
        }
        std::string text = platform::text::to_utf8(s.row_bytes(17).substr(31, 41));
        text.erase(0, text.find_first_not_of(' ') == std::string::npos ? text.size() : text.find_first_not_of(' '));
        text.erase(text.find_last_not_of(' ') + 1);
        if (!text.empty() && text != last_) messages_.push_back(text);
        last_ = text;
    }
    pc::ReadResult read_key(pc::Clock& clock, std::optional<pc::Millis> wait) override {
        for (const std::string& row : shown_) waited_on_.insert(platform::text::to_utf8(row));
        if (wake_fd_ >= 0) {
            pollfd p{wake_fd_, POLLIN, 0};
            int ready;
            while ((ready = ::poll(&p, 1, wait ? 0 : -1)) < 0 && errno == EINTR) {
            }
            if (ready > 0) {
                unsigned char sig = 0;
                if (::read(wake_fd_, &sig, 1) == 1) end_ = sig;
            }
        }
        if (end_ != 0) return pc::ReadResult::end(end_);
        if (!wait) throw pc::KeysExhausted();
        clock.sleep(*wait);
        return pc::ReadResult::timeout();
    }
    void tone(double, double) override {}

    const std::vector<std::string>& messages() const { return messages_; }
    void clear_messages() { messages_.clear(); }
    void wake_on(int fd) { wake_fd_ = fd; }
    // Whether some row showed `text` while the program waited.
    bool seen_while_waiting(const std::string& text) const {
        for (const std::string& row : waited_on_)
            if (row.find(text) != std::string::npos) return true;
        return false;
    }

  private:
    std::vector<std::string> messages_;
    std::array<std::string, pc::kRows> shown_;
    std::set<std::string> waited_on_;
    std::string last_;
    int wake_fd_ = -1;
    int end_ = 0;
};

// Installed as the application's console while it lives.
class StationConsole {
  public:
    explicit StationConsole(std::unique_ptr<pc::Clock> clock) {
        auto backend = std::make_unique<MessageBackend>();
        backend_ = backend.get();
        console_ = std::make_unique<pc::Console>(std::move(backend), std::move(clock));
        INSTALL_CONSOLE(console_.get());
    }
    StationConsole() : StationConsole(std::make_unique<pc::VirtualClock>(platform::Date::from_ymd(2024, 1, 15), 8)) {}
    ~StationConsole() { INSTALL_CONSOLE(nullptr); }
    StationConsole(const StationConsole&) = delete;
    StationConsole& operator=(const StationConsole&) = delete;

    MessageBackend& backend() { return *backend_; }
    const std::vector<std::string>& messages() const { return backend_->messages(); }
    bool shown(const std::string& text) const {
        for (const std::string& m : messages())
            if (m == text) return true;
        return false;
    }
    // A row as the screen shows it, without trailing blanks.
    std::string row(int r) const {
        std::string text = platform::text::to_utf8(console_->screen().row_bytes(r));
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    }

  private:
    MessageBackend* backend_;
    std::unique_ptr<pc::Console> console_;
};

}  // namespace sklad::testing
