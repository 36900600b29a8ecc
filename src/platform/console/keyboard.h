#pragma once
// Key input with type-ahead and hot keys. Routines read the type-ahead buffer before the device;
// a key bound with set_key runs its routine from inside any wait, and the wait goes on.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string_view>

#include "platform/console/backend.h"
#include "platform/console/clock.h"

namespace platform::console {

using HotKey = std::function<void()>;

// How long inkey waits: forever, not at all, or a time.
struct Wait {
    std::optional<Millis> limit;  // nullopt = forever
    static Wait forever() { return {std::nullopt}; }
    static Wait none() { return {Millis{0}}; }
    // Seconds as INKEY takes them: 0 = forever, a negative number = do not wait.
    static Wait seconds(double s);
};

class Keyboard {
  public:
    Keyboard(Backend& backend, Clock& clock) : backend_(backend), clock_(clock) {}

    // Next key, 0 when the wait ran out. Hot keys met on the way run their routine (unless
    // `hot_keys` is false) and the wait continues up to the same deadline.
    int inkey(Wait wait, bool hot_keys = true);
    // The key inkey would return next, without taking it; 0 when none is waiting.
    int nextkey();
    int lastkey() const { return last_; }
    void set_lastkey(int k) { last_ = k; }

    // Type-ahead: appended keys are read before the device.
    void put(int key) { typeahead_.push_back(key); }
    // Each byte of `keys` as one key code (code page 852 bytes stay 0..255).
    void stuff(std::string_view keys);
    void clear() { typeahead_.clear(); }
    bool typeahead_empty() const { return typeahead_.empty(); }

    // Binds a routine to a key; an empty routine unbinds. Returns the routine bound before.
    HotKey set_key(int key, HotKey routine);
    HotKey get_key(int key) const;

    // Called when the backend reports an orderly end (a signal or a lost terminal) during a wait.
    void on_end(std::function<void(int signal)> handler) { on_end_ = std::move(handler); }

  private:
    Backend& backend_;
    Clock& clock_;
    std::deque<int> typeahead_;
    std::map<int, HotKey> hot_;
    std::set<int> running_;  // hot keys whose routine is running: not re-entered
    std::function<void(int)> on_end_;
    int last_ = 0;

    // One key from the buffer or the device within `wait`; nullopt on time-out.
    std::optional<int> fetch(std::optional<Millis> wait);
};

}  // namespace platform::console
