#include <gtest/gtest.h>

#include "common/memvar.h"

namespace sklad::test {
SESSION_VAR(std::string, T_HH, "24/01");
SESSION_VAR(int, T_STACJA, 1);
SESSION_VAR(Decimal, T_KWOTA, Decimal(0));
}  // namespace sklad::test

using namespace sklad;

TEST(Memvar, TypedGlobalsAreReachedByName) {
    EXPECT_EQ(MEMVAR_GET("t_hh"), Value(std::string("24/01")));
    EXPECT_TRUE(MEMVAR_PUT("T_STACJA", Value(Decimal(7))));
    EXPECT_EQ(test::T_STACJA, 7);
    EXPECT_EQ(MEMVAR_GET("T_STACJA"), Value(Decimal(7)));
    EXPECT_FALSE(MEMVAR_PUT("T_STACJA", Value(std::string("x"))));  // a number stays a number
    EXPECT_EQ(test::T_STACJA, 7);
    MEMVAR_RELEASE("T_HH");  // typed globals are never dropped
    EXPECT_TRUE(MEMVAR_EXISTS("T_HH"));
    EXPECT_FALSE(MEMVAR_GET("NO_SUCH"));
    EXPECT_FALSE(MEMVAR_PUT("NO_SUCH", Value(true)));
}

TEST(Memvar, RunTimeVariablesComeAndGo) {
    MEMVAR_NEW("M_INDEKS", Value(std::string("ABC")));
    EXPECT_EQ(MEMVAR_GET("m_indeks"), Value(std::string("ABC")));
    EXPECT_TRUE(MEMVAR_PUT("M_INDEKS", Value(Decimal(1))));  // run-time variables take any type
    MEMVAR_RELEASE("M_INDEKS");
    EXPECT_FALSE(MEMVAR_EXISTS("M_INDEKS"));
    MEMVAR_NEW("T_KWOTA", Value(Decimal(5)));  // a typed global is assigned, not shadowed
    EXPECT_EQ(test::T_KWOTA, Decimal(5));
}
