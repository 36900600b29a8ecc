#pragma once
// The headless backend of the tests: the screen stays in memory, keys come from a queue, and time
// passes on the clock only when the program waits (a virtual clock then never sleeps).

#include <deque>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/console/backend.h"

namespace platform::console {

// The program waited for a key without a time limit and the queue was empty: the test gave too few
// keys. Thrown instead of hanging.
class KeysExhausted : public std::runtime_error {
  public:
    KeysExhausted() : std::runtime_error("the program waits for a key and no more keys were given") {}
};

class HeadlessBackend final : public Backend {
  public:
    struct Tone {
        double frequency;
        double duration;
    };

    void present(const Screen&, const CursorState& cursor) override;
    ReadResult read_key(Clock& clock, std::optional<Millis> wait) override;
    void tone(double frequency, double duration) override { tones_.push_back({frequency, duration}); }
    bool colour() const override { return colour_; }

    // Queue input: a key; a pause during which no key arrives; an orderly-end request.
    void push_key(int key) { queue_.push_back({Entry::Key, key, Millis{0}}); }
    void push_pause(Millis d) { queue_.push_back({Entry::Pause, 0, d}); }
    void push_end(int signal) { queue_.push_back({Entry::End, signal, Millis{0}}); }
    std::size_t pending() const { return queue_.size(); }
    void clear_queue() { queue_.clear(); }

    const std::vector<Tone>& tones() const { return tones_; }
    int presents() const { return presents_; }
    const CursorState& cursor() const { return cursor_; }
    void set_colour(bool on) { colour_ = on; }

  private:
    struct Entry {
        enum Kind { Key, Pause, End } kind;
        int value;
        Millis pause;
    };
    std::deque<Entry> queue_;
    std::vector<Tone> tones_;
    CursorState cursor_;
    int presents_ = 0;
    bool colour_ = true;
};

}  // namespace platform::console
