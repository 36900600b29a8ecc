#include <gtest/gtest.h>

#include "platform/value/decimal.h"

using platform::Decimal;

namespace {
Decimal D(const char* s) { return *Decimal::parse(s); }
}  // namespace

TEST(Decimal, RoundsHalfAwayFromZeroExactly) {
    struct Case {
        const char* value;
        int decimals;
        const char* expected;
    } cases[] = {
        {"2.675", 2, "2.68"},      // binary floating point gives 2.67
        {"1.005", 2, "1.01"},      // and 1.00 here
        {"0.125", 2, "0.13"},      {"-0.125", 2, "-0.13"}, {"-2.5", 0, "-3"},
        {"2.4999999", 2, "2.50"},  {"0.004", 2, "0.00"},   {"-0.004", 2, "0.00"},
        {"1234.5", -1, "1230"},    {"1235", -1, "1240"},   {"123456789012345.6785", 3, "123456789012345.679"},
        {"999999999999999.995", 2, "1000000000000000.00"}, {"0.0000005", 6, "0.000001"},
    };
    for (const auto& c : cases) EXPECT_EQ(D(c.value).round(c.decimals).to_string(c.decimals < 0 ? 0 : c.decimals), c.expected) << c.value;
}

TEST(Decimal, ArithmeticGivesTheDecimalResult) {
    EXPECT_EQ(D("0.1") + D("0.2"), D("0.3"));
    EXPECT_EQ((D("1.10") * D("3")).to_plain(), "3.3");
    EXPECT_EQ((D("19.99") * D("0.23")).round(2).to_string(2), "4.60");  // 4.5977
    EXPECT_EQ((D("100") / D("3")).round(6).to_string(6), "33.333333");
    EXPECT_EQ((D("-2") / D("3")).round(2).to_string(2), "-0.67");
    EXPECT_EQ((D("123456789012345.678") * D("1000")).to_string(3), "123456789012345678.000");
    EXPECT_EQ((D("9999999999999999.99") * D("9999.999999")).round(2).to_string(2), "99999999989999999900.00");
    EXPECT_EQ((D("0.0000000001") * D("0.5")).to_plain(), "0.0000000001");  // rounds half up at the last unit
    EXPECT_THROW(D("1") / D("0"), std::domain_error);
    EXPECT_THROW(D("99999999999999999999999999") * D("99999999999999"), platform::DecimalOverflow);
}

TEST(Decimal, TextForms) {
    EXPECT_EQ(D("12.5").str(10, 2), "     12.50");
    EXPECT_EQ(D("-12.5").str(6, 2), "-12.50");
    EXPECT_EQ(D("123456").str(5, 0), "*****");
    EXPECT_EQ(D("7").str(3, 0), "  7");
    EXPECT_EQ(D("-0.001").to_string(2), "0.00");
    EXPECT_EQ(D("100.000").to_plain(), "100");
    EXPECT_EQ(Decimal::from_double(0.1).to_plain(), "0.1");
    EXPECT_EQ(Decimal::from_double(-1234.5678).to_plain(), "-1234.5678");
    EXPECT_DOUBLE_EQ(D("12.34").to_double(), 12.34);
    EXPECT_EQ(D("-12.99").to_int(), -12);
}

TEST(Decimal, ParseAndVal) {
    EXPECT_EQ(Decimal::parse("   "), Decimal());
    EXPECT_EQ(Decimal::parse("  -12.30 "), D("-12.3"));
    EXPECT_FALSE(Decimal::parse("12a"));
    EXPECT_FALSE(Decimal::parse("1e3"));
    EXPECT_FALSE(Decimal::parse("-"));
    EXPECT_EQ(Decimal::val(" 12.5zl"), D("12.5"));
    EXPECT_EQ(Decimal::val("abc"), Decimal());
    EXPECT_EQ(Decimal::val("-.5"), D("-0.5"));
}
