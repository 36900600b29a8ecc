#pragma once
// A private tmux server for end-to-end tests: start a program in a pane, type keys as a person
// would, read the screen back with capture-pane.

#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace sklad_test {

using namespace std::chrono_literals;

class Tmux {
  public:
    // Every test gets a server of its own: one being shut down cannot take the next one's commands.
    explicit Tmux(const std::string& name = "sklad_test")
        : socket_(name + "_" + std::to_string(::getpid()) + "_" + std::to_string(++count_)) {}
    ~Tmux() { run("kill-server"); }

    // Runs a tmux command on our private server; true when it succeeded.
    bool run(const std::string& args) const { return std::system((prefix() + args + " >/dev/null 2>&1").c_str()) == 0; }
    std::string output(const std::string& args) const {
        std::string out;
        if (FILE* p = ::popen((prefix() + args + " 2>/dev/null").c_str(), "r")) {
            char buf[4096];
            std::size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
            ::pclose(p);
        }
        return out;
    }
    // Starts `command` in a detached 90 x 30 pane.
    bool start(const std::string& command) const {
        return run("new-session -d -s demo -x 90 -y 30 '" + command + "'");
    }
    std::string screen() const { return output("capture-pane -p -t demo"); }
    std::string format(const std::string& f) const {
        std::string s = output("display-message -p -t demo '" + f + "'");
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        return s;
    }
    void keys(const std::string& names) const { run("send-keys -t demo " + names); }
    void type(const std::string& utf8) const { run("send-keys -t demo -l '" + utf8 + "'"); }

    // Polls the pane until `text` shows (the program runs in real time, in another process).
    bool wait_for(const std::string& text, std::chrono::milliseconds limit = 10s) const {
        auto until = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < until) {
            if (screen().find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }
    // The pid of the program the pane's shell runs.
    pid_t child_pid() const {
        std::string shell = format("#{pane_pid}");
        std::ifstream in("/proc/" + shell + "/task/" + shell + "/children");
        pid_t pid = 0;
        in >> pid;
        return pid;
    }

  private:
    static inline int count_ = 0;
    std::string socket_;
    std::string prefix() const { return "LC_ALL=C.UTF-8 tmux -L " + socket_ + " -f /dev/null "; }
};

// Whether tmux can be run here at all.
inline bool tmux_available() { return std::system("tmux -V >/dev/null 2>&1") == 0; }

}  // namespace sklad_test
