#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "platform/table/ntx.h"
#include "table_fixture.h"

namespace platform::table::testing {
namespace {

using Entries = std::vector<NtxEntry>;

Entries walk(const fs::path& ntx) {
    Entries out;
    NtxFile f(ntx, false, true);
    f.walk([&](const NtxEntry& e) { out.push_back(e); });
    return out;
}

Entries sorted(Entries e) {
    std::sort(e.begin(), e.end(), [](const NtxEntry& a, const NtxEntry& b) {
        return a.key != b.key ? a.key < b.key : a.recno < b.recno;
    });
    return e;
}

std::string random_code(std::mt19937& rng, int width, int alphabet) {
    std::string s;
    for (int i = 0; i < width; ++i) s += static_cast<char>('A' + rng() % alphabet);
    return s;
}

const std::vector<FieldDef> kItems = {
    {"MAG", FieldType::Character, 1, 0}, {"INDEKS", FieldType::Character, 8, 0}, {"NAZWA", FieldType::Character, 60, 0}};

class NtxTest : public TableTest {};

TEST_F(NtxTest, BulkBuildGivesTheSortedKeysInAnyMemoryBudget) {
    struct Case {
        int records;
        std::size_t memory;  // a small budget sorts in runs on disk and merges them
    };
    for (const Case c : {Case{0, kDefaultBuildMemory}, Case{1, kDefaultBuildMemory}, Case{52, kDefaultBuildMemory},
                         Case{53, kDefaultBuildMemory}, Case{3000, kDefaultBuildMemory}, Case{20000, 1 << 16}}) {
        SCOPED_TRACE(c.records);
        TempDir d;
        Table::create(d / "as.dbf", kItems);
        Table t(d / "as.dbf", OpenMode::Exclusive);
        std::mt19937 rng(c.records);
        Entries expect;
        for (int i = 1; i <= c.records; ++i) {
            ASSERT_TRUE(t.append_blank());
            const std::string mag(1, static_cast<char>('1' + rng() % 3));
            const std::string code = random_code(rng, 8, 4);  // repeats are common
            t.put("MAG", mag);
            t.put("INDEKS", code);
            expect.push_back({mag + code, uint32_t(i)});
        }
        IndexOptions opt;
        opt.build_memory = c.memory;
        t.create_index(d / "as.ntx", "mag+indeks", opt);
        t.commit();
        EXPECT_EQ(walk(d / "as.ntx"), sorted(expect));
        EXPECT_EQ(t.verify_index(1), std::nullopt);
    }
}

TEST_F(NtxTest, HeaderFollowsTheStandardLayout) {
    Table::create(file("as.dbf"), kItems);
    Table t(file("as.dbf"), OpenMode::Exclusive);
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(t.append_blank());
        t.put("INDEKS", std::to_string(1000 + i));
    }
    t.create_index(file("as.ntx"), "mag+indeks");
    t.commit();
    const std::string b = read_file(file("as.ntx"));
    auto u16 = [&](std::size_t at) { return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8; };
    auto u32 = [&](std::size_t at) { return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16; };
    EXPECT_EQ(b.size() % 1024, 0u);
    EXPECT_EQ(u16(0), 6);        // signature
    EXPECT_EQ(u16(12), 9 + 8);   // item size
    EXPECT_EQ(u16(14), 9);       // key size
    EXPECT_EQ(u16(18), 52);      // items per page: (1020 / (9 + 10)) - 1, even
    EXPECT_EQ(u16(20), 26);      // half page
    EXPECT_EQ(b.substr(22, 11), std::string("mag+indeks\0", 11));
    EXPECT_EQ(u32(4) % 1024, 0u);  // root page
    EXPECT_LT(u32(4), b.size());
    // The root is a branch page: its first item points to a page and carries a record and key.
    const std::size_t root = u32(4);
    const std::size_t item = u16(root + 2);
    EXPECT_GT(u16(root), 0);
    EXPECT_NE(u32(root + item), 0u);
    EXPECT_GE(u32(root + item + 4), 1u);
}

TEST_F(NtxTest, IndependentReaderReadsOurIndex) {
    Table::create(file("as.dbf"), kItems);
    Table t(file("as.dbf"), OpenMode::Exclusive);
    std::mt19937 rng(7);
    for (int i = 0; i < 400; ++i) {
        ASSERT_TRUE(t.append_blank());
        t.put("MAG", std::string(1, static_cast<char>('1' + rng() % 2)));
        t.put("INDEKS", random_code(rng, 6, 5));
    }
    t.create_index(file("as.ntx"), "mag+indeks");
    // Some maintenance too, so that split pages are read as well as bulk-built ones.
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(t.append_blank());
        t.put("INDEKS", random_code(rng, 6, 5));
    }
    t.commit();
    write_file(file("read.pl"),
               "use XBase::Index;\n"
               "my $i = new XBase::Index '" + file("as.ntx").string() + "', 'type' => 'C' or die XBase::Index->errstr;\n"
               "$i->prepare_select;\n"
               "while (my ($k, $r) = $i->fetch) { print \"$k|$r\\n\"; }\n");
    int status = -1;
    const std::string out = run("perl " + file("read.pl").string() + " 2>&1", &status);
    ASSERT_EQ(status, 0) << out;
    std::string expect;
    for (const auto& e : walk(file("as.ntx"))) expect += e.key + "|" + std::to_string(e.recno) + "\n";
    EXPECT_EQ(walk(file("as.ntx")).size(), 700u);
    EXPECT_EQ(out, expect);
}

