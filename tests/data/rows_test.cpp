#include "data/rows.h"

#include <gtest/gtest.h>

#include "common/lists.h"
#include "engine_fixture.h"

using namespace sklad;
using sklad::engine_fixture::EngineTest;

namespace {

TEST_F(EngineTest, TheListsWalkTheAreaSelectedWhenTheyWereBuilt) {
    INSTALL_WORKAREA_ROWS();
    DBSELECTAREA("as");
    WorkAreaRows w = SELECTED_ROWS();
    auto name = w.compile("trim(nazwa)");
    DBSELECTAREA("dd");  // a picker elsewhere does not move the list's table
    w.rows.go_top();
    EXPECT_EQ(std::get<std::string>(name()), "CUKIER 1");
    EXPECT_EQ(w.rows.skip(5), 2) << "stops on the last record";
    EXPECT_FALSE(w.rows.eof());
    EXPECT_EQ(std::get<std::string>(name()), "MAKA 2");
    const long last = w.rows.bookmark();
    EXPECT_EQ(w.rows.skip(-5), -2) << "stops on the first record";
    EXPECT_EQ(std::get<std::string>(name()), "CUKIER 1");
    w.rows.go_to(last);
    EXPECT_EQ(std::get<std::string>(name()), "MAKA 2");
    EXPECT_EQ(SELECT(), SELECT("dd"));

    DBSELECTAREA("as");
    DBSETFILTER("ilosc > 0");
    w.rows.go_top();
    EXPECT_EQ(w.rows.skip(5), 1) << "counts only the records the filter shows";
    DBSETFILTER("ilosc > 100");
    w.rows.go_top();
    EXPECT_TRUE(w.rows.eof() && w.rows.bof()) << "nothing to show";
}

}  // namespace
