// Fuzz target: the spool-file reader of printing. Any bytes must give at least one page of
// runs that hold no control bytes and start within the line.
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "fuzz_files.h"
#include "platform/printer/spool.h"

using namespace platform::printer;

namespace {

void write_seeds(const std::filesystem::path& dir) {
    const char* samples[] = {
        "\x1b" "3\x1c\x1b!\x05" "FAKTURA VAT\r\n\x1b!!Nr 1/2024\x1b!\x05\r\nL\b/o\b'dz\b' z\b'dz\b'bl\b/o\r\n\f",
        "\x1b&l0O\x1b(10U\x1b(s0P\x1b(s20H\x1b(s10V\x1b(s0S\x1b(s0B\x1b(s4101T\x1b(s2Q\r\nNabywca   : x\r\n"
        "\x1b(s0p12h14v3B\x1b&d1Dbold\x1b&d@\x1b&l1O\f\x1bI;logo.bmp;0;0;600;300\r\nend",
    };
    int n = 0;
    for (const char* s : samples) {
        std::ofstream out(dir / ("seed" + std::to_string(n++) + ".prn"), std::ios::binary);
        out << s;
    }
}

void check(const SpoolDocument& doc) {
    if (doc.pages.empty()) std::abort();
    for (const Page& p : doc.pages)
        for (const Line& l : p.lines)
            for (const Run& r : l.runs) {
                if (r.x < 0 || r.text.empty() || !(r.style.cpi > 0) || !(r.style.points > 0)) std::abort();
                for (char c : r.text)
                    if (static_cast<unsigned char>(c) < 0x20) std::abort();
            }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* dir = seed_folder()) write_seeds(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    check(parse_spool(bytes));
    ParseOptions range;
    range.first_line = 2;
    range.last_line = 4;
    check(parse_spool(bytes, range));
    return 0;
}
