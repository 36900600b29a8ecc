#include <gtest/gtest.h>

#include "common/format.h"
#include "common/rounding.h"
#include "common/slownie.h"
#include "platform/text/cp852.h"

using namespace sklad;
using platform::Date;
using platform::Decimal;

namespace {
Decimal D(const char* s) { return *Decimal::parse(s); }
// SLOWNIE's overprint form read back as plain UTF-8 with the marks turned into letters.
std::string plain(const std::string& overprint) {
    static const struct {
        const char* form;
        const char* letter;
    } marks[] = {{"a\b,", "ą"}, {"e\b,", "ę"}, {"c\b'", "ć"}, {"n\b'", "ń"}, {"o\b'", "ó"},
                 {"s\b'", "ś"}, {"z\b'", "ź"}, {"l\b/", "ł"}, {"Z\b-", "Ż"}};
    std::string s = overprint;
    for (const auto& m : marks)
        for (std::size_t p; (p = s.find(m.form)) != std::string::npos;) s.replace(p, 3, m.letter);
    return s;
}
}  // namespace

TEST(Rounding, NewroundAndMround) {
    struct Case {
        const char* x;
        int d;
        const char* expected;
    } cases[] = {
        {"2.345", 2, "2.35"},   {"-2.345", 2, "-2.35"}, {"2.675", 2, "2.68"},  {"1.005", 2, "1.01"},
        {"0.5", 0, "1"},        {"-0.5", 0, "-1"},      {"2.344", 2, "2.34"},  {"1234567890123.455", 2, "1234567890123.46"},
        {"0.0000005", 6, "0.000001"}, {"123.4567895", 6, "123.456790"}, {"-0.0049", 2, "0.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(NEWROUND(D(c.x), c.d), D(c.expected)) << c.x;
    EXPECT_EQ(NEWROUND(D("7.5")), D("8"));
    EXPECT_EQ(MROUND(D("10.125")), D("10.13"));
    EXPECT_EQ(MROUND(D("-10.125")), D("-10.12"));
    EXPECT_EQ(A_DO_N(D("1.5"), 2), D("2.25"));
    EXPECT_EQ(A_DO_N(D("10"), 0), D("1"));
    EXPECT_EQ(A_DO_N(D("2"), -2), D("0.25"));
}

TEST(Slownie, AmountsInWords) {
    struct Case {
        const char* amount;
        const char* words;
    } cases[] = {
        {"0.05", " 5/100"},
        {"-12", "KWOTA DO ZWROTU dwanaście "},
        {"100", "sto "},
        {"101000", "sto jeden tysięcy "},
        {"1000", "jeden tysiąc "},
        {"2000", "dwa tysiące "},
        {"5000", "pięć tysięcy "},
        {"12000", "dwanaście tysięcy "},
        {"22000", "dwadzieścia dwa tysiące "},
        {"21000", "dwadzieścia jeden tysięcy "},
        {"1000000", "jeden milion "},
        {"3000000", "trzy miliony "},
        {"15000000", "piętnaście milionów "},
        {"2345.50", "dwa tysiące trzysta czterdzieści pięć  50/100"},
        {"999999999.99", "dziewięćset dziewięćdziesiąt dziewięć milionów dziewięćset dziewięćdziesiąt dziewięć "
                         "tysięcy dziewięćset dziewięćdziesiąt dziewięć  99/100"},
        {"1234567890.12", "1234567890  12/100"},
        {"0", ""},
        {"1.999", "dwa "},
        {"-0.5", "KWOTA DO ZWROTU  50/100"},
    };
    for (const auto& c : cases) EXPECT_EQ(plain(SLOWNIE(D(c.amount))), c.words) << c.amount;
    // The overprint form itself: pięć is p, i, e, backspace, comma, c, backspace, apostrophe.
    EXPECT_EQ(SLOWNIE(D("5")), "pie\b,c\b' ");
    EXPECT_EQ(USUN_CHR8(SLOWNIE(D("5"))), "piec ");
}

TEST(Slownie, OverprintLetters) {
    using platform::text::from_utf8;
    EXPECT_EQ(L(from_utf8("ż")[0]), "z\b'");
    EXPECT_EQ(L(from_utf8("Ż")[0]), "Z\b-");
    EXPECT_EQ(L(from_utf8("Ł")[0]), "L\b/");
    EXPECT_EQ(L('x'), "x");
    EXPECT_EQ(L_TEXT(from_utf8("Łódź")), "L\b/o\b'dz\b'");
}

TEST(Format, NumbersMonthsAndDates) {
    EXPECT_EQ(STR2(0), "00");
    EXPECT_EQ(STR2(100), "00");
    EXPECT_EQ(STR2(7), "07");
    EXPECT_EQ(STR2(42), "42");
    EXPECT_EQ(STR3(5), "005");
    EXPECT_EQ(STR3(120), "120");
    EXPECT_EQ(K_MIES("02", "00"), "29");
    EXPECT_EQ(K_MIES("02", "1900"), "28");
    EXPECT_EQ(K_MIES("02", "24"), "29");
    EXPECT_EQ(K_MIES("02", "99"), "28");
    EXPECT_EQ(K_MIES("04", "2024"), "30");
    EXPECT_EQ(K_MIES("12", "2024"), "31");
    EXPECT_EQ(K_MIES_FK("24/02"), "29.02.2024");
    EXPECT_EQ(P_MIES("24/11"), "01.11.2024");
    EXPECT_EQ(MIESIAC("13", "24"), "  Trzynasty '24");
    EXPECT_EQ(MIESIAC("01", "25"), "    Styczen '25");
    EXPECT_EQ(MIESIAC("14", "25"), "nieznany    '25");
    EXPECT_EQ(DTOC_X(Date::from_ymd(2024, 12, 5)), "05.XII.2024");
    EXPECT_EQ(DTOC_X(Date()), "  .  .    ");
    EXPECT_EQ(CENTRUJ("abcd"), std::string(38, ' ') + "abcd");
    EXPECT_TRUE(T_N("N"));
    EXPECT_FALSE(T_N("X"));
    EXPECT_TRUE(SPR("D"));
    EXPECT_FALSE(SPR("E"));
}
