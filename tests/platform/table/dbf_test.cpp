#include <gtest/gtest.h>

#include "platform/table/table.h"
#include "platform/text/cp852.h"
#include "table_fixture.h"

namespace platform::table::testing {
namespace {

const std::vector<FieldDef> kStock = {
    {"MAG", FieldType::Character, 1, 0},     {"INDEKS", FieldType::Character, 8, 0}, {"NAZWA", FieldType::Character, 30, 0},
    {"ILOSC", FieldType::Numeric, 19, 3},    {"CENA", FieldType::Numeric, 16, 6},    {"DATA", FieldType::Date, 8, 0},
    {"OFERTA", FieldType::Logical, 1, 0},
};

class DbfTest : public TableTest {};

TEST_F(DbfTest, CreatedFileHasTheDbaseThreeLayout) {
    Table::create(file("as.dbf"), kStock);
    const std::string b = read_file(file("as.dbf"));
    const std::size_t header = 32 + 32 * kStock.size() + 1;
    ASSERT_EQ(b.size(), header + 1);
    EXPECT_EQ(b[0], 0x03);
    EXPECT_EQ(static_cast<unsigned char>(b[8]) | static_cast<unsigned char>(b[9]) << 8, int(header));
    EXPECT_EQ(static_cast<unsigned char>(b[10]) | static_cast<unsigned char>(b[11]) << 8, 1 + 1 + 8 + 30 + 19 + 16 + 8 + 1);
    EXPECT_EQ(static_cast<unsigned char>(b[29]), 0x64);  // code page 852
    EXPECT_EQ(b.substr(32 + 32, 6), std::string("INDEKS"));
    EXPECT_EQ(b[32 + 32 + 11], 'C');
    EXPECT_EQ(b[32 + 3 * 32 + 11], 'N');
    EXPECT_EQ(b[32 + 3 * 32 + 16], 19);
    EXPECT_EQ(b[32 + 3 * 32 + 17], 3);
    EXPECT_EQ(b[header - 1], 0x0D);
    EXPECT_EQ(b[header], 0x1A);

    Table t(file("as.dbf"));
    EXPECT_EQ(t.fields(), kStock);
    EXPECT_EQ(t.field_index("nazwa"), 2);
    EXPECT_EQ(t.field_index("NIEMA"), -1);
    EXPECT_TRUE(t.eof());
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.recno(), 1u);
}

TEST_F(DbfTest, EveryTypeIsStoredAsItsTextAndReadBack) {
    struct Case {
        FieldDef def;
        Value in;
        std::string stored;
        Value out;
    };
    const std::string polish("Zażółć gęślą"_852);
    const std::vector<Case> cases = {
        {{"C1", FieldType::Character, 5, 0}, text("ab"), "ab   ", text("ab   ")},
        {{"C2", FieldType::Character, 3, 0}, text("abcdef"), "abc", text("abc")},
        {{"C3", FieldType::Character, 12, 0}, polish, polish, polish},
        {{"C4", FieldType::Character, 2, 0}, Value{}, "  ", text("  ")},
        {{"N1", FieldType::Numeric, 8, 2}, num("12.5"), "   12.50", num("12.5")},
        {{"N2", FieldType::Numeric, 8, 2}, num("-3.456"), "   -3.46", num("-3.46")},
        {{"N3", FieldType::Numeric, 5, 0}, num("0"), "    0", num("0")},
        {{"N4", FieldType::Numeric, 19, 3}, num("123456789012345.125"), "123456789012345.125", num("123456789012345.125")},
        {{"N5", FieldType::Numeric, 4, 0}, Value{}, "    ", num("0")},
        {{"D1", FieldType::Date, 8, 0}, Date::from_ymd(2024, 1, 31), "20240131", Date::from_ymd(2024, 1, 31)},
        {{"D2", FieldType::Date, 8, 0}, Date(), "        ", Date()},
        {{"L1", FieldType::Logical, 1, 0}, true, "T", true},
        {{"L2", FieldType::Logical, 1, 0}, false, "F", false},
    };
    std::vector<FieldDef> defs;
    for (const auto& c : cases) defs.push_back(c.def);
    Table::create(file("t.dbf"), defs);
    {
        Table t(file("t.dbf"));
        ASSERT_TRUE(t.append_blank());
        for (std::size_t i = 0; i < cases.size(); ++i) t.put(int(i), cases[i].in);
        t.unlock();
    }
    Table t(file("t.dbf"), OpenMode::ReadOnly);
    ASSERT_EQ(t.lastrec(), 1u);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].def.name);
        EXPECT_EQ(std::string(t.raw(int(i))), cases[i].stored);
        EXPECT_EQ(t.get(int(i)), cases[i].out);
    }
    // The record sits after the header, behind its deleted flag, followed by the end-of-file byte.
    const std::string b = read_file(file("t.dbf"));
    EXPECT_EQ(b.back(), 0x1A);
    EXPECT_EQ(b[b.size() - 2 - t.dbf().header().record_length + 1], ' ');
}

