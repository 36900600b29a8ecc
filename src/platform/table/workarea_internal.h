#pragma once
// Parts of WorkAreas shared by its source files. Internal to the table engine.

#include "platform/table/workarea.h"

namespace platform::table {

struct WorkAreas::Compiled {
    std::unique_ptr<Binder> binder;  // outlives expr, which calls it while evaluating
    std::unique_ptr<Expression> expr;
};

struct WorkAreas::Relation {
    int child = 0;
    std::string text;
    std::shared_ptr<Compiled> key;  // computed on the parent's record
};

struct WorkAreas::Area {
    std::unique_ptr<Table> table;
    std::string alias;
    uint64_t generation = 0;  // new for every open, so stale names are caught

    std::function<bool()> filter;
    std::string filter_text;
    std::vector<Relation> relations;

    // The last locate, for continue; `located` while the area stands on what it found.
    std::function<bool()> locate_for;
    std::function<bool()> locate_while;
    bool locate_known = false;
    bool located = false;
    uint32_t located_recno = 0;

    // Index key expressions compiled for turning seek values into key form, by order - 1.
    struct SeekKey {
        std::string text;
        std::unique_ptr<Expression> expr;
    };
    std::vector<SeekKey> seek_keys;
};

std::string upper_ascii(std::string_view s);

}  // namespace platform::table
