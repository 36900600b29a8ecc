#include <gtest/gtest.h>

#include "platform/table/bulk.h"
#include "platform/table/structure.h"
#include "platform/table/workarea_fixture.h"

namespace platform::table {
namespace {

using table_fixture::num;
using table_fixture::text;

const std::vector<FieldDef> kStock = {{"MAG", FieldType::Character, 1, 0},
                                      {"INDEKS", FieldType::Character, 8, 0},
                                      {"NAZWA", FieldType::Character, 10, 0},
                                      {"ILOSC", FieldType::Numeric, 10, 3},
                                      {"CENA", FieldType::Numeric, 8, 2},
                                      {"DATA", FieldType::Date, 8, 0}};

class BulkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table_fixture::make_table(dir / "as.dbf", kStock,
                                  {{"1", "A", "Alfa", num("5"), num("1.25"), Date::from_ymd(2024, 1, 3)},
                                   {"1", "B", "Beta", num("2"), num("3"), Value()},
                                   {"2", "A", "Gamma", num("7.5"), num("2"), Value()},
                                   {"1", "A", "Delta", num("1.125"), num("10"), Value()},
                                   {"2", "C", "Eps", num("4"), num("1"), Value()}});
        Table t(dir / "as.dbf", OpenMode::Exclusive);
        t.go_to(5);
        t.delete_record();
        t.flush();
    }
    std::vector<std::vector<Value>> rows(const std::filesystem::path& p) {
        Table t(p, OpenMode::ReadOnly);
        std::vector<std::vector<Value>> out;
        for (t.go_top(); !t.eof(); t.skip()) {
            std::vector<Value> r;
            for (int i = 0; i < t.field_count(); ++i) r.push_back(t.get(i));
            out.push_back(std::move(r));
        }
        return out;
    }

    table_fixture::ScratchFolder dir;
    WorkAreas w;
};

TEST_F(BulkTest, CopyChosenFieldsOfRecordsMeetingACondition) {
    w.open(dir / "as.dbf");
    Scope s;
    s.for_condition = w.condition("ilosc > 1.5");
    EXPECT_EQ(copy_to(w, dir / "out.dbf", {"indeks", "ilosc"}, s), 3u);
    Table out(dir / "out.dbf", OpenMode::ReadOnly);
    ASSERT_EQ(out.field_count(), 2);
    EXPECT_EQ(out.fields()[0].name, "INDEKS");
    EXPECT_EQ(rows(dir / "out.dbf"), (std::vector<std::vector<Value>>{{std::string("A       "), num("5")},
                                                                      {std::string("B       "), num("2")},
                                                                      {std::string("A       "), num("7.5")}}))
        << "the deleted record 5 is left out";
    EXPECT_THROW(copy_to(w, dir / "bad.dbf", {"nosuch"}), FieldError);
    // All fields, in the current order.
    w.table().create_index(dir / "as.ntx", "mag+indeks");
    w.table().set_order(1);
    EXPECT_EQ(copy_to(w, dir / "all.dbf"), 4u);
    auto all = rows(dir / "all.dbf");
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(text(all[1][2]), "Delta");
    EXPECT_EQ(std::get<Date>(all[0][5]), Date::from_ymd(2024, 1, 3));
}

TEST_F(BulkTest, AppendMatchesFieldsByNameAndConvertsWidths) {
    // Target: a narrower name, fewer price decimals, ILOSC as text (type differs: left blank),
    // a field the source lacks, and an index that must take the new records.
    table_fixture::make_table(dir / "t.dbf",
                              {{"INDEKS", FieldType::Character, 12, 0},
                               {"NAZWA", FieldType::Character, 3, 0},
                               {"CENA", FieldType::Numeric, 6, 1},
                               {"ILOSC", FieldType::Character, 5, 0},
                               {"UWAGI", FieldType::Character, 4, 0},
                               {"DATA", FieldType::Date, 8, 0}},
                              {{"Z", "old"}});
    w.select(3);
    Table& t = w.open(dir / "t.dbf");
    t.create_index(dir / "t.ntx", "indeks");
    t.set_order(1);
    auto scope = [this](int source) {
        EXPECT_EQ(w.current(), source) << "the source is selected while the scope is made";
        Scope s;
        s.for_condition = w.condition("mag = '1'");
        return s;
    };
    EXPECT_EQ(append_from(w, dir / "as.dbf", {}, scope), 3u);
    EXPECT_EQ(w.current(), 3);
    EXPECT_EQ(w.first_free(), 1) << "the source's area is free again";
    EXPECT_FALSE(t.record_locked(t.recno()));

    auto r = rows(dir / "t.dbf");
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[1], (std::vector<Value>{std::string("A           "), std::string("Alf"), num("1.3"), std::string("     "),
                                        std::string("    "), Date::from_ymd(2024, 1, 3)}));
    EXPECT_EQ(std::get<Decimal>(r[3][2]), num("10"));
    EXPECT_TRUE(w.seek(Value(std::string("B"))));
    EXPECT_EQ(text(t.get("NAZWA")), "Bet");
    EXPECT_EQ(t.verify_index(1), std::nullopt);

    // Chosen fields only.
    EXPECT_EQ(append_from(w, dir / "as.dbf", {"indeks"}), 4u);
    EXPECT_EQ(text(t.get("NAZWA")), "");
}

