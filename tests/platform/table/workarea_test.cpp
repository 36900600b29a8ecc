#include <gtest/gtest.h>

#include "platform/table/workarea.h"
#include "platform/table/workarea_fixture.h"

namespace platform::table {
namespace {

using table_fixture::num;
using table_fixture::text;

const std::vector<FieldDef> kStock = {{"MAG", FieldType::Character, 1, 0},
                                      {"INDEKS", FieldType::Character, 8, 0},
                                      {"ILOSC", FieldType::Numeric, 10, 3},
                                      {"DATA", FieldType::Date, 8, 0}};
const std::vector<FieldDef> kLines = {{"MAG", FieldType::Character, 1, 0},
                                      {"INDEKS", FieldType::Character, 8, 0},
                                      {"LP", FieldType::Character, 3, 0},
                                      {"ILOSC", FieldType::Numeric, 10, 3}};

Date day(int d) { return Date::from_ymd(2024, 1, d); }

class WorkAreasTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table_fixture::make_table(dir / "as.dbf", kStock,
                                  {{"1", "A", num("5"), day(3)},
                                   {"1", "B", num("0"), day(1)},
                                   {"2", "A", num("7.5"), day(2)},
                                   {"1", "C", num("-2"), day(4)}});
        table_fixture::make_table(dir / "d03.dbf", kLines,
                                  {{"1", "B", "  1", num("1")}, {"2", "A", "  2", num("2")}, {"1", "X", "  3", num("3")}});
    }
    // Opens the stock cards in area 2 (indexed by mag+indeks) and the lines in area 4 as dd.
    void open_both() {
        w.select(2);
        Table& as = w.open(dir / "as.dbf");
        as.create_index(dir / "as.ntx", "mag+indeks");
        as.set_order(1);
        w.select(4);
        w.open(dir / "d03.dbf", "dd");
    }
    std::string key(int area) {
        Table& t = w.table(area);
        return t.eof() ? "EOF" : text(t.get("MAG")) + text(t.get("INDEKS"));
    }
    std::vector<std::string> walk(int area) {
        std::vector<std::string> out;
        for (w.go_top(area); !w.table(area).eof(); w.skip(1, area)) out.push_back(key(area));
        return out;
    }

    table_fixture::ScratchFolder dir;
    WorkAreas w;
};

TEST_F(WorkAreasTest, AreasAliasesAndSelection) {
    open_both();
    EXPECT_EQ(w.current(), 4);
    EXPECT_EQ(w.alias(2), "AS");
    EXPECT_EQ(w.alias(), "DD");
    EXPECT_EQ(w.select("As"), 2);
    EXPECT_EQ(w.current(), 2);
    EXPECT_EQ(w.area_of("dd"), 4);
    EXPECT_EQ(w.area_of("zo"), 0);
    EXPECT_THROW(w.select("zo"), TableError);
    EXPECT_THROW(w.select(251), TableError);
    EXPECT_FALSE(w.used(3));
    EXPECT_EQ(w.alias(3), "");
    EXPECT_THROW(w.table(3), TableError);

    w.select(0);  // the first free area
    EXPECT_EQ(w.current(), 1);
    EXPECT_THROW(w.open(dir / "d03.dbf", "DD"), TableError) << "an alias lives in one area only";
    EXPECT_FALSE(w.used(1));

    // Opening into a used area closes what it held.
    w.select(4);
    w.open(dir / "d03.dbf", "lines");
    EXPECT_EQ(w.area_of("dd"), 0);
    EXPECT_EQ(w.area_of("LINES"), 4);
    w.close_all();
    EXPECT_FALSE(w.used(2));
    EXPECT_EQ(w.current(), 1);
}

TEST_F(WorkAreasTest, OpenConflictLeavesTheAreaEmpty) {
    Table holder(dir / "as.dbf", OpenMode::Exclusive);
    w.select(2);
    EXPECT_THROW(w.open(dir / "as.dbf"), OpenConflict);
    EXPECT_FALSE(w.used(2));
}

