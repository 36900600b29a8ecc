#pragma once
// Bringing a table to a new layout without putting its records at risk. The new table is built
// beside the old one (the table's name with the extension ".new", in its folder), forced to disk,
// and only then put in the old one's place by a rename, which happens whole or not at all: at
// every moment the table's own name holds a complete table. A leftover ".new" from an interrupted
// run is never the only copy of anything (its source is still in place), so the next upgrade
// starts it afresh; no copy is ever made under a shared name such as "xxx".

#include <functional>
#include <string>
#include <string_view>

#include "data/layouts.h"

namespace sklad {

// Whether `existing` lacks a field of `current`, or has one of the same type that is narrower
// (fewer characters, or fewer digits before or after the point).
bool LAYOUT_OLDER(const Fields& existing, const Fields& current);

struct UpgradeOptions {
    bool drop_deleted = false;     // leave records marked deleted out (otherwise they stay, marked)
    std::string also_append;       // a further table (program path) whose live records join
    std::function<void(long done, long total)> progress;  // records copied so far
};

// Rebuilds the table open exclusively in the selected area to the layout `structure` (whose path is
// the table's own), copying every record by field name. A field the table already has wider than
// `structure` keeps its width, so no value is cut. Afterwards the table is open again, exclusively, in
// the same area under the same alias, with no index open; its index files must be rebuilt. False
// after "Plik <path> niedostepny" when it cannot be done; the table is then as it was.
bool PRZEBUDUJ(std::string_view structure, const UpgradeOptions& options = {});

// For tests: called at each step of PRZEBUDUJ ("staged", "copying", "filled", "replaced").
void UPGRADE_STEP_HOOK(std::function<void(std::string_view step)> hook);

}  // namespace sklad