TEST_F(DbfTest, RefusesBadLayoutsAndValuesThatDoNotFit) {
    const std::vector<std::vector<FieldDef>> bad = {
        {},
        {{"ABCDEFGHIJK", FieldType::Character, 1, 0}},
        {{"1A", FieldType::Character, 1, 0}},
        {{"A", FieldType::Character, 1, 0}, {"a", FieldType::Character, 1, 0}},
        {{"A", FieldType::Character, 0, 0}},
        {{"A", FieldType::Character, 255, 0}},
        {{"A", FieldType::Numeric, 21, 0}},
        {{"A", FieldType::Numeric, 5, 4}},
        {{"A", FieldType::Date, 9, 0}},
        {{"A", FieldType::Logical, 2, 0}},
    };
    for (const auto& defs : bad) EXPECT_THROW(Table::create(file("bad.dbf"), defs), FieldError);

    Table::create(file("t.dbf"), {{"N", FieldType::Numeric, 5, 1}, {"C", FieldType::Character, 3, 0}});
    Table t(file("t.dbf"), OpenMode::Exclusive);
    ASSERT_TRUE(t.append_blank());
    t.put("N", num("999.9"));
    EXPECT_THROW(t.put("N", num("1000")), FieldError);  // would be stars in the file
    EXPECT_THROW(t.put("N", num("-100")), FieldError);
    EXPECT_THROW(t.put("N", text("12")), FieldError);
    EXPECT_THROW(t.put("C", num("1")), FieldError);
    EXPECT_THROW(t.put("XX", text("1")), FieldError);
    EXPECT_EQ(t.get("N"), Value(num("999.9")));
}

TEST_F(DbfTest, IndependentReaderReadsOurTable) {
    Table::create(file("as.dbf"), kStock);
    {
        Table t(file("as.dbf"), OpenMode::Exclusive);
        ASSERT_TRUE(t.append_blank());
        t.put("MAG", text("1"));
        t.put("INDEKS", text("A-100"));
        t.put("NAZWA", std::string("Łódź żółta"_852));
        t.put("ILOSC", num("-12.5"));
        t.put("CENA", num("3.141593"));
        t.put("DATA", Date::from_ymd(2024, 2, 29));
        t.put("OFERTA", true);
        ASSERT_TRUE(t.append_blank());
        t.put("INDEKS", text("GONE"));
        t.delete_record();
        ASSERT_TRUE(t.append_blank());
        t.put("INDEKS", text("B"));
    }
    const std::string script =
        "import dbfread\n"
        "t = dbfread.DBF('" + file("as.dbf").string() + "', load=True)\n"
        "print(t.encoding, len(t.records), len(t.deleted))\n"
        "for r in t.records:\n"
        "    print('|'.join(repr(v) for v in r.values()))\n"
        "print('deleted', t.deleted[0]['INDEKS'])\n";
    write_file(file("read.py"), script);
    int status = -1;
    const std::string out = run(system_python() + " " + file("read.py").string() + " 2>&1", &status);
    ASSERT_EQ(status, 0) << out;
    EXPECT_EQ(out,
              "cp852 2 1\n"
              "'1'|'A-100'|'Łódź żółta'|-12.5|3.141593|datetime.date(2024, 2, 29)|True\n"
              "''|'B'|''|None|None|None|None\n"  // blank fields, as an appended record has them
              "deleted GONE\n");
}

