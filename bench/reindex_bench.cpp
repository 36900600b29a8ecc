// reindex_bench [scale] [folder]: a period folder with 100,000 stock cards, 1,000,000 document
// lines, 100,000 document headers and 200,000 settlement entries (times `scale`, default 1), made
// in `folder` (default: a new temporary folder, removed afterwards; a folder that already holds
// the period is used as it is, so runs can be repeated). Times the full rebuild
// (INIT_NTX) and a plain opening (INIT_DBF), and prints the rebuild beside the time it takes just
// to read every table byte once.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "data/access.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "platform/table/dbf.h"

namespace {

namespace fs = std::filesystem;
using namespace sklad;
using platform::table::DbfFile;
using platform::table::OpenMode;

uint64_t mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

std::string code(uint64_t i) {
    uint64_t v = static_cast<uint32_t>(i * 2654435761u);
    std::string s(8, '0');
    for (int k = 7; k >= 0; --k, v /= 36) s[std::size_t(k)] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[v % 36];
    return s;
}

std::string number(uint64_t n) {
    std::string s = std::to_string(n);
    return std::string(s.size() < 8 ? 8 - s.size() : 0, ' ') + s;
}

Decimal money(uint64_t h) { return Decimal::from_units(platform::Int128(h % 10000000) * 100000000); }

// Wall-clock and processor (user + system) seconds of a piece of work: on a busy machine the
// processor time is the steadier figure.
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

// Appends `count` records to a table made by the catalogue, each filled by `fill`.
void fill_table(const std::string& program_path, long count,
                const std::function<void(const platform::table::RecordLayout&, char*, long)>& fill) {
    DbfFile f(TABLE_FILE(program_path), OpenMode::Exclusive);
    const auto& layout = f.layout();
    std::string rec(layout.record_length(), ' ');
    for (long i = 0; i < count; ++i) {
        layout.blank(rec.data());
        fill(layout, rec.data(), i);
        f.append(rec.data());
    }
    f.commit();
}

void put(const platform::table::RecordLayout& l, char* rec, const char* field, const Value& v) {
    l.put(rec, l.index_of(field), v);
}

void generate(long scale) {
    const long cards = 100000 * scale, lines = 1000000 * scale, headers = 100000 * scale, entries = 200000 * scale;
    const Date first = Date::from_ymd(2024, 1, 1);
    fill_table("24\\01\\as", cards, [](const auto& l, char* r, long i) {
        put(l, r, "MAG", std::string(1, char('1' + i % 3)));
        put(l, r, "INDEKS", code(uint64_t(i)));
        put(l, r, "NAZWA", "TOWAR " + std::to_string(mix(uint64_t(i)) % 1000000));
        put(l, r, "ILOSC", money(mix(uint64_t(i) ^ 7)));
        put(l, r, "CENA0", money(mix(uint64_t(i) ^ 9)));
    });
    fill_table("24\\01\\dow", lines, [&](const auto& l, char* r, long i) {
        const uint64_t h = mix(uint64_t(i));
        put(l, r, "R_P", std::string(h % 2 ? "R" : "P"));
        put(l, r, "S_Z", std::string("S"));
        put(l, r, "RD", std::string(h % 3 ? "FV " : "WZ "));
        put(l, r, "NRD", number(uint64_t(i / 10 + 1)));
        put(l, r, "LP", number(uint64_t(i % 10 + 1)).substr(5));
        put(l, r, "DATA", first + int(h % 31));
        put(l, r, "MAG", std::string(1, char('1' + (h >> 8) % 3)));
        put(l, r, "INDEKS", code((h >> 16) % uint64_t(cards)));
        put(l, r, "ODB", "K" + std::to_string((h >> 20) % 5000));
        put(l, r, "ILOSC", money(h >> 24));
        put(l, r, "WARTOSC", money(h >> 28));
    });
    fill_table("24\\01\\dowod", headers, [&](const auto& l, char* r, long i) {
        const uint64_t h = mix(uint64_t(i) ^ 0x55);
        put(l, r, "R_P", std::string("R"));
        put(l, r, "S_Z", std::string("S"));
        put(l, r, "RD", std::string(i % 3 ? "FV " : "WZ "));
        put(l, r, "NRD", number(uint64_t(i + 1)));
        put(l, r, "DATA", first + int(h % 31));
        put(l, r, "ODB", "K" + std::to_string(h % 5000));
        put(l, r, "NODB", "KONTRAHENT " + std::to_string(h % 5000));
        put(l, r, "NETTO", money(h >> 8));
    });
    fill_table("24\\01\\fa_N", entries, [&](const auto& l, char* r, long i) {
        const uint64_t h = mix(uint64_t(i) ^ 0x77);
        put(l, r, "RD", std::string("FV "));
        put(l, r, "NRD", number(uint64_t(i + 1)));
        put(l, r, "DATA", first + int(h % 31));
        put(l, r, "MAG", std::string(h % 5 ? "1" : "0"));
        put(l, r, "TRESC", "WPLATA " + std::to_string(i));
        put(l, r, "KTO", std::string("O"));
        put(l, r, "ODB", "K" + std::to_string(h % 5000));
        put(l, r, (h >> 8) % 2 ? "OBWN" : "OBMA", money(h >> 12));
        put(l, r, "TERMIN", first + int(h % 60));
    });
}

// Reads every file once through a plain buffer; returns the bytes read.
uint64_t read_all(const std::vector<fs::path>& files) {
    std::vector<char> buf(1 << 20);
    uint64_t total = 0;
    for (const fs::path& p : files) {
        const int fd = ::open(p.c_str(), O_RDONLY);
        if (fd < 0) continue;
        for (ssize_t n; (n = ::read(fd, buf.data(), buf.size())) > 0;) total += uint64_t(n);
        ::close(fd);
    }
    return total;
}

std::vector<fs::path> tables() {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator("24/01"))
        if (e.path().extension() == ".dbf") out.push_back(e.path());
    return out;
}

