#include <gtest/gtest.h>

#include "operators/rights.h"

using namespace sklad;

TEST(Rights, RightsGrantUnlessNAndProfilesOnlyWithT) {
    M_PRAWA = std::string(20, ' ');  // before any login every right is granted
    for (int n = 1; n <= 20; ++n) EXPECT_TRUE(PRAWA(n)) << n;
    M_PRAWA = "TNTTTTTTTTTTTTTTT";  // 17 letters grant 18 to 20
    EXPECT_TRUE(PRAWA(1));
    EXPECT_FALSE(PRAWA(2));
    EXPECT_TRUE(PRAWA(18));
    EXPECT_TRUE(PRAWA(20));
    M_PRAWA1 = "TNNNTN";
    EXPECT_TRUE(PRAWA1(1));
    EXPECT_FALSE(PRAWA1(2));
    EXPECT_TRUE(PRAWA1(5));
    EXPECT_FALSE(PRAWA1(7));  // missing positions never give a profile
    M_PRAWA = std::string(20, ' ');
    M_PRAWA1 = std::string(20, 'N');
}
