#include "platform/console/keyboard.h"

#include <algorithm>

namespace platform::console {

Wait Wait::seconds(double s) {
    if (s < 0) return none();
    if (s == 0) return forever();
    return {seconds_to_millis(s)};
}

void Keyboard::stuff(std::string_view keys) {
    for (char c : keys) typeahead_.push_back(static_cast<unsigned char>(c));
}

HotKey Keyboard::set_key(int key, HotKey routine) {
    HotKey before = get_key(key);
    if (routine)
        hot_[key] = std::move(routine);
    else
        hot_.erase(key);
    return before;
}

HotKey Keyboard::get_key(int key) const {
    auto it = hot_.find(key);
    return it == hot_.end() ? HotKey{} : it->second;
}

std::optional<int> Keyboard::fetch(std::optional<Millis> wait) {
    if (!typeahead_.empty()) {
        int k = typeahead_.front();
        typeahead_.pop_front();
        return k;
    }
    ReadResult r = backend_.read_key(clock_, wait);
    switch (r.kind) {
        case ReadResult::Kind::Key: return r.key;
        case ReadResult::Kind::Timeout: return std::nullopt;
        case ReadResult::Kind::End:
            // The handler normally ends the process; if it returns (an end already under way) the
            // wait just reports no key.
            if (on_end_) on_end_(r.signal);
            return std::nullopt;
    }
    return std::nullopt;
}

int Keyboard::inkey(Wait wait, bool hot_keys) {
    std::optional<Millis> deadline;
    if (wait.limit) deadline = clock_.ticks() + *wait.limit;
    while (true) {
        std::optional<Millis> left;
        if (deadline) left = std::max(Millis{0}, *deadline - clock_.ticks());
        auto k = fetch(left);
        if (!k) return 0;
        last_ = *k;
        if (!hot_keys || running_.count(*k)) return *k;
        auto it = hot_.find(*k);
        if (it == hot_.end()) return *k;
        // A copy: the routine may rebind or unbind its own key while it runs.
        HotKey routine = it->second;
        struct Guard {
            std::set<int>& running;
            int key;
            ~Guard() { running.erase(key); }
        } guard{running_, *k};
        running_.insert(*k);
        routine();
    }
}

int Keyboard::nextkey() {
    if (typeahead_.empty()) {
        ReadResult r = backend_.read_key(clock_, Millis{0});
        if (r.kind == ReadResult::Kind::Key) typeahead_.push_back(r.key);
    }
    return typeahead_.empty() ? 0 : typeahead_.front();
}

}  // namespace platform::console
