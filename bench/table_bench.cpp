// table_bench N: the table engine against SQLite on the same work over a stock-card layout
// (warehouse C 1, code C 8, name C 30, quantity N 19.3, price N 16.6, date D): append N records,
// build the indexes "mag+indeks" and "nazwa", N random exact seeks, a walk of the whole table in
// index order, and N changes of an indexed field with index maintenance. SQLite works on disk,
// in one transaction per phase, with CREATE INDEX and prepared statements.
// Prints each figure, its ratio to SQLite's (below 1: the engine is faster) and peak memory.
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/table/table.h"

namespace {

namespace fs = std::filesystem;
using platform::Date;
using platform::Decimal;
using platform::FieldDef;
using platform::FieldType;
using platform::Value;
using platform::table::OpenMode;
using platform::table::Table;

// ---- the data: every value is a function of the record's ordinal, so seeks can name keys
// without keeping them.

uint64_t mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

char mag(uint32_t i) { return static_cast<char>('1' + i % 5); }

// 8 characters of base 36 of a bijection of i, so codes are distinct and scattered.
std::string code(uint32_t i) {
    uint64_t v = static_cast<uint32_t>(i * 2654435761u);
    std::string s(8, '0');
    for (int k = 7; k >= 0; --k, v /= 36) s[std::size_t(k)] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[v % 36];
    return s;
}

std::string name(uint32_t i) {
    static const char* const words[] = {"MAKA", "CUKIER", "SOL", "KAWA", "HERBATA", "RYZ", "OLEJ", "MLEKO",
                                        "SER", "MASLO", "CHLEB", "WODA", "SOK", "PIWO", "WINO", "OCET"};
    const uint64_t h = mix(i);
    std::string s = std::string(words[h % 16]) + " " + words[(h >> 8) % 16] + " " + std::to_string(h % 100000);
    s.resize(30, ' ');
    return s;
}

Decimal quantity(uint32_t i) { return Decimal::from_units(platform::Int128(mix(i ^ 0x51) % 100000000) * 10000000); }
Decimal price(uint32_t i) { return Decimal::from_units(platform::Int128(mix(i ^ 0xA7) % 10000000000ULL) * 10000); }
Date date(uint32_t i) { return Date::from_ymd(2024, 1, 1) + int(mix(i ^ 0x3C) % 366); }

// ---- measuring

// Wall-clock and processor (user + system) seconds of a piece of work. On a loaded machine the
// processor time is the steadier figure; the wall clock also counts waits for the disk.
struct Time {
    double wall = 0;
    double cpu = 0;
};

double cpu_seconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

Time timed(const std::function<void()>& work) {
    const auto t = std::chrono::steady_clock::now();
    const double c = cpu_seconds();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count(), cpu_seconds() - c};
}

long peak_mb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

struct Phase {
    explicit Phase(const char* w) : what(w) {}
    const char* what;
    Time engine;
    Time sqlite;
    long engine_peak_mb = 0;
};

// ---- the engine

void engine_run(const fs::path& dir, uint32_t n, std::vector<Phase>& phases, std::string& problems) {
    const std::vector<FieldDef> fields = {{"MAG", FieldType::Character, 1, 0},     {"INDEKS", FieldType::Character, 8, 0},
                                          {"NAZWA", FieldType::Character, 30, 0},  {"ILOSC", FieldType::Numeric, 19, 3},
                                          {"CENA", FieldType::Numeric, 16, 6},     {"DATA", FieldType::Date, 8, 0}};
    Table::create(dir / "as.dbf", fields);
    Table t(dir / "as.dbf", OpenMode::Exclusive);
    auto record = [&](Phase& p, const std::function<void()>& work) {
        p.engine = timed(work);
        p.engine_peak_mb = peak_mb();
    };
    record(phases[0], [&] {
        for (uint32_t i = 0; i < n; ++i) {
            t.append_blank();
            t.put(0, Value(std::string(1, mag(i))));
            t.put(1, Value(code(i)));
            t.put(2, Value(name(i)));
            t.put(3, Value(quantity(i)));
            t.put(4, Value(price(i)));
            t.put(5, Value(date(i)));
        }
        t.commit();
    });
    record(phases[1], [&] {
        t.create_index(dir / "as.ntx", "mag+indeks");
        t.commit();
    });
    record(phases[2], [&] {
        t.create_index(dir / "as2.ntx", "nazwa");
        t.commit();
    });
    t.set_order(1);
    record(phases[3], [&] {
        uint32_t missing = 0;
        Decimal sum;
        for (uint32_t k = 0; k < n; ++k) {
            const uint32_t i = static_cast<uint32_t>(mix(k) % n);
            if (!t.seek(std::string(1, mag(i)) + code(i))) ++missing;
            else sum += std::get<Decimal>(t.get(3));
        }
        if (missing) problems += "engine: " + std::to_string(missing) + " seeks missed\n";
    });
    record(phases[4], [&] {
        uint32_t seen = 0;
        for (t.go_top(); !t.eof(); t.skip()) ++seen;
        if (seen != n) problems += "engine: the walk saw " + std::to_string(seen) + " records\n";
    });
    record(phases[5], [&] {
        for (uint32_t k = 0; k < n; ++k) {
            const uint32_t i = static_cast<uint32_t>(mix(k ^ 0x77) % n);
            t.go_to(i + 1);
            t.put(1, Value(code(i + n)));
        }
        t.commit();
    });
    if (auto bad = t.verify_index(1)) problems += "engine: index mag+indeks after the changes: " + *bad + "\n";
}