TEST_F(WorkAreasTest, FilterFromTextReadsOtherAreasAndTheHook) {
    open_both();
    w.set_name_hook([](std::string_view alias, std::string_view name) -> std::optional<FieldBinding> {
        if ((alias.empty() || alias == "M") && name == "M_NR_MAG")
            return FieldBinding{{"M_NR_MAG", FieldType::Character, 2, 0}, [] { return Value(std::string("13")); }};
        return std::nullopt;
    });
    w.select(2);
    w.set_filter("mag $ M_nr_mag .AND. ilosc > 0");
    EXPECT_EQ(walk(2), (std::vector<std::string>{"1A"}));
    EXPECT_EQ(w.filter_text(2), "mag $ M_nr_mag .AND. ilosc > 0");

    // A filter on the cards that reads the current line of area 4.
    w.set_filter("indeks = dd->indeks");
    w.go_top(4);  // line "1B"
    EXPECT_EQ(walk(2), (std::vector<std::string>{"1B"}));
    w.skip(1, 4);  // line "2A"
    EXPECT_EQ(walk(2), (std::vector<std::string>{"1A", "2A"}));

    w.clear_filter(2);
    EXPECT_EQ(walk(2).size(), 4u);
    EXPECT_THROW(w.set_filter("ilosc + 1"), ExprError);
    EXPECT_THROW(w.set_filter("nosuchfield > 1"), ExprError);
}

TEST_F(WorkAreasTest, NameOfAClosedAreaIsAnErrorNotAnotherTablesBytes) {
    open_both();
    std::function<bool()> c = w.condition("dd->indeks = 'B'", 2);
    w.go_top(4);
    EXPECT_TRUE(c());
    w.close(4);
    EXPECT_THROW(c(), TableError);
    w.select(4);
    w.open(dir / "as.dbf", "dd", OpenMode::ReadOnly);  // same alias, another table
    EXPECT_THROW(c(), TableError);
}

TEST_F(WorkAreasTest, DeletedRecordsAreHidden) {
    w.select(1);
    Table& t = w.open(dir / "as.dbf", "as", OpenMode::Exclusive);
    w.go_to(2);
    t.delete_record();
    w.go_top();
    EXPECT_EQ(walk(1), (std::vector<std::string>{"1A", "2A", "1C"}));
    w.go_to(2);
    EXPECT_TRUE(t.deleted()) << "goto reaches a deleted record";
}

TEST_F(WorkAreasTest, SeekTakesTextNumbersAndDates) {
    w.select(1);
    Table& t = w.open(dir / "as.dbf");
    t.create_index(dir / "as.ntx", "mag+indeks");
    t.create_index(dir / "as_q.ntx", "ilosc");
    t.create_index(dir / "as_d.ntx", "data");
    t.set_order(1);
    EXPECT_TRUE(w.seek(Value(std::string("2A"))));
    EXPECT_TRUE(w.found());
    EXPECT_EQ(t.recno(), 3u);
    EXPECT_TRUE(w.seek(Value(std::string("1"))));  // a shorter key finds the first it begins
    EXPECT_EQ(key(1), "1A");
    EXPECT_FALSE(w.seek(Value(std::string("3"))));
    EXPECT_FALSE(w.found());
    EXPECT_TRUE(t.eof());

    t.set_order(2);
    EXPECT_TRUE(w.seek(Value(num("-2"))));
    EXPECT_EQ(key(1), "1C");
    EXPECT_TRUE(w.seek(Value(num("7.5"))));
    EXPECT_EQ(key(1), "2A");
    t.set_order(3);
    EXPECT_TRUE(w.seek(Value(day(1))));
    EXPECT_EQ(key(1), "1B");
    EXPECT_THROW(w.seek(Value(num("1"))), TableError);
    t.create_index(dir / "as_dm.ntx", "DTOS(data)+mag");
    t.set_order(4);
    EXPECT_TRUE(w.seek(Value(day(4))));
    EXPECT_EQ(key(1), "1C");
    EXPECT_THROW(w.seek(Value(num("1"))), TableError);
    t.set_order(0);
    EXPECT_THROW(w.seek(Value(std::string("1A"))), TableError);
}

TEST_F(WorkAreasTest, ChildFollowsTheParent) {
    open_both();
    w.select(4);
    w.set_relation(2, "mag+indeks");
    EXPECT_EQ(w.children(), std::vector<int>{2});
    std::vector<std::string> seen;
    for (w.go_top(); !w.table().eof(); w.skip()) seen.push_back(key(4) + ">" + key(2) + (w.found(2) ? "+" : "-"));
    EXPECT_EQ(seen, (std::vector<std::string>{"1B>1B+", "2A>2A+", "1X>EOF-"}));
    EXPECT_EQ(key(2), "EOF") << "the child is at its end when the parent is";
    w.go_to(1);
    EXPECT_EQ(key(2), "1B");
    EXPECT_THROW(w.seek(Value(std::string("x")), 4), TableError) << "the lines have no order";
    EXPECT_EQ(key(2), "1B");
}

