#include "common/znaki.h"

#include <gtest/gtest.h>

#include "common/console.h"
#include "platform/text/cp852.h"

using namespace sklad;

namespace {

TEST(Znaki, SearchCharactersAndWhatTheyAddToTheKey) {
    EXPECT_EQ(ZNAKI.size(), 113u) << "13 punctuation, the shade, 52 letters, 10 digits, blank, 18 + 18 Polish";
    struct Case {
        int key;
        bool search;
        char key_char;
    };
    const Case cases[] = {
        {'a', true, 'A'},
        {'Z', true, 'Z'},
        {'7', true, '7'},
        {' ', true, ' '},
        {'@', true, '@'},
        {'\\', true, '\\'},
        {177, true, static_cast<char>(177)},                          // the shade
        {0x88, true, "Ł"_852[0]},                                      // ł in code page 852
        {0xBE, true, "Ż"_852[0]},                                      // ż in code page 852
        {0x92, true, "Ł"_852[0]},                                      // ł in the older code page
        {0xA7, true, "Ż"_852[0]},                                      // ż in the older code page
        {0xA0, true, "Ź"_852[0]},                                      // Ź in the older code page
        {0x86, true, "Ć"_852[0]},                                      // ć in 852 (ą in the older one)
        {0xA4, true, "Ą"_852[0]},                                      // Ą in 852 (ń in the older one)
        {',', false, ','},
        {'(', false, '('},
        {K_BS, false, 0},
        {K_F2, false, 0},
        {K_ALT_K, false, 0},
        {K_ENTER, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(ZNAK_SZUKANIA(c.key), c.search);
        if (c.search) {
            EXPECT_EQ(ZNAK_KLUCZA(c.key), c.key_char);
        }
    }
}

}  // namespace