// The tree alone, against a model: long keys (8 items a page) so that every insert and removal
// meets splits, borrowing and merging, and a cache of a few pages so that pages are evicted
// (and, with exclusive use, written back early) all the time.
TEST_F(NtxTest, TreeInsertsAndRemovesMatchAModel) {
    for (bool exclusive : {true, false}) {
        SCOPED_TRACE(exclusive);
        const fs::path path = file(exclusive ? "x.ntx" : "s.ntx");
        NtxBuilder empty(NtxInfo{"k", 100, 0, false});
        NtxFile::create(path, empty);
        std::set<std::pair<std::string, uint32_t>> model;
        std::size_t peak = 0;
        std::mt19937 rng(exclusive ? 1 : 2);
        {
            NtxFile f(path, exclusive, false);
            f.set_cache_limit(4);
            for (int op = 0; op < 6000; ++op) {
                std::string key = random_code(rng, 2, 6);
                key.resize(100, ' ');
                const uint32_t recno = 1 + rng() % 50;
                if (op < 3000 || rng() % 2) {
                    f.insert(key, recno);
                    model.insert({key, recno});
                    peak = std::max(peak, model.size());
                } else if (!model.empty()) {
                    auto it = model.begin();
                    std::advance(it, rng() % model.size());
                    EXPECT_TRUE(f.remove(it->first, it->second));
                    EXPECT_FALSE(f.remove(it->first, it->second));
                    model.erase(it);
                }
            }
            const auto first = f.first(), last = f.last();
            ASSERT_TRUE(first && last);
            EXPECT_EQ(std::make_pair(first->key, first->recno), *model.begin());
            EXPECT_EQ(std::make_pair(last->key, last->recno), *model.rbegin());
        }
        Entries expect;
        for (const auto& [k, r] : model) expect.push_back({k, r});
        EXPECT_EQ(walk(path), expect);
        // Pages hold at least half their 8 items, and freed pages are used again.
        EXPECT_LE(fs::file_size(path), 1024 * (peak / 4 + 2));
    }
}

// Random appends, key changes, deletions and recalls against two indexes, one with short keys
// and one with long keys (12 items a page, so pages split and merge often) and many equal keys.
class MaintenanceTest : public TableTest, public ::testing::WithParamInterface<OpenMode> {};