TEST_F(BulkTest, NumberTooWideForTheTargetIsAnError) {
    table_fixture::make_table(dir / "t.dbf", {{"CENA", FieldType::Numeric, 3, 1}}, {});
    w.open(dir / "t.dbf", "t", OpenMode::Exclusive);
    try {
        append_from(w, dir / "as.dbf");
        FAIL() << "1.25, 3 and 2 fit in 3 places with one decimal, 10 does not";
    } catch (const FieldError& e) {
        EXPECT_NE(std::string(e.what()).find("CENA of record 4"), std::string::npos) << e.what();
    }
    w.close();
    EXPECT_EQ(rows(dir / "t.dbf").size(), 3u) << "the record that failed is not left half-filled";
}

TEST_F(BulkTest, TotalsByKey) {
    Table& t = w.open(dir / "as.dbf");
    t.create_index(dir / "as.ntx", "mag+indeks");
    t.set_order(1);
    EXPECT_EQ(total_to(w, dir / "sum.dbf", "mag+indeks"), 3u);
    auto r = rows(dir / "sum.dbf");
    ASSERT_EQ(r.size(), 3u);
    // 1A: records 1 and 4; the first one's other fields.
    EXPECT_EQ(text(r[0][2]), "Alfa");
    EXPECT_EQ(std::get<Decimal>(r[0][3]), num("6.125"));
    EXPECT_EQ(std::get<Decimal>(r[0][4]), num("11.25"));
    EXPECT_EQ(std::get<Decimal>(r[2][3]), num("7.5"));

    // By warehouse, summing the quantity only, over the cheaper records.
    Scope s;
    s.for_condition = w.condition("cena < 5");
    EXPECT_EQ(total_to(w, dir / "sum.dbf", "mag", {"ilosc"}, s), 2u);
    r = rows(dir / "sum.dbf");
    EXPECT_EQ(std::get<Decimal>(r[0][3]), num("7"));
    EXPECT_EQ(std::get<Decimal>(r[0][4]), num("1.25")) << "not summed: the first record's";
    EXPECT_THROW(total_to(w, dir / "x.dbf", "mag", {"nazwa"}), FieldError);
}

TEST_F(BulkTest, TotalThatOutgrowsItsFieldIsAnError) {
    table_fixture::make_table(dir / "n.dbf", {{"K", FieldType::Character, 1, 0}, {"V", FieldType::Numeric, 2, 0}},
                              {{"a", num("60")}, {"a", num("50")}});
    w.open(dir / "n.dbf");
    EXPECT_THROW(total_to(w, dir / "sum.dbf", "k"), FieldError);
}

TEST(StructureText, ParsesTheProgramsForm) {
    const auto f = parse_structure("R_P       ,C,  1,  0,cena ,N, 16,  6, DATA,D,8,0,\tok,l,1,0");
    EXPECT_EQ(f, (std::vector<FieldDef>{{"R_P", FieldType::Character, 1, 0},
                                        {"CENA", FieldType::Numeric, 16, 6},
                                        {"DATA", FieldType::Date, 8, 0},
                                        {"OK", FieldType::Logical, 1, 0}}));
    EXPECT_EQ(parse_structure(structure_text(f)), f);
    EXPECT_EQ(structure_text({f[0]}), "R_P       ,C,  1,  0");
    EXPECT_EQ(parse_structure("A,C,1,0,"), (std::vector<FieldDef>{{"A", FieldType::Character, 1, 0}})) << "a trailing comma";

    const TableDefinition def = parse_table_definition(" 24\\01\\dowod ,RD,C,3,0,NRD,C,8,0");
    EXPECT_EQ(def.path, "24\\01\\dowod");
    EXPECT_EQ(def.fields.size(), 2u);
}

TEST(StructureText, ErrorsNameTheItem) {
    struct Case {
        const char* text;
        std::size_t item;
        const char* says;
    } cases[] = {
        {"A,C,1,0,B,X,1,0", 6, "must be C, N, D or L"},
        {"A,C,1,0,B,C,x,0", 7, "width must be a number"},
        {"A,C,1,0,B,C,1,-1", 8, "decimals must be a number"},
        {"A,C,1,0,B,C,1", 7, "each field needs four"},
        {"A,C,300,0", 1, "bad field layout"},
        {"1A,C,3,0", 1, "bad field name"},
        {"A,C,1,0,a,N,5,0", 0, "named twice"},
        {"", 0, "names no field"},
    };
    for (const Case& c : cases) {
        try {
            parse_structure(c.text);
            ADD_FAILURE() << c.text;
        } catch (const StructureError& e) {
            EXPECT_EQ(e.item(), c.item) << c.text;
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << c.text << ": " << e.what();
        }
    }
    EXPECT_THROW(parse_table_definition(",A,C,1,0"), StructureError);
}

}  // namespace
}  // namespace platform::table
