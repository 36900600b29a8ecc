#include <gtest/gtest.h>

#include "platform/text/cp852.h"
#include "platform/text/overstrike.h"

using namespace platform::text;

TEST(Overstrike, OneTableBothWays) {
    struct Case {
        const char* letter;
        char base, mark;
    } cases[] = {{"ą", 'a', ','}, {"Ę", 'E', ','}, {"ć", 'c', '\''}, {"Ó", 'O', '\''}, {"Ź", 'Z', '\''},
                 {"Ż", 'Z', '-'}, {"ł", 'l', '/'}, {"Ł", 'L', '/'},  {"ś", 's', '\''}, {"ń", 'n', '\''}};
    for (const auto& c : cases) {
        char cp = from_utf8(c.letter)[0];
        auto f = overstrike_form(cp);
        ASSERT_TRUE(f) << c.letter;
        EXPECT_EQ(f->base, c.base) << c.letter;
        EXPECT_EQ(f->mark, c.mark) << c.letter;
        EXPECT_EQ(compose_overstrike(c.base, c.mark), cp) << c.letter;
    }
    EXPECT_EQ(compose_overstrike('Z', '.'), from_utf8("Ż")[0]);
    EXPECT_EQ(compose_overstrike('z', '\''), from_utf8("ź")[0]);  // ż is written as ź
    EXPECT_FALSE(overstrike_form('x'));
    EXPECT_FALSE(compose_overstrike('x', ','));
}

TEST(Overstrike, ComposesWholeTexts) {
    EXPECT_EQ(to_utf8(compose_overstrikes("pie\b,c\b' L\b/o\b'dz\b'")), "pięć Łódź");
    EXPECT_EQ(compose_overstrikes("x\b,y\b"), "x\b,y\b");  // no such letter, and a trailing backspace
}
