#pragma once
// The terminal backend: draws the 25 x 80 screen at the top-left of a terminal (ncursesw), code page
// 852 shown as Unicode, and reads the keys itself in raw mode, so that the control bytes that are
// key codes (3 PgDn, 19 Left, 28 F1) never raise signals or stop the output.
//
// SIGHUP, SIGTERM and SIGINT become an orderly end reported by read_key; a crash (SIGSEGV, SIGABRT,
// SIGBUS, SIGFPE, SIGILL) restores the terminal and re-raises. Only one may exist at a time.

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/console/backend.h"

namespace platform::console {

class TerminalError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TerminalBackend final : public Backend {
  public:
    // Takes over the controlling terminal on stdin/stdout. Throws TerminalError when they are not a
    // terminal or another terminal backend is active.
    TerminalBackend();
    ~TerminalBackend() override;
    TerminalBackend(const TerminalBackend&) = delete;
    TerminalBackend& operator=(const TerminalBackend&) = delete;

    void present(const Screen& screen, const CursorState& cursor) override;
    ReadResult read_key(Clock& clock, std::optional<Millis> wait) override;
    void tone(double frequency, double duration) override;
    bool colour() const override;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform::console
