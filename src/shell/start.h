#pragma once
// The program's entry: the command line, the console, the start-up sequence and the main menu.

#include <string>
#include <string_view>
#include <vector>

namespace sklad {

// What the command line asked for: the program takes at most one argument.
struct CommandLine {
    bool ok = true;
    std::string argument;  // empty when none was given
    std::string error;     // why the command line was refused
};

CommandLine PARSE_COMMAND_LINE(const std::vector<std::string>& args);

// The start-up, the main menu and the end of work on the installed console; the exit code.
int SKLAD_START(std::string_view argument);

// Runs the program in the terminal; returns the process exit code.
int SKLAD_MAIN(const std::vector<std::string>& args);

}  // namespace sklad
