#include "platform/printer/command.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace platform::printer {

namespace {

class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

  private:
    int fd_;
};

class SpawnActions {
  public:
    SpawnActions() { posix_spawn_file_actions_init(&a_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&a_); }
    posix_spawn_file_actions_t* get() { return &a_; }

  private:
    posix_spawn_file_actions_t a_;
};

class SpawnAttr {
  public:
    SpawnAttr() { posix_spawnattr_init(&a_); }
    ~SpawnAttr() { posix_spawnattr_destroy(&a_); }
    posix_spawnattr_t* get() { return &a_; }

  private:
    posix_spawnattr_t a_;
};

}  // namespace

CommandResult run_command(const std::vector<std::string>& argv, const CommandOptions& options) {
    CommandResult result;
    if (argv.empty() || argv[0].empty()) {
        result.error = "no program given";
        return result;
    }
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        result.error = std::string("pipe: ") + std::strerror(errno);
        return result;
    }
    Fd read_end(fds[0]), write_end(fds[1]);

    SpawnActions actions;
    posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(actions.get(), write_end.get(), 1);
    posix_spawn_file_actions_adddup2(actions.get(), write_end.get(), 2);
    // Open tables hold byte-range locks through their descriptors; the program gets none.
    posix_spawn_file_actions_addclosefrom_np(actions.get(), 3);
    std::string dir = options.working_directory.string();
    if (!dir.empty()) posix_spawn_file_actions_addchdir_np(actions.get(), dir.c_str());
    SpawnAttr attr;
    posix_spawnattr_setflags(attr.get(), POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(attr.get(), 0);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(attr.get(), &none);
    posix_spawnattr_setsigdefault(attr.get(), &all);

    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid;
    int rc = posix_spawnp(&pid, args[0], actions.get(), attr.get(), args.data(), environ);
    write_end.reset();
    if (rc != 0) {
        result.error = "cannot run " + argv[0] + ": " + std::strerror(rc);
        return result;
    }
    result.started = true;

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + options.time_limit;
    auto remaining_ms = [&] {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        return static_cast<int>(std::max<long long>(0, std::min<long long>(left, 1000)));
    };

    // Read until the output closes, then wait for the program, all within the limit.
    char buf[4096];
    bool open = true;
    while (open && Clock::now() < deadline) {
        pollfd p{read_end.get(), POLLIN, 0};
        int r = poll(&p, 1, remaining_ms());
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) continue;
        ssize_t n = ::read(read_end.get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            open = false;
            break;
        }
        std::size_t room = options.output_limit - std::min(options.output_limit, result.output.size());
        result.output.append(buf, std::min<std::size_t>(room, static_cast<std::size_t>(n)));
    }
    int status = 0;
    for (;;) {
        pid_t w = waitpid(pid, &status, WNOHANG);
        if (w == pid) break;
        if (w < 0 && errno != EINTR) {
            result.error = std::string("waitpid: ") + std::strerror(errno);
            return result;
        }
        if (Clock::now() >= deadline) {
            result.timed_out = true;
            kill(-pid, SIGKILL);
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    if (result.timed_out) result.error = argv[0] + " did not finish in time";
    return result;
}

}  // namespace platform::printer
