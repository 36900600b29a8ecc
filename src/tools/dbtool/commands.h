#pragma once
// The commands of dbtool. Each takes the words after the command name, writes its report to
// `out` and returns the exit code: 0 done, 1 the answer is "no" (no record has the key, a
// check found a problem). Failures throw: UsageError for a command line the tool cannot follow,
// the engine's errors for files it cannot use.

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/table/table.h"

namespace dbtool {

using Args = std::vector<std::string>;

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Exit codes besides 0 and 1.
inline constexpr int kExitUsage = 2;
inline constexpr int kExitError = 3;

int info(const Args& args, std::ostream& out);
int dump(const Args& args, std::ostream& out);
int seek(const Args& args, std::ostream& out);
int check(const Args& args, std::ostream& out);
int create(const Args& args, std::ostream& out);
int append(const Args& args, std::ostream& out);
int index(const Args& args, std::ostream& out);

// Shared by the reading commands: the field names over their columns, and one record a line
// (record number, '*' when deleted, then each field as UTF-8).
void print_heading(const platform::table::Table& t, std::ostream& out);
void print_record(const platform::table::Table& t, std::ostream& out);

}  // namespace dbtool
