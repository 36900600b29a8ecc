#pragma once
// Another copy of the program, as a real process: it holds a table open, a record or the table
// lock until it lets go or is killed, so tests see what other workstations cause.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "platform/table/table.h"

namespace sklad::testing {

// A process holding a lock on `file` (record 1, the table, or just a shared or exclusive open) until
// it is told to let go or killed; the constructor returns once the child holds it.
class Holder {
  public:
    enum What { Record, Table, Shared, Exclusive };
    Holder(const std::filesystem::path& file, What what, double release_after = -1) {
        int ready[2];
        if (pipe(ready) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            try {
                platform::table::Table t(file, what == Exclusive ? platform::table::OpenMode::Exclusive
                                                                 : platform::table::OpenMode::Shared);
                if (what == Record) t.lock_record(1);
                if (what == Table) t.lock_table();
                if (write(ready[1], "x", 1) != 1) _exit(2);
                if (release_after >= 0) {
                    usleep(static_cast<useconds_t>(release_after * 1e6));
                    t.unlock();
                }
                pause();
            } catch (...) {
                _exit(3);
            }
            _exit(0);
        }
        close(ready[1]);
        char c;
        if (read(ready[0], &c, 1) != 1) throw std::runtime_error("holder did not start");
        close(ready[0]);
    }
    Holder(const std::filesystem::path& file, platform::table::OpenMode mode)
        : Holder(file, mode == platform::table::OpenMode::Exclusive ? Exclusive : Shared) {}
    ~Holder() {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }

  private:
    pid_t pid_;
};

}  // namespace sklad::testing