TEST_P(MaintenanceTest, IndexesFollowEveryChange) {
    Table::create(file("as.dbf"), kItems);
    const bool shared = GetParam() == OpenMode::Shared;
    std::mt19937 rng(42);
    {
        Table t(file("as.dbf"), GetParam());
        for (int i = 0; i < 100; ++i) {
            ASSERT_TRUE(t.append_blank());
            t.put("INDEKS", random_code(rng, 8, 3));
            t.put("NAZWA", "name " + random_code(rng, 1, 20));
        }
        t.create_index(file("as.ntx"), "mag+indeks");
        t.create_index(file("as2.ntx"), "nazwa");
        for (int op = 0; op < 2500; ++op) {
            const int what = int(rng() % 10);
            if (what < 4) {
                ASSERT_TRUE(t.append_blank());
            } else {
                t.go_to(1 + rng() % t.lastrec());
                if (shared) {
                    ASSERT_TRUE(t.lock_record());
                }
            }
            if (what < 8) {
                if (rng() % 2) t.put("MAG", std::string(1, static_cast<char>('1' + rng() % 3)));
                if (rng() % 2) t.put("INDEKS", random_code(rng, 8, 3));
                t.put("NAZWA", "name " + random_code(rng, 1, 20));
            } else if (what == 8) {
                t.delete_record();
            } else {
                t.recall();
            }
            if (shared) t.unlock();
        }
        t.commit();
        EXPECT_EQ(t.verify_index(1), std::nullopt);
        EXPECT_EQ(t.verify_index(2), std::nullopt);
    }
    // Read back from the files by a fresh handle, which compiles the keys from the headers.
    Table t(file("as.dbf"), OpenMode::ReadOnly);
    t.open_index(file("as.ntx"));
    t.open_index(file("as2.ntx"));
    Entries by_code, by_name;
    t.set_hide_deleted(false);
    for (t.go_top(); !t.eof(); t.skip()) {
        by_code.push_back({t.current_key(1), t.recno()});
        by_name.push_back({t.current_key(2), t.recno()});
    }
    EXPECT_EQ(walk(file("as.ntx")), sorted(by_code));
    EXPECT_EQ(walk(file("as2.ntx")), sorted(by_name));
    // Pages freed by merges are reused: the file stays near the size of a fresh build.
    const auto entries = by_name.size();
    EXPECT_LT(fs::file_size(file("as2.ntx")), 1024 * (entries / 6 + 16));
}

INSTANTIATE_TEST_SUITE_P(SharedAndExclusive, MaintenanceTest, ::testing::Values(OpenMode::Shared, OpenMode::Exclusive));

TEST_F(NtxTest, IndexOpenedFromItsFileMaintainsItselfWithItsAliasPrefix) {
    Table::create(file("fa_nx.dbf"), {{"R_DATA", FieldType::Date, 8, 0}, {"R_CZAS", FieldType::Character, 5, 0},
                                      {"ZAP", FieldType::Character, 1, 0}});
    const std::string key = "DTOS(r_data)+r_czas+fa_nx->zap+STR(RECNO(),6)";
    {
        Table t(file("fa_nx.dbf"));
        t.create_index(file("fa_nx.ntx"), key);
    }
    Table t(file("fa_nx.dbf"));
    t.set_alias("X");  // opened under another alias: its own file name still binds
    EXPECT_EQ(t.open_index(file("fa_nx.ntx")), 1);
    EXPECT_EQ(t.index_key_text(1), key);
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(t.append_blank());
        t.put("R_DATA", Date::from_ymd(2024, 1, 1 + i % 7));
        t.put("ZAP", std::string(i % 2 ? "*" : " "));
        t.unlock();
    }
    EXPECT_EQ(t.verify_index(1), std::nullopt);
    t.set_order(1);
    EXPECT_TRUE(t.seek("20240103" + std::string(5 + 1 + 5, ' ') + "3"));
    EXPECT_EQ(t.recno(), 3u);
}

