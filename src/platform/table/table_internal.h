#pragma once
// Parts of the Table shared by its source files. Internal to the table engine.

#include "platform/table/table.h"

namespace platform::table {

struct Table::OpenIndex {
    std::unique_ptr<NtxFile> file;
    KeyFunction key;
    std::unique_ptr<Expression> expr;  // owner of what `key` evaluates, when compiled from text
};

}  // namespace platform::table