TEST_F(DbfTest, DamagedFilesAreReportedNamingFileAndFault) {
    Table::create(file("ok.dbf"), {{"A", FieldType::Character, 3, 0}, {"N", FieldType::Numeric, 4, 0}});
    {
        Table t(file("ok.dbf"), OpenMode::Exclusive);
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(t.append_blank());
    }
    const std::string good = read_file(file("ok.dbf"));
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
        {"empty", "", "header is truncated"},
        {"short header", good.substr(0, 20), "header is truncated"},
        {"version", with(0, "\x05"), "not a dBASE III table"},
        {"header length", with(8, std::string("\x10\x00", 2)), "header length is too small"},
        {"header past end", with(8, std::string("\xff\x7f", 2)), "header is truncated"},
        {"no terminator", with(96, " "), "no terminator"},
        {"record length", with(10, std::string("\x09\x00", 2)), "does not match the fields"},
        {"truncated body", good.substr(0, good.size() - 6), "shorter than its 3 records"},
        {"count too high", with(4, std::string("\x40\x00\x00\x00", 4)), "shorter than its 64 records"},
        {"field type", with(32 + 11, "M"), "unsupported type 'M'"},
        {"zero width", with(32 + 32 + 16, std::string(1, '\0')), "bad field layout"},
        {"date width", with(32 + 32 + 11, "D"), "bad field layout"},
        {"same names", with(32 + 32, std::string("A\0", 2)), "named twice"},
        {"unnamed field", with(32, std::string(1, '\0')), "has no name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path p = file("bad.dbf");
        write_file(p, c.bytes);
        try {
            Table t(p);
            ADD_FAILURE() << "opened";
        } catch (const CorruptFile& e) {
            EXPECT_EQ(e.file(), p.string());
            EXPECT_NE(e.reason().find(c.reason), std::string::npos) << e.reason();
        }
    }
}

TEST_F(DbfTest, PackAndZapNeedExclusiveUse) {
    Table::create(file("t.dbf"), {{"N", FieldType::Numeric, 3, 0}});
    {
        Table t(file("t.dbf"), OpenMode::Exclusive);
        for (int i = 1; i <= 6; ++i) {
            ASSERT_TRUE(t.append_blank());
            t.put("N", Decimal(i));
            if (i % 3 != 1) t.delete_record();  // keep 1 and 4
        }
    }
    {
        Table t(file("t.dbf"));
        EXPECT_THROW(t.pack(), NeedExclusive);
        EXPECT_THROW(t.zap(), NeedExclusive);
        EXPECT_EQ(t.lastrec(), 6u);
    }
    Table t(file("t.dbf"), OpenMode::Exclusive);
    t.pack();
    ASSERT_EQ(t.lastrec(), 2u);
    EXPECT_EQ(fs::file_size(file("t.dbf")), t.dbf().header().header_length + 2u * 4u + 1u);
    t.set_hide_deleted(false);
    t.go_top();
    EXPECT_EQ(t.get("N"), Value(Decimal(1)));
    t.skip();
    EXPECT_EQ(t.get("N"), Value(Decimal(4)));
    EXPECT_FALSE(t.deleted());
    t.zap();
    EXPECT_EQ(t.lastrec(), 0u);
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(fs::file_size(file("t.dbf")), t.dbf().header().header_length + 1u);
    ASSERT_TRUE(t.append_blank());
    EXPECT_EQ(t.recno(), 1u);
}

TEST_F(DbfTest, RecordsBeyondTheHeaderCountAreIgnoredAndOverwritten) {
    // What a crash between writing a record and raising the count leaves behind.
    Table::create(file("t.dbf"), {{"C", FieldType::Character, 4, 0}});
    {
        Table t(file("t.dbf"));
        ASSERT_TRUE(t.append_blank());
        t.put("C", text("one"));
        t.unlock();
    }
    std::string b = read_file(file("t.dbf"));
    b.pop_back();
    b += " half\x1A";
    write_file(file("t.dbf"), b);

    Table t(file("t.dbf"));
    EXPECT_EQ(t.lastrec(), 1u);
    t.go_bottom();
    EXPECT_EQ(t.get("C"), text("one "));
    ASSERT_TRUE(t.append_blank());
    EXPECT_EQ(t.recno(), 2u);
    EXPECT_EQ(t.get("C"), text("    "));
    t.put("C", text("two"));
    t.unlock();
    EXPECT_EQ(read_file(file("t.dbf")).substr(b.size() - 11), std::string(" one  two \x1A"));
}

}  // namespace
}  // namespace platform::table::testing