TEST_F(NtxTest, UniqueIndexKeepsTheFirstRecordOfEachKey) {
    Table::create(file("t.dbf"), {{"K", FieldType::Character, 2, 0}});
    Table t(file("t.dbf"), OpenMode::Exclusive);
    for (const char* k : {"A", "B", "A", "C", "B"}) {
        ASSERT_TRUE(t.append_blank());
        t.put("K", text(k));
    }
    IndexOptions unique;
    unique.unique = true;
    t.create_index(file("u.ntx"), "k", unique);
    ASSERT_TRUE(t.append_blank());
    t.put("K", text("A"));
    ASSERT_TRUE(t.append_blank());
    t.put("K", text("D"));
    t.commit();
    EXPECT_EQ(walk(file("u.ntx")), (Entries{{"A ", 1}, {"B ", 2}, {"C ", 4}, {"D ", 7}}));
    EXPECT_EQ(t.verify_index(1), std::nullopt);
}

TEST_F(NtxTest, KeysComputedInCppAreBuiltAndMaintained) {
    Table::create(file("t.dbf"), {{"K", FieldType::Character, 5, 0}});
    Table t(file("t.dbf"), OpenMode::Exclusive);
    const std::vector<std::string> keys = {"abc", "b", "zz", "abd", "b"};
    for (const auto& k : keys) {
        ASSERT_TRUE(t.append_blank());
        t.put("K", k);
    }
    // The key reversed: the function reads the record being evaluated, not the current one.
    auto reversed = [&t] {
        std::string k = std::get<std::string>(t.evaluated(0));
        return std::string(k.rbegin(), k.rend());
    };
    EXPECT_EQ(t.create_index(file("r.ntx"), "REVERSE(k)", reversed, 5), 1);
    ASSERT_TRUE(t.append_blank());
    t.put("K", text("a"));
    t.go_to(3);
    t.put("K", text("cb"));
    t.flush();
    EXPECT_EQ(t.verify_index(1), std::nullopt);
    t.set_order(1);
    std::vector<uint32_t> order;
    for (t.go_top(); !t.eof(); t.skip()) order.push_back(t.recno());
    EXPECT_EQ(order, (std::vector<uint32_t>{6, 2, 5, 3, 1, 4}));  // "    a" "    b" "    b" "   bc" "  cba" "  dba"

    // Building again over the open index (with changes still cached) replaces it in its place.
    ASSERT_TRUE(t.append_blank());
    t.put("K", text("0"));
    EXPECT_EQ(t.create_index(file("r.ntx"), "k", [&t] { return std::get<std::string>(t.evaluated(0)); }, 5), 1);
    EXPECT_EQ(t.index_count(), 1);
    EXPECT_EQ(t.index_key_text(1), "k");
    t.commit();
    EXPECT_EQ(t.verify_index(1), std::nullopt);
    EXPECT_EQ(walk(file("r.ntx")).front(), (NtxEntry{"0    ", 7}));
}

// Opens the index over the table, walks it and checks it; the reason of the first failure.
std::string problem_with(const fs::path& dbf, const fs::path& ntx) {
    try {
        Table t(dbf);
        t.open_index(ntx);
        t.set_order(1);
        int steps = 0;
        for (t.go_top(); !t.eof() && steps < 10000; t.skip()) ++steps;
        for (t.go_bottom(); !t.bof() && steps < 20000; t.skip(-1)) ++steps;
        if (auto p = t.verify_index(1)) return *p;
        return "";
    } catch (const CorruptFile& e) {
        EXPECT_EQ(e.file(), ntx.string());
        return e.reason();
    }
}

