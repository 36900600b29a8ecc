#pragma once
// The program's entry: run-time start-up and the outermost loop grow here.

#include <string>
#include <vector>

namespace sklad {

// What the command line asked for: the program takes at most one argument.
struct CommandLine {
    bool ok = true;
    std::string argument;  // empty when none was given
    std::string error;     // why the command line was refused
};

CommandLine PARSE_COMMAND_LINE(const std::vector<std::string>& args);

// Runs the program; returns the process exit code.
int SKLAD_MAIN(const std::vector<std::string>& args);

}  // namespace sklad
