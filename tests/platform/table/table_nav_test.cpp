#include <gtest/gtest.h>

#include "table_fixture.h"

namespace platform::table::testing {
namespace {

// Ten records: N = 1..10, K = "99".."90" (so the K order is the reverse of record order);
// records 3, 4 and 10 deleted; the filter rejects N = 6.
class NavigationTest : public TableTest, public ::testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        Table::create(file("t.dbf"), {{"N", FieldType::Numeric, 3, 0}, {"K", FieldType::Character, 2, 0}});
        t = std::make_unique<Table>(file("t.dbf"), OpenMode::Exclusive);
        for (int i = 1; i <= 10; ++i) {
            ASSERT_TRUE(t->append_blank());
            t->put("N", Decimal(i));
            t->put("K", std::to_string(100 - i));
            if (i == 3 || i == 4 || i == 10) t->delete_record();
        }
        t->create_index(file("k.ntx"), "k");
        t->set_filter([this] { return t->get("N") != Value(Decimal(6)); });
        t->set_order(GetParam());
    }
    std::vector<uint32_t> forward() {
        std::vector<uint32_t> r;
        for (t->go_top(); !t->eof(); t->skip()) r.push_back(t->recno());
        return r;
    }
    std::vector<uint32_t> backward() {
        std::vector<uint32_t> r;
        for (t->go_bottom(); !t->bof(); t->skip(-1)) r.push_back(t->recno());
        return r;
    }
    std::vector<uint32_t> visible() const {
        return GetParam() == 0 ? std::vector<uint32_t>{1, 2, 5, 7, 8, 9} : std::vector<uint32_t>{9, 8, 7, 5, 2, 1};
    }
    std::unique_ptr<Table> t;
};

TEST_P(NavigationTest, SkipsDeletedAndFilteredRecordsBothWays) {
    const auto order = visible();
    EXPECT_EQ(forward(), order);
    EXPECT_EQ(backward(), std::vector<uint32_t>(order.rbegin(), order.rend()));

    t->go_top();
    t->skip(2);
    EXPECT_EQ(t->recno(), order[2]);
    t->skip(-2);
    EXPECT_EQ(t->recno(), order[0]);
    EXPECT_FALSE(t->bof());
    t->skip(3);
    t->skip(0);
    EXPECT_EQ(t->recno(), order[3]);

    t->set_hide_deleted(false);
    EXPECT_EQ(forward().size(), 9u);  // all but the filtered one
}

TEST_P(NavigationTest, EndOfFileIsTheBlankRecordAfterTheLast) {
    const auto order = visible();
    t->go_top();
    t->skip(100);
    EXPECT_TRUE(t->eof());
    EXPECT_FALSE(t->bof());
    EXPECT_EQ(t->recno(), 11u);
    EXPECT_EQ(t->get("K"), text("  "));
    EXPECT_EQ(t->get("N"), Value(Decimal(0)));
    EXPECT_THROW(t->put("K", text("x")), TableError);
    t->skip();
    EXPECT_TRUE(t->eof());
    t->skip(-1);
    EXPECT_FALSE(t->eof());
    EXPECT_EQ(t->recno(), order.back());
}

TEST_P(NavigationTest, SkippingBeforeTheFirstRecordSetsBofAndStaysOnIt) {
    t->go_top();
    t->skip(-1);
    EXPECT_TRUE(t->bof());
    EXPECT_FALSE(t->eof());
    EXPECT_EQ(t->recno(), visible().front());
    t->skip();
    EXPECT_FALSE(t->bof());
    EXPECT_EQ(t->recno(), visible()[1]);
}

TEST_P(NavigationTest, GotoReachesAnyRecordAndSkipGoesOnFromIt) {
    t->go_to(3);
    EXPECT_EQ(t->recno(), 3u);
    EXPECT_TRUE(t->deleted());
    t->skip();
    EXPECT_EQ(t->recno(), GetParam() == 0 ? 5u : 2u);
    for (uint32_t bad : {0u, 11u, 500u}) {
        t->go_to(bad);
        EXPECT_TRUE(t->eof());
        EXPECT_EQ(t->recno(), 11u);
    }
}

TEST_P(NavigationTest, NothingVisibleMeansEofAndBof) {
    t->set_filter([] { return false; });
    t->go_top();
    EXPECT_TRUE(t->eof());
    EXPECT_TRUE(t->bof());
    t->go_bottom();
    EXPECT_TRUE(t->eof());
    EXPECT_TRUE(t->bof());
}

INSTANTIATE_TEST_SUITE_P(RecordAndIndexOrder, NavigationTest, ::testing::Values(0, 1));

TEST_F(TableTest, SeekIsExactAndHidesDeletedAndFilteredRecords) {
    Table::create(file("t.dbf"), {{"K", FieldType::Character, 4, 0}, {"N", FieldType::Numeric, 2, 0}});
    Table t(file("t.dbf"), OpenMode::Exclusive);
    struct Row {
        const char* k;
        bool deleted;
    };
    const std::vector<Row> rows = {{"AB1", false}, {"AB2", true}, {"AB2", false}, {"AC", true}, {"B", false}, {"ABC", false}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_TRUE(t.append_blank());
        t.put("K", text(rows[i].k));
        t.put("N", Decimal(int(i + 1)));
        if (rows[i].deleted) t.delete_record();
    }
    EXPECT_THROW(t.seek("AB"), TableError);  // no index order
    t.create_index(file("k.ntx"), "k");
    t.set_order(1);
    t.set_filter([&t] { return t.get("N") != Value(Decimal(6)); });

    struct Case {
        std::string key;
        bool found;
        uint32_t recno;
    };
    const std::vector<Case> cases = {
        {"AB1", true, 1},  {"AB2", true, 3},   // the deleted first AB2 is passed over
        {"AB", true, 1},   {"A", true, 1},     // shorter keys match the keys they begin
        {"AB2 ", true, 3}, {"AB2 XYZ", true, 3},  // a longer key is cut to the key size
        {"AC", false, 7},  {"ABC", false, 7},  // deleted / filtered: not found, at EOF
        {"AA", false, 7},  {"C", false, 7},    {"", true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(t.seek(c.key), c.found);
        EXPECT_EQ(t.found(), c.found);
        EXPECT_EQ(t.eof(), !c.found);
        EXPECT_EQ(t.recno(), c.recno);
    }
    t.seek("AB2");
    t.skip();
    EXPECT_FALSE(t.found());
    EXPECT_EQ(t.recno(), 5u);
}

}  // namespace
}  // namespace platform::table::testing