// ---- SQLite

void check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string("SQLite, ") + what + ": " + sqlite3_errmsg(db));
}

struct Statement {
    sqlite3* db;
    sqlite3_stmt* s = nullptr;
    Statement(sqlite3* d, const char* sql) : db(d) { check(sqlite3_prepare_v2(d, sql, -1, &s, nullptr), d, sql); }
    ~Statement() { sqlite3_finalize(s); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
};

void exec(sqlite3* db, const char* sql) { check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db, sql); }

void sqlite_run(const fs::path& dir, uint32_t n, std::vector<Phase>& phases, std::string& problems) {
    sqlite3* db = nullptr;
    check(sqlite3_open((dir / "as.sqlite").c_str(), &db), db, "open");
    struct Close {
        sqlite3* db;
        ~Close() { sqlite3_close(db); }
    } close{db};
    exec(db, "CREATE TABLE as_(mag TEXT, indeks TEXT, nazwa TEXT, ilosc REAL, cena REAL, data TEXT)");
    phases[0].sqlite = timed([&] {
        exec(db, "BEGIN");
        Statement ins(db, "INSERT INTO as_ VALUES(?1, ?2, ?3, ?4, ?5, ?6)");
        for (uint32_t i = 0; i < n; ++i) {
            const std::string m(1, mag(i)), c = code(i), nm = name(i), d = date(i).dtos();
            sqlite3_bind_text(ins.s, 1, m.c_str(), 1, SQLITE_TRANSIENT);
            sqlite3_bind_text(ins.s, 2, c.c_str(), 8, SQLITE_TRANSIENT);
            sqlite3_bind_text(ins.s, 3, nm.c_str(), 30, SQLITE_TRANSIENT);
            sqlite3_bind_double(ins.s, 4, quantity(i).to_double());
            sqlite3_bind_double(ins.s, 5, price(i).to_double());
            sqlite3_bind_text(ins.s, 6, d.c_str(), 8, SQLITE_TRANSIENT);
            check(sqlite3_step(ins.s), db, "insert");
            sqlite3_reset(ins.s);
        }
        exec(db, "COMMIT");
    });
    phases[1].sqlite = timed([&] { exec(db, "CREATE INDEX as_1 ON as_(mag, indeks)"); });
    phases[2].sqlite = timed([&] { exec(db, "CREATE INDEX as_2 ON as_(nazwa)"); });
    phases[3].sqlite = timed([&] {
        Statement q(db, "SELECT rowid, ilosc FROM as_ WHERE mag = ?1 AND indeks = ?2");
        uint32_t missing = 0;
        double sum = 0;
        for (uint32_t k = 0; k < n; ++k) {
            const uint32_t i = static_cast<uint32_t>(mix(k) % n);
            const std::string m(1, mag(i)), c = code(i);
            sqlite3_bind_text(q.s, 1, m.c_str(), 1, SQLITE_TRANSIENT);
            sqlite3_bind_text(q.s, 2, c.c_str(), 8, SQLITE_TRANSIENT);
            if (sqlite3_step(q.s) == SQLITE_ROW) sum += sqlite3_column_double(q.s, 1);
            else ++missing;
            sqlite3_reset(q.s);
        }
        if (missing) problems += "SQLite: " + std::to_string(missing) + " seeks missed\n";
    });
    phases[4].sqlite = timed([&] {
        Statement q(db, "SELECT mag, indeks, nazwa, ilosc, cena, data FROM as_ ORDER BY mag, indeks");
        uint32_t seen = 0;
        while (sqlite3_step(q.s) == SQLITE_ROW) ++seen;
        if (seen != n) problems += "SQLite: the walk saw " + std::to_string(seen) + " records\n";
    });
    phases[5].sqlite = timed([&] {
        exec(db, "BEGIN");
        Statement up(db, "UPDATE as_ SET indeks = ?1 WHERE rowid = ?2");
        for (uint32_t k = 0; k < n; ++k) {
            const uint32_t i = static_cast<uint32_t>(mix(k ^ 0x77) % n);
            const std::string c = code(i + n);
            sqlite3_bind_text(up.s, 1, c.c_str(), 8, SQLITE_TRANSIENT);
            sqlite3_bind_int64(up.s, 2, i + 1);
            check(sqlite3_step(up.s), db, "update");
            sqlite3_reset(up.s);
        }
        exec(db, "COMMIT");
    });
}

}  // namespace

