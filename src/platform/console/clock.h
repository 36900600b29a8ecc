#pragma once
// One clock for "now", "today" and every wait. The real clock reads the computer's local time and
// sleeps; the virtual clock of the tests stands still until the program waits, then jumps forward.

#include <chrono>
#include <string>

#include "platform/value/value.h"

namespace platform::console {

using Millis = std::chrono::milliseconds;
// Local wall-clock time (no time zone arithmetic is ever needed on it).
using LocalTime = std::chrono::local_time<Millis>;

class Clock {
  public:
    virtual ~Clock() = default;
    // Local date and time of day.
    virtual LocalTime now() const = 0;
    // Monotonic milliseconds for measuring waits (not affected by clock changes).
    virtual Millis ticks() const = 0;
    // Waits without watching the keyboard (lock retries, a tone's duration).
    virtual void sleep(Millis d) = 0;

    platform::Date today() const;
    std::string time_of_day() const;  // "hh:mm:ss"
    double seconds() const;           // seconds since midnight, with fractions
};

class RealClock final : public Clock {
  public:
    LocalTime now() const override;
    Millis ticks() const override;
    void sleep(Millis d) override;
};

class VirtualClock final : public Clock {
  public:
    // Starts at 2024-01-15 08:00:00 unless told otherwise.
    VirtualClock();
    explicit VirtualClock(LocalTime start) : now_(start) {}
    VirtualClock(platform::Date day, int hour = 8, int minute = 0, int second = 0);

    LocalTime now() const override { return now_; }
    Millis ticks() const override { return elapsed_; }
    void sleep(Millis d) override { advance(d); }

    void advance(Millis d);
    void set(LocalTime t) { now_ = t; }
    // Total time the program has waited.
    Millis elapsed() const { return elapsed_; }

  private:
    LocalTime now_;
    Millis elapsed_{0};
};

// Seconds (fractions allowed) to milliseconds, rounded.
Millis seconds_to_millis(double seconds);

}  // namespace platform::console
