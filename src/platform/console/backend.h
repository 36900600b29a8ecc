#pragma once
// What the console needs from whatever shows the screen and delivers the keys: the terminal
// (ncursesw) for people, the headless backend for tests.

#include <optional>

#include "platform/console/clock.h"
#include "platform/console/screen.h"

namespace platform::console {

// Cursor shapes (the values SETCURSOR takes).
enum class CursorShape : int { None = 0, Normal = 1, Insert = 2, Special1 = 3, Special2 = 4 };

struct CursorState {
    int row = 0;
    int col = 0;
    CursorShape shape = CursorShape::Normal;
    bool visible() const { return shape != CursorShape::None && Screen::inside(row, col); }
};

struct ReadResult {
    enum class Kind { Key, Timeout, End };
    Kind kind = Kind::Timeout;
    int key = 0;     // Key
    int signal = 0;  // End: the signal that asked for an orderly end (SIGHUP also for a lost terminal)

    static ReadResult of_key(int k) { return {Kind::Key, k, 0}; }
    static ReadResult timeout() { return {}; }
    static ReadResult end(int sig) { return {Kind::End, 0, sig}; }
};

class Backend {
  public:
    virtual ~Backend() = default;

    // Shows the screen and the cursor as they are now.
    virtual void present(const Screen& screen, const CursorState& cursor) = 0;
    // Waits for one key: nullopt waits without limit, 0 only looks. Time passes through `clock`
    // where the backend does not wait on a device itself.
    virtual ReadResult read_key(Clock& clock, std::optional<Millis> wait) = 0;
    // A tone; `frequency` in Hz, `duration` in eighteenths of a second (the console does the waiting).
    virtual void tone(double frequency, double duration) = 0;
    // True when the display shows colours (false gives the monochrome choices of the screens).
    virtual bool colour() const { return true; }
};

}  // namespace platform::console
