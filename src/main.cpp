#include <string>
#include <vector>

#include "shell/start.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return sklad::SKLAD_MAIN(args);
}
