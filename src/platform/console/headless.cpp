#include "platform/console/headless.h"

namespace platform::console {

void HeadlessBackend::present(const Screen&, const CursorState& cursor) {
    ++presents_;
    cursor_ = cursor;
}

ReadResult HeadlessBackend::read_key(Clock& clock, std::optional<Millis> wait) {
    Millis waited{0};
    while (true) {
        if (queue_.empty()) {
            if (!wait) throw KeysExhausted();
            clock.sleep(*wait - waited);
            return ReadResult::timeout();
        }
        Entry& e = queue_.front();
        switch (e.kind) {
            case Entry::Key: {
                int k = e.value;
                queue_.pop_front();
                return ReadResult::of_key(k);
            }
            case Entry::End:
                // Stays queued: like a terminal that has gone, every later wait sees it too.
                return ReadResult::end(e.value);
            case Entry::Pause:
                if (wait && e.pause >= *wait - waited) {
                    Millis left = *wait - waited;
                    clock.sleep(left);
                    e.pause -= left;
                    if (e.pause.count() == 0) queue_.pop_front();
                    return ReadResult::timeout();
                }
                clock.sleep(e.pause);
                waited += e.pause;
                queue_.pop_front();
                break;
        }
    }
}

}  // namespace platform::console