int main(int argc, char** argv) {
    const long arg = argc > 1 ? std::atol(argv[1]) : 100000;
    if (arg < 1 || arg > 100000000) {
        std::fprintf(stderr, "usage: table_bench N [--engine-only]   (1 to 100000000 records; the option is for profiling)\n");
        return 2;
    }
    const uint32_t n = static_cast<uint32_t>(arg);
    const bool engine_only = argc > 2 && std::string(argv[2]) == "--engine-only";
    std::string pattern = (fs::temp_directory_path() / "table_bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("table_bench: mkdtemp");
        return 1;
    }
    const fs::path dir = pattern;
    std::vector<Phase> phases = {Phase("append N records"),      Phase("index \"mag+indeks\""), Phase("index \"nazwa\""),
                                 Phase("N random exact seeks"), Phase("walk in index order"),  Phase("change N indexed fields")};
    std::string problems;
    int rc = 0;
    try {
        const long before = peak_mb();
        engine_run(dir, n, phases, problems);
        const long engine_peak = peak_mb();
        if (!engine_only) sqlite_run(dir, n, phases, problems);

        std::printf("table_bench: N = %u, files in %s\n\n", n, dir.c_str());
        std::printf("%-26s %21s %21s %13s %6s\n", "", "engine s", "SQLite s", "ratio", "peak");
        std::printf("%-26s %10s %10s %10s %10s %6s %6s %6s\n", "", "wall", "cpu", "wall", "cpu", "wall", "cpu", "RSS MB");
        Time te, ts;
        auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
        for (const Phase& p : phases) {
            std::printf("%-26s %10.3f %10.3f %10.3f %10.3f %6.2f %6.2f %6ld\n", p.what, p.engine.wall, p.engine.cpu, p.sqlite.wall,
                        p.sqlite.cpu, ratio(p.engine.wall, p.sqlite.wall), ratio(p.engine.cpu, p.sqlite.cpu), p.engine_peak_mb);
            te.wall += p.engine.wall;
            te.cpu += p.engine.cpu;
            ts.wall += p.sqlite.wall;
            ts.cpu += p.sqlite.cpu;
        }
        std::printf("%-26s %10.3f %10.3f %10.3f %10.3f %6.2f %6.2f\n", "total", te.wall, te.cpu, ts.wall, ts.cpu, ratio(te.wall, ts.wall),
                    ratio(te.cpu, ts.cpu));
        std::printf("\nratio = engine time / SQLite time (below 1: the engine is faster); cpu = user + system time\n");
        std::printf("peak memory: %ld MB at start, %ld MB after the engine's phases, %ld MB after SQLite's\n", before, engine_peak,
                    peak_mb());
        std::printf("index builds sort keys within a fixed budget of %zu MB (runs spill to temporary files beyond it),\n"
                    "so their memory is bounded whatever the table size\n",
                    platform::table::kDefaultBuildMemory >> 20);
        std::printf("files: table %.1f MB, indexes %.1f + %.1f MB; SQLite %.1f MB\n", fs::file_size(dir / "as.dbf") / 1048576.0,
                    fs::file_size(dir / "as.ntx") / 1048576.0, fs::file_size(dir / "as2.ntx") / 1048576.0,
                    engine_only ? 0.0 : fs::file_size(dir / "as.sqlite") / 1048576.0);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "table_bench: %s\n", e.what());
        rc = 1;
    }
    if (!problems.empty()) {
        std::fprintf(stderr, "table_bench: wrong results:\n%s", problems.c_str());
        rc = 1;
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return rc;
}
