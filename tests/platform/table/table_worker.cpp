// Helper process for the concurrency tests: works on a table in a folder the way a copy of the
// program would, so that tests can run several real processes against one folder.
//   table_worker increment DIR CYCLES      lock, read, add one, write, unlock on records 1..10 in turn
//   table_worker append DIR COUNT ID       append COUNT records (W = ID, S = 1..COUNT) with both indexes open
//   table_worker hold DIR HOW              open c.dbf (HOW: shared, exclusive, lock3, table), say "ready",
//                                          and keep it until standard input closes
#include <sched.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/table/table.h"

using namespace platform;
using namespace platform::table;

namespace {

int increment(const std::string& dir, int cycles) {
    Table t(dir + "/c.dbf");
    for (int i = 0; i < cycles; ++i) {
        const uint32_t rec = uint32_t(i % 10 + 1);
        t.go_to(rec);
        while (!t.lock_record()) sched_yield();
        const auto n = std::get<Decimal>(t.get("N"));
        t.put("N", n + Decimal(1));
        t.unlock();
    }
    return 0;
}

int append(const std::string& dir, int count, const std::string& id) {
    Table t(dir + "/a.dbf");
    t.open_index(dir + "/a1.ntx");
    t.open_index(dir + "/a2.ntx");
    for (int i = 1; i <= count; ++i) {
        while (!t.append_blank()) sched_yield();
        t.put("W", id);
        t.put("S", Decimal(i));
        t.unlock();
    }
    t.commit();
    return 0;
}

int hold(const std::string& dir, const std::string& how) {
    Table t(dir + "/c.dbf", how == "exclusive" ? OpenMode::Exclusive : OpenMode::Shared);
    if (how == "lock3" && !t.lock_record(3)) return 3;
    if (how == "table" && !t.lock_table()) return 4;
    std::printf("ready\n");
    std::fflush(stdout);
    char c;
    while (::read(0, &c, 1) > 0) {
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: table_worker increment|append|hold DIR ...\n");
        return 2;
    }
    const std::string cmd = argv[1], dir = argv[2];
    try {
        if (cmd == "increment") return increment(dir, std::atoi(argv[3]));
        if (cmd == "append" && argc == 5) return append(dir, std::atoi(argv[3]), argv[4]);
        if (cmd == "hold") return hold(dir, argv[3]);
    } catch (const OpenConflict& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 5;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 2;
}
