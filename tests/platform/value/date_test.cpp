#include <gtest/gtest.h>

#include "platform/value/value.h"

using platform::Date;

TEST(Date, CalendarRoundTrip) {
    for (int y : {1900, 1999, 2000, 2024, 2100}) {
        for (int m = 1; m <= 12; ++m) {
            Date d = Date::from_ymd(y, m, 1);
            ASSERT_FALSE(d.empty());
            EXPECT_EQ(d.year(), y);
            EXPECT_EQ(d.month(), m);
            EXPECT_EQ(d.day(), 1);
            EXPECT_EQ(*Date::from_dtos(d.dtos()), d);
            EXPECT_EQ(*Date::from_dmy(d.dmy()), d);
        }
    }
    EXPECT_EQ(Date::from_ymd(2024, 3, 1) - Date::from_ymd(2024, 2, 28), 2);  // leap year
    EXPECT_EQ(Date::from_ymd(2023, 3, 1) - Date::from_ymd(2023, 2, 28), 1);
    EXPECT_EQ(Date::from_ymd(2026, 12, 11).dow(), 6);                       // a Friday
    EXPECT_EQ((Date::from_ymd(2024, 12, 31) + 1).dtos(), "20250101");
}

TEST(Date, TextFormsAndBadInput) {
    EXPECT_TRUE(Date::from_dtos("        ")->empty());
    EXPECT_TRUE(Date::from_dmy("  .  .    ")->empty());
    EXPECT_EQ(Date().dtos(), "        ");
    EXPECT_EQ(Date().dmy(), "  .  .    ");
    EXPECT_EQ(Date::from_dmy("05.01.24")->dtos(), "20240105");
    EXPECT_EQ(Date::from_dmy("05.01.99")->dtos(), "19990105");
    for (const char* bad : {"20240230", "2024013", "2024x101", "20241301"}) EXPECT_FALSE(Date::from_dtos(bad)) << bad;
    for (const char* bad : {"31.04.2024", "1.1.2024", "aa.bb.cccc", "29.02.2023"}) EXPECT_FALSE(Date::from_dmy(bad)) << bad;
    EXPECT_TRUE(Date::from_ymd(2024, 2, 30).empty());
}
