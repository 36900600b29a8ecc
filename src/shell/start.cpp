#include "shell/start.h"

#include <unistd.h>

#include <iostream>
#include <memory>

#include "common/console.h"
#include "common/help.h"
#include "common/kalk.h"
#include "data/rows.h"
#include "data/engine.h"
#include "platform/console/clock.h"
#include "platform/console/terminal.h"
#include "platform/text/cp852.h"
#include "shell/shutdown.h"

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
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
        std::cerr << "sklad: run me in a terminal of at least 80 x 25\n";
        return 2;
    }
    std::unique_ptr<platform::console::Console> console;
    try {
        console = std::make_unique<platform::console::Console>(std::make_unique<platform::console::TerminalBackend>(),
                                                               std::make_unique<platform::console::RealClock>());
    } catch (const std::exception& e) {
        std::cerr << "sklad: " << e.what() << "\n";
        return 2;
    }
    INSTALL_CONSOLE(console.get());
    // A signal or a lost terminal ends the work in order: the slot is released, the tables closed.
    USTAW_KONIEC_SYGNALEM();
    SETKEY(K_ALT_K, KALK);
    SETKEY(K_F1, HELP);
    INSTALL_WORKAREA_ROWS();
    int code = 0;
    try {
        code = SKLAD_START(platform::text::from_utf8(cl.argument));
    } catch (const std::exception& e) {
        // Whatever escaped every screen: the tables are closed and the reason kept for the log.
        DBCLOSEALL();
        INSTALL_CONSOLE(nullptr);
        console.reset();
        std::cerr << "sklad: " << e.what() << "\n";
        return 1;
    }
    INSTALL_CONSOLE(nullptr);
    return code;
}

}  // namespace sklad
