#include <gtest/gtest.h>

#include "../common/app_screen.h"
#include "common/period.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "data/session.h"
#include "platform/table/workarea_fixture.h"

using namespace sklad;

TEST(Period, ReportRangeAndLastDayToTabulate) {
    table_fixture::ScratchFolder dir(true);
    sklad::testing::AppScreen hc;  // today is 15.01.2024
    RESET_WORKAREAS();
    DBCREATE("firma", {{"BMR", FieldType::Character, 5, 0}});
    DBSELECTAREA(1);
    ASSERT_TRUE(DBUSEAREA(false, "firma", "firma"));
    ASSERT_TRUE(DBAPPEND());
    FIELDPUT("bmr", Value(std::string("01.24")));
    DBUNLOCK();

    HH = HH_Z_BMR("01.24");
    EXPECT_EQ(KON_RAP(), "01.01.2024 - 31.01.2024r");
    EXPECT_EQ(KON_TAB(), 15);  // the current month: up to today
    HH = HH_Z_BMR("02.24");
    EXPECT_EQ(KON_RAP(), "01.02.2024 - 29.02.2024r");
    EXPECT_EQ(KON_TAB(), 29);  // another month: all of it
    RESET_WORKAREAS();
    HH = "";
}
