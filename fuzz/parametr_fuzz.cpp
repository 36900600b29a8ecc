// Fuzz target: the reader of the settings file. Any bytes must parse without a crash, and what
// was read must be written and read back unchanged, with no problem reported.
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "fuzz_files.h"
#include "shell/parametr_file.h"

using namespace sklad;

namespace {

void write_seeds(const std::filesystem::path& dir) {
    std::vector<WpisParametru> entries = {{"J_VAT", 'C', 2, 0, "23"},
                                          {"J_NAZWA", 'C', 18, 0, " OBS\x9DUGA \"HURT\" \\ "},
                                          {"J_TEZ", 'N', 3, 0, "14"},
                                          {"J_UBYTEK", 'N', 3, 1, "2.5"},
                                          {"J_DATA", 'D', 8, 0, "20240115"},
                                          {"J_JEST", 'L', 1, 0, "T"}};
    std::ofstream(dir / "seed.mem", std::ios::binary) << PARAMETR_DO_TEKSTU(entries);
}

bool same(const WpisParametru& a, const WpisParametru& b) {
    return a.name == b.name && a.type == b.type && a.width == b.width && a.decimals == b.decimals &&
           a.value == b.value;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* dir = seed_folder()) write_seeds(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    TekstParametrow first = PARAMETR_Z_TEKSTU(std::string_view(reinterpret_cast<const char*>(data), size));
    TekstParametrow again = PARAMETR_Z_TEKSTU(PARAMETR_DO_TEKSTU(first.entries));
    if (!again.problems.empty() || again.entries.size() != first.entries.size()) std::abort();
    for (std::size_t i = 0; i < first.entries.size(); ++i)
        if (!same(first.entries[i], again.entries[i])) std::abort();
    return 0;
}
