#pragma once
// Rules shared by the function catalogue (static widths) and the evaluator (run-time values).

#include <utility>

namespace platform::table::detail {

// SUBSTR(s, start, count) on a text of `length` bytes: {offset, bytes}. A start of 0 counts as
// 1, a negative start counts from the end; counts past the end are cut.
std::pair<int, int> substr_range(int length, int start, bool has_count, int count);

}  // namespace platform::table::detail