TEST_F(NtxTest, DamagedIndexesAreReportedAndCanBeRebuilt) {
    Table::create(file("t.dbf"), {{"K", FieldType::Character, 40, 0}});
    {
        Table t(file("t.dbf"), OpenMode::Exclusive);
        for (int i = 0; i < 300; ++i) {
            ASSERT_TRUE(t.append_blank());
            t.put("K", "key " + std::to_string(100000 + i * 7 % 300));
        }
        t.create_index(file("t.ntx"), "k");
    }
    const std::string good = read_file(file("t.ntx"));
    auto u32 = [&](std::size_t at) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(good[at + std::size_t(i)]);
        return v;
    };
    auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    const uint32_t root = u32(4);
    const std::size_t first_item = root + (static_cast<unsigned char>(good[root + 2]) | static_cast<unsigned char>(good[root + 3]) << 8);
    const uint32_t leaf = u32(first_item);  // the first child of the root: a leaf
    const std::size_t leaf_item0 = leaf + (static_cast<unsigned char>(good[leaf + 2]));
    auto with = [&](std::size_t at, std::string bytes) {
        std::string b = good;
        b.replace(at, bytes.size(), bytes);
        return b;
    };
    struct Case {
        std::string name;
        std::string bytes;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"truncated header", good.substr(0, 100), "index header is truncated"},
        {"signature", with(0, std::string("\x09\x00", 2)), "not an NTX index"},
        {"key size 0", with(14, std::string("\0\0", 2)), "key size 0 is out of range"},
        {"key size 300", with(14, std::string("\x2c\x01", 2)), "key size 300 is out of range"},
        {"item size", with(12, std::string("\x10\x00", 2)), "item size does not match"},
        {"items per page", with(18, std::string("\xc8\x00", 2)), "do not fit a page"},
        {"root past end", with(4, le32(uint32_t(good.size()))), "root page lies past the end"},
        {"root misaligned", with(4, le32(1500)), "root page offset 1500 is bad"},
        {"empty expression", with(22, std::string(1, '\0')), "key expression is empty"},
        {"other key width", with(22, std::string("k+k\0", 4)), "key expression gives 80 bytes"},
        {"unknown field", with(22, std::string("kk\0", 3)), "key expression does not fit the table"},
        {"page count", with(root, std::string("\xe7\x03", 2)), "more than a page takes"},
        {"child past end", with(first_item, le32(0x00100000)), "outside the file"},
        {"loop", with(first_item, le32(root)), "loops or is too deep"},
        {"keys out of order", with(leaf_item0 + 8, std::string("zzz")), "keys out of order"},
        {"truncated body", good.substr(0, good.size() - 1024), "lies past the end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write_file(file("t.ntx"), c.bytes);
        const std::string p = problem_with(file("t.dbf"), file("t.ntx"));
        EXPECT_NE(p.find(c.reason), std::string::npos) << p;
    }

    // A damaged index is rebuilt from its table.
    write_file(file("t.ntx"), with(leaf_item0 + 8, std::string("zzz")));
    Table t(file("t.dbf"), OpenMode::Exclusive);
    t.open_index(file("t.ntx"));
    t.reindex();
    EXPECT_EQ(t.verify_index(1), std::nullopt);
    t.set_order(1);
    EXPECT_TRUE(t.seek("key 100000"));
    EXPECT_EQ(t.recno(), 1u);
}

TEST_F(NtxTest, StaleEntriesAreFoundByTheCheck) {
    Table::create(file("t.dbf"), {{"K", FieldType::Character, 4, 0}});
    Table t(file("t.dbf"), OpenMode::Exclusive);
    for (const char* k : {"a", "b", "c"}) {
        ASSERT_TRUE(t.append_blank());
        t.put("K", text(k));
    }
    t.create_index(file("t.ntx"), "k");
    t.close_indexes();
    t.go_to(2);
    t.put("K", text("z"));  // changed while the index was not open
    t.flush();
    t.open_index(file("t.ntx"));
    EXPECT_EQ(t.verify_index(1), std::optional<std::string>("record 2 is under a stale key in the index"));
    t.reindex();
    ASSERT_TRUE(t.append_blank());
    t.close_indexes();
    t.open_index(file("t.ntx"));
    t.go_to(4);
    t.put("K", text("d"));
    t.close_indexes();
    {
        NtxFile f(file("t.ntx"), true, false);
        EXPECT_TRUE(f.remove("d", 4));
    }
    t.open_index(file("t.ntx"));
    EXPECT_EQ(t.verify_index(1), std::optional<std::string>("record 4 is missing from the index"));
}

}  // namespace
}  // namespace platform::table::testing
