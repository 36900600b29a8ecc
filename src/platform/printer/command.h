#pragma once
// External programs (the mail sender and the like) run from an argument vector, never
// through a shell: whatever an operator typed arrives as one plain argument.

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace platform::printer {

struct CommandOptions {
    std::chrono::milliseconds time_limit{60000};  // then the program and its children are killed
    std::filesystem::path working_directory;      // empty: the current one
    std::size_t output_limit = 1 << 20;           // bytes of output kept; the rest is read and dropped
};

struct CommandResult {
    bool started = false;  // false: the program could not be run (`error` says why)
    bool timed_out = false;
    int exit_code = -1;  // when it ended by itself
    int signal = 0;      // the signal that ended it, if one did
    std::string output;  // standard output and standard error as they came
    std::string error;

    bool succeeded() const { return started && !timed_out && signal == 0 && exit_code == 0; }
};

// argv[0] is looked up on PATH unless it contains a slash. Standard input is empty; no
// descriptor of this process but the output pipe reaches the program.
CommandResult run_command(const std::vector<std::string>& argv, const CommandOptions& options = {});

}  // namespace platform::printer