long peak_megabytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

bool open_firm(bool exclusive) {
    RESET_WORKAREAS();
    DBSELECTAREA(1);
    return NET_USE("firma", "firma", exclusive, 1);
}

}  // namespace

int main(int argc, char** argv) {
    const long scale = argc > 1 ? std::max(1L, std::atol(argv[1])) : 1;
    fs::path folder;
    bool temporary = argc <= 2;
    if (temporary) {
        std::string pattern = (fs::temp_directory_path() / "reindex-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) return 1;
        folder = pattern;
    } else {
        folder = argv[2];
        fs::create_directories(folder);
    }
    const fs::path home = fs::current_path();
    fs::current_path(folder);

    STACJA = 1;
    Time made;
    if (!fs::exists("24/01/dow.dbf")) {
        TWORZ_FIRMA();
        if (!open_firm(true) || !ADD_REC(1)) return 2;
        FIELDPUT("BMR", std::string("01.24"));
        DBUNLOCK();
        if (!INIT_NTX()) return 3;  // the empty period, every table in its layout
        RESET_WORKAREAS();
        made = timed([&] { generate(scale); });
    }

    const std::vector<fs::path> files = tables();
    read_all(files);  // the same warm cache for every figure
    uint64_t bytes = 0;
    const Time read = timed([&] { bytes = read_all(files); });
    if (!open_firm(true)) return 4;
    bool ok = true;
    const Time rebuild = timed([&] { ok = INIT_NTX(); });
    if (!ok) return 5;
    if (!open_firm(false)) return 6;
    const Time opening = timed([&] { ok = INIT_DBF(); });
    if (!ok) return 7;
    RESET_WORKAREAS();

    std::printf("period 24/01: %ld cards, %ld lines, %ld headers, %ld entries, %.0f MB of tables", 100000 * scale,
                1000000 * scale, 100000 * scale, 200000 * scale, double(bytes) / 1e6);
    if (made.wall > 0) std::printf(" (made in %.1f s)", made.wall);
    std::printf("\n");
    std::printf("                          wall s    cpu s   wall/read  cpu/read\n");
    auto line = [&](const char* what, const Time& t) {
        std::printf("%-24s %8.3f %8.3f %9.1fx %8.1fx\n", what, t.wall, t.cpu, t.wall / read.wall, t.cpu / read.cpu);
    };
    line("read every table once", read);
    line("full rebuild (INIT_NTX)", rebuild);
    line("plain opening (INIT_DBF)", opening);
    std::printf("peak memory             %8ld MB\n", peak_megabytes());

    fs::current_path(home);
    if (temporary) fs::remove_all(folder);
    return 0;
}