TEST_F(WorkAreasTest, RelationsCascadeAndClear) {
    open_both();
    // The lines have two children: the cards, and a second copy of the lines by record number;
    // the cards have a child of their own: a second copy of the cards by record number.
    w.select(7);
    w.open(dir / "d03.dbf", "lines2", OpenMode::ReadOnly);
    w.select(8);
    w.open(dir / "as.dbf", "cards2", OpenMode::ReadOnly);
    w.select(4);
    w.set_relation(2, "mag+indeks");
    w.set_relation(7, "RECNO()");
    w.set_relation(8, "RECNO()", 2);
    EXPECT_THROW(w.set_relation(4, "mag", 8), TableError) << "a cycle";
    EXPECT_THROW(w.set_relation(4, "mag", 4), TableError);
    w.go_to(2);
    EXPECT_EQ(key(2), "2A");
    EXPECT_EQ(w.table(7).recno(), 2u);
    EXPECT_EQ(w.table(8).recno(), 3u) << "2A is the cards' record 3";
    w.clear_relations(4);
    w.go_to(1);
    EXPECT_EQ(key(2), "2A") << "no longer follows";
    w.close(8);
    EXPECT_TRUE(w.children(2).empty()) << "closing a child drops relations into it";
}

TEST_F(WorkAreasTest, ParentFilterSeesTheChildOfEachCandidate) {
    open_both();
    w.select(4);
    w.set_relation(2, "mag+indeks");
    w.set_filter("as->ilosc > 0");
    EXPECT_EQ(walk(4), (std::vector<std::string>{"2A"}));
    EXPECT_EQ(key(2), "EOF");
}

TEST_F(WorkAreasTest, LocateAndContinue) {
    w.select(1);
    w.open(dir / "as.dbf");
    Scope s;
    s.for_condition = w.condition("mag = '1'");
    std::vector<uint32_t> hits;
    for (bool ok = w.locate(s); ok; ok = w.continue_locate()) {
        EXPECT_TRUE(w.found());
        hits.push_back(w.table().recno());
    }
    EXPECT_EQ(hits, (std::vector<uint32_t>{1, 2, 4}));
    EXPECT_FALSE(w.found());
    EXPECT_TRUE(w.table().eof());
    EXPECT_FALSE(w.continue_locate());

    // While-condition: from the current record, stops where it fails; kept by continue.
    w.go_to(1);
    Scope ws;
    ws.for_condition = [this] { return std::get<Decimal>(w.table().get("ILOSC")) <= Decimal(0); };
    ws.while_condition = w.condition("mag = '1'");
    EXPECT_TRUE(w.locate(ws));
    EXPECT_EQ(w.table().recno(), 2u);
    EXPECT_FALSE(w.continue_locate()) << "record 3 ends the while before 1C is reached";
    EXPECT_EQ(w.table().recno(), 3u);
    w.skip();
    EXPECT_FALSE(w.found()) << "moving clears FOUND";

    // NEXT counts records in scope whether they match or not.
    w.go_to(2);
    Scope next2;
    next2.for_condition = w.condition("indeks = 'C'");
    next2.next = 2;
    EXPECT_FALSE(w.locate(next2));
    next2.next = 3;
    w.go_to(2);
    EXPECT_TRUE(w.locate(next2));
}

TEST_F(WorkAreasTest, EvalOverScopes) {
    w.select(1);
    w.open(dir / "as.dbf");
    Decimal total;
    auto add = [&] { total += std::get<Decimal>(w.table().get("ILOSC")); };
    EXPECT_EQ(w.eval(add, {}), 4u);
    EXPECT_EQ(total, num("10.5"));
    total = Decimal();
    Scope one;
    one.record = 3;
    EXPECT_EQ(w.eval(add, one), 1u);
    EXPECT_EQ(total, num("7.5"));
    Scope rest;
    rest.rest = true;
    rest.for_condition = w.condition("ilosc < 0 .OR. DATA = CTOD('01.01.2024')");
    w.go_to(2);
    total = Decimal();
    EXPECT_EQ(w.eval(add, rest), 2u);
    EXPECT_EQ(total, num("-2"));
}

TEST_F(WorkAreasTest, TodayComesFromTheHook) {
    w.select(1);
    w.open(dir / "as.dbf");
    w.set_today([] { return day(2); });
    Scope s;
    s.for_condition = w.condition("data = DATE()");
    EXPECT_TRUE(w.locate(s));
    EXPECT_EQ(key(1), "2A");
}

}  // namespace
}  // namespace platform::table
