#include "common/forms.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app_screen.h"
#include "common/console.h"
#include "common/memvar.h"

using namespace sklad;
using sklad::testing::AppScreenTest;

namespace {

Decimal num(const char* s) { return *Decimal::parse(s); }

class FormsTest : public AppScreenTest {
  protected:
    void SetUp() override {
        CLEAR_GETS();
        SETCOLOR("W/N,N/W,,,W+/N");
        MEMVAR_NEW("M_NAZWA", std::string(8, ' '));
        MEMVAR_NEW("M_CENA", num("0"));
    }
    void TearDown() override {
        MEMVAR_RELEASE("M_NAZWA");
        MEMVAR_RELEASE("M_CENA");
        SETKEY(K_F1, {});
        SETKEY(K_F2, {});
        SETKEY(K_UP, {});
    }
    std::string nazwa() { return std::get<std::string>(*MEMVAR_GET("M_NAZWA")); }
    Decimal cena() { return std::get<Decimal>(*MEMVAR_GET("M_CENA")); }
};

TEST_F(FormsTest, ReadsSessionVariablesByNameAndHelpKnowsTheField) {
    __GET(5, 10, "m_nazwa", "@!");
    __GET(6, 10, "M_CENA", "@Z 99999.99", [&] { return cena() > Decimal(0); });
    EXPECT_EQ(hc.text(6, 10, 8), "        ") << "a zero shows blank";
    std::string help_for;
    SETKEY(K_F1, [&] { help_for = READVAR(); });
    hc.type("abc");
    hc.keys("Enter F1");
    hc.type("12.5");
    hc.keys("Enter");
    EXPECT_TRUE(READMODAL());
    EXPECT_EQ(nazwa(), "ABC     ");
    EXPECT_EQ(cena(), num("12.5"));
    EXPECT_EQ(help_for, "M_CENA");
    EXPECT_EQ(READVAR(), "");
    EXPECT_EQ(LASTKEY(), K_ENTER);
    EXPECT_EQ(hc.text(6, 10, 8), "   12.50");
    EXPECT_EQ(hc.colour(6, 10), "W+/N");
    EXPECT_FALSE(READMODAL()) << "the list was emptied by the read";
}

TEST_F(FormsTest, AFieldOverAMissingVariableIsRefused) {
    EXPECT_THROW(__GET(5, 10, "M_NIEMA"), std::logic_error);
}

TEST_F(FormsTest, EscapeLeavesTheVariablesAsTheyWere) {
    __GET(5, 10, "M_NAZWA");
    hc.type("xyz");
    hc.keys("Esc");
    EXPECT_FALSE(READMODAL());
    EXPECT_EQ(LASTKEY(), K_ESC);
    EXPECT_EQ(nazwa(), std::string(8, ' '));
}

TEST_F(FormsTest, ClearGetsFromAHotKeyEndsTheReadAndDropsTheFields) {
    __GET(5, 10, "M_NAZWA");
    __GET(6, 10, "M_CENA", "99999.99");
    SETKEY(K_UP, [] { CLEAR_GETS(); });
    hc.keys("Up");
    READMODAL();
    EXPECT_EQ(hc.backend().pending(), 0u);

    // Shown only: the fields are created, drawn, and dropped without a read.
    MEMVAR_PUT("M_NAZWA", std::string("SHOWN   "));
    __GET(8, 0, "M_NAZWA");
    CLEAR_GETS();
    EXPECT_EQ(hc.text(8, 0, 5), "SHOWN");
    EXPECT_FALSE(READMODAL());
}

TEST_F(FormsTest, AHotKeyMayRunItsOwnFormInsideARead) {
    MEMVAR_NEW("M_INNE", std::string("  "));
    __GET(5, 10, "M_NAZWA");
    __GET(6, 10, "M_CENA", "99999.99");
    std::string inner_var;
    SETKEY(K_F2, [&] {
        __GET(20, 0, "M_INNE");
        SETKEY(K_F1, [&] { inner_var = READVAR(); });
        READMODAL();
    });
    hc.keys("F2 F1");  // the inner read
    hc.type("ok");
    hc.keys("Enter");
    hc.keys("Enter");  // the outer read goes on from its first field
    hc.type("7");
    hc.keys("Enter");
    READMODAL();
    EXPECT_EQ(inner_var, "M_INNE");
    EXPECT_EQ(std::get<std::string>(*MEMVAR_GET("M_INNE")), "ok");
    EXPECT_EQ(cena(), num("7"));
    MEMVAR_RELEASE("M_INNE");
}

TEST_F(FormsTest, DevoutpictWritesThroughThePicture) {
    DEVPOS(3, 4);
    DEVOUTPICT(num("1234.5"), "@Z 9 999 999.99");
    DEVOUTPICT(num("0"), "@Z 9999.99");
    DEVOUTPICT(std::string("12345"), "@R 99-999", "W+/B");
    EXPECT_EQ(hc.text(3, 4, 25), "    1 234.50       12-345");
    EXPECT_EQ(hc.colour(3, 23), "W+/B");
}

}  // namespace
