#pragma once
// An in-memory row source for list tests: rows of text with a current position that may stand one
// past the last row, as a table's record pointer does.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/console/browse.h"

namespace platform::console::testing {

struct ListSource {
    std::vector<std::string> rows;
    long pos = 0;  // rows.size() = past the last row

    long size() const { return static_cast<long>(rows.size()); }
    const std::string& current() const {
        static const std::string blank;
        return pos < size() ? rows[static_cast<std::size_t>(pos)] : blank;
    }

    RowSource source() {
        RowSource s;
        s.go_top = [this] { pos = 0; };
        s.go_bottom = [this] { pos = std::max(size() - 1, 0L); };
        s.skip = [this](long n) {
            if (rows.empty() || n == 0) return 0L;
            if (n > 0 && pos >= size() - 1) return 0L;  // past the last row nothing follows
            long target = std::clamp(pos + n, 0L, size() - 1);
            long moved = target - pos;
            pos = target;
            return moved;
        };
        s.eof = [this] { return pos >= size(); };
        s.bof = [this] { return rows.empty(); };
        return s;
    }
};

inline std::vector<std::string> numbered_rows(int n, const std::string& prefix = "Row ") {
    std::vector<std::string> rows;
    for (int i = 1; i <= n; ++i) rows.push_back(prefix + (i < 10 ? "0" : "") + std::to_string(i));
    return rows;
}

}  // namespace platform::console::testing
