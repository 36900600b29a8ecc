// A copy of the program reduced to its registration, for tests that run many real copies on one
// folder:  station_driver FOLDER [ARGUMENT]
//
// It registers (IN_NET) on a console without a terminal, hands the firm table back for shared
// use as the catalogue does, and writes what happened to its standard output:
//   MSG <text>        each message window shown
//   ROW20 <text>, ROW21 <text>
//   INDEKSOWAC 0|1
//   STACJA <number>   0 when the copy had to end
//   READY
// Then it reads commands, one a line: "out" releases the workstation and exits 0 (after "DONE");
// "wait" waits for a key, so SIGTERM or SIGHUP ends it through the console's end hook; "quit"
// (or the end of the input) exits without releasing anything, as a crash would.
//
// Waits are shortened to at most 10 ms each while the clock counts them in full, so lock retries
// still spread out in real time and a 5-second message costs nothing.

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <string>

#include "data/catalogue.h"
#include "data/session.h"
#include "platform/text/cp852.h"
#include "shell/shutdown.h"
#include "shell/workstation.h"
#include "station_console.h"

namespace {

namespace pc = platform::console;

class QuickClock final : public pc::Clock {
  public:
    pc::LocalTime now() const override { return real_.now() + skipped_; }
    pc::Millis ticks() const override { return real_.ticks() + skipped_; }
    void sleep(pc::Millis d) override {
        const pc::Millis step = std::min(d, pc::Millis{10});
        real_.sleep(step);
        skipped_ += d - step;
    }

  private:
    pc::RealClock real_;
    pc::Millis skipped_{0};
};

int g_wake[2] = {-1, -1};

extern "C" void on_end_signal(int sig) {
    const unsigned char b = static_cast<unsigned char>(sig);
    ssize_t ignored = ::write(g_wake[1], &b, 1);
    (void)ignored;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: station_driver FOLDER [ARGUMENT]\n";
        return 2;
    }
    if (::chdir(argv[1]) != 0) {
        std::cerr << "station_driver: cannot enter " << argv[1] << "\n";
        return 2;
    }
    const std::string argument = argc == 3 ? argv[2] : "";

    sklad::testing::StationConsole console(std::make_unique<QuickClock>());
    if (::pipe(g_wake) != 0) return 2;
    console.backend().wake_on(g_wake[0]);
    struct sigaction sa {};
    sa.sa_handler = on_end_signal;
    sigemptyset(&sa.sa_mask);
    for (int s : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(s, &sa, nullptr);
    sklad::USTAW_KONIEC_SYGNALEM();

    const int number = sklad::IN_NET(argument);
    if (number > 0) sklad::ODDAJ_FIRMA();  // as the catalogue does once the period is open

    for (const std::string& m : console.messages()) std::cout << "MSG " << m << "\n";
    std::cout << "ROW20 " << console.row(20) << "\n";
    std::cout << "ROW21 " << console.row(21) << "\n";
    std::cout << "INDEKSOWAC " << (sklad::INDEKSOWAC ? 1 : 0) << "\n";
    std::cout << "STACJA " << number << "\n";
    std::cout << "READY" << std::endl;

    for (std::string command; std::getline(std::cin, command);) {
        if (command == "out") {
            sklad::OUT_NET();
            std::cout << "DONE" << std::endl;
            return 0;
        }
        if (command == "wait") sklad::INKEY(0);
        if (command == "quit") break;
    }
    std::_Exit(number > 0 ? 0 : 1);
}
