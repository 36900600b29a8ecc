#pragma once
// A real copy on a folder: the station driver (built next to the test runner) started as a child
// process, with what it reported after its registration.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace sklad::testing {

class Station {
  public:
    struct Report {
        int stacja = -1;
        bool indeksowac = false;
        std::vector<std::string> messages;
        std::string row20, row21;
        bool shown(const std::string& text) const {
            for (const std::string& m : messages)
                if (m == text) return true;
            return false;
        }
    };

    // Starts the driver; `wait` reads its report before returning.
    Station(const std::filesystem::path& folder, const std::string& argument = "",
            std::vector<std::pair<std::string, std::string>> env = {}, bool wait = true) {
        int in[2], out[2];
        if (::pipe(in) != 0 || ::pipe(out) != 0) throw std::runtime_error("pipe");
        const std::string driver = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "station_driver").string();
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            ::close(in[1]);
            ::close(out[0]);
            for (const auto& [name, value] : env) ::setenv(name.c_str(), value.c_str(), 1);
            const std::string dir = folder.string();
            if (argument.empty())
                ::execl(driver.c_str(), driver.c_str(), dir.c_str(), static_cast<char*>(nullptr));
            else
                ::execl(driver.c_str(), driver.c_str(), dir.c_str(), argument.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        to_ = ::fdopen(in[1], "w");
        from_ = ::fdopen(out[0], "r");
        if (wait) read_report();
    }
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;
    ~Station() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (to_) std::fclose(to_);
        if (from_) std::fclose(from_);
    }

    // Reads the lines up to READY.
    const Report& read_report() {
        for (std::string line; next_line(line) && line != "READY";) {
            auto after = [&](const char* tag) { return line.substr(std::string(tag).size()); };
            if (line.rfind("MSG ", 0) == 0) report_.messages.push_back(after("MSG "));
            if (line.rfind("ROW20 ", 0) == 0) report_.row20 = after("ROW20 ");
            if (line.rfind("ROW21 ", 0) == 0) report_.row21 = after("ROW21 ");
            if (line.rfind("INDEKSOWAC ", 0) == 0) report_.indeksowac = after("INDEKSOWAC ") == "1";
            if (line.rfind("STACJA ", 0) == 0) report_.stacja = std::stoi(after("STACJA "));
        }
        return report_;
    }
    const Report& report() const { return report_; }
    int stacja() const { return report_.stacja; }

    // Releases the workstation in order; the exit status.
    int release() { return command("out"); }
    // Ends without releasing anything, as a crash would.
    int quit() { return command("quit"); }
    // Waits for a key, then is sent `signal`; the exit status.
    int end_by(int signal) {
        send("wait");
        ::kill(pid_, signal);
        return reap();
    }
    void kill9() {
        ::kill(pid_, SIGKILL);
        reap();
    }

  private:
    pid_t pid_ = -1;
    FILE* to_ = nullptr;
    FILE* from_ = nullptr;
    Report report_;

    bool next_line(std::string& line) {
        line.clear();
        for (int c; (c = std::fgetc(from_)) != std::char_traits<char>::eof();) {
            if (c == '\n') return true;
            line += static_cast<char>(c);
        }
        return !line.empty();
    }
    void send(const char* text) {
        std::fprintf(to_, "%s\n", text);
        std::fflush(to_);
    }
    int command(const char* text) {
        send(text);
        return reap();
    }
    int reap() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
};

}  // namespace sklad::testing
