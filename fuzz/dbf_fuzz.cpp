// Fuzz target: the DBF reader. Any bytes must open as a table or fail with a TableError;
// reading, navigating and changing an opened table must not crash.
#include <cstdint>

#include "fuzz_files.h"
#include "platform/table/table.h"

using namespace platform;
using namespace platform::table;

namespace {

void write_seeds(const std::filesystem::path& dir) {
    const std::filesystem::path p = dir / "seed.dbf";
    Table::create(p, {{"MAG", FieldType::Character, 1, 0},
                      {"NAZWA", FieldType::Character, 12, 0},
                      {"ILOSC", FieldType::Numeric, 10, 3},
                      {"DATA", FieldType::Date, 8, 0},
                      {"OK", FieldType::Logical, 1, 0}});
    Table t(p, OpenMode::Exclusive);
    for (int i = 0; i < 3; ++i) {
        t.append_blank();
        t.put("NAZWA", std::string("item ") + char('A' + i));
        t.put("ILOSC", Decimal(i * 7) / Decimal(4));
        t.put("DATA", Date::from_ymd(2024, 1 + i, 10));
        t.put("OK", i % 2 == 0);
        if (i == 1) t.delete_record();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* dir = seed_folder()) write_seeds(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    MemFile f("fuzz.dbf", data, size);
    try {
        Table t(f.path(), OpenMode::Exclusive);
        t.set_hide_deleted(false);
        int steps = 0;
        for (t.go_top(); !t.eof() && steps < 200; t.skip(), ++steps)
            for (int i = 0; i < t.field_count(); ++i) (void)t.get(i);
        t.go_bottom();
        t.skip(-1);
        if (t.append_blank()) {
            for (int i = 0; i < t.field_count(); ++i) t.put(i, Value{});
            t.delete_record();
        }
        t.pack();
    } catch (const TableError&) {
        // a refused file is the expected outcome for most inputs
    }
    return 0;
}
