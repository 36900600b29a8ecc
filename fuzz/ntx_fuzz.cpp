// Fuzz target: the NTX reader and maintenance over a sound table. Any bytes must open as an index
// or fail with a TableError; navigating, seeking, checking and changing must not crash or hang.
#include <cstdint>

#include "fuzz_files.h"
#include "platform/table/table.h"

using namespace platform;
using namespace platform::table;

namespace {

std::string table_bytes;  // the sound table every input is tried against

void make_table(const std::filesystem::path& dir) {
    const std::filesystem::path p = dir / "t.dbf";
    Table::create(p, {{"K", FieldType::Character, 10, 0}, {"N", FieldType::Numeric, 5, 0}});
    {
        Table t(p, OpenMode::Exclusive);
        for (int i = 0; i < 40; ++i) {
            t.append_blank();
            t.put("K", "k" + std::to_string(i * 37 % 40));
            t.put("N", Decimal(i));
        }
        if (seed_folder()) {
            t.create_index(std::filesystem::path(seed_folder()) / "seed.ntx", "k", [&t] { return std::get<std::string>(t.evaluated(0)); }, 10);
        }
    }
    table_bytes = read_all(p);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char tmpl[] = "/tmp/ntx-fuzz-XXXXXX";
    if (!::mkdtemp(tmpl)) std::abort();
    make_table(tmpl);
    std::filesystem::remove_all(tmpl);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    MemFile dbf("fuzz.dbf", reinterpret_cast<const uint8_t*>(table_bytes.data()), table_bytes.size());
    MemFile ntx("fuzz.ntx", data, size);
    try {
        Table t(dbf.path(), OpenMode::Exclusive);
        t.open_index(ntx.path(), [&t] { return std::get<std::string>(t.evaluated(0)); });
        t.set_order(1);
        int steps = 0;
        for (t.go_top(); !t.eof() && steps < 300; t.skip(), ++steps) {
        }
        for (t.go_bottom(); !t.bof() && steps < 600; t.skip(-1), ++steps) {
        }
        t.seek("k1");
        (void)t.verify_index(1);
        t.go_to(5);
        t.put("K", std::string("changed"));
        t.append_blank();
        t.put("K", std::string("k3"));
        t.flush();
        t.commit();
    } catch (const TableError&) {
        // a refused or damaged index is the expected outcome for most inputs
    }
    return 0;
}
