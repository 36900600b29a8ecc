#include "shell/start.h"

#include <iostream>

namespace sklad {

CommandLine PARSE_COMMAND_LINE(const std::vector<std::string>& args) {
    CommandLine cl;
    if (args.size() > 1) {
        cl.ok = false;
        cl.error = "sklad: at most one argument is accepted";
        return cl;
    }
    if (!args.empty()) cl.argument = args.front();
    return cl;
}

int SKLAD_MAIN(const std::vector<std::string>& args) {
    CommandLine cl = PARSE_COMMAND_LINE(args);
    if (!cl.ok) {
        std::cerr << cl.error << "\n";
        return 2;
    }
    return 0;
}

}  // namespace sklad
