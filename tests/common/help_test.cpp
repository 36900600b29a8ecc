#include "common/help.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app_screen.h"
#include "common/console.h"
#include "common/forms.h"
#include "platform/table/workarea_fixture.h"

using namespace sklad;

namespace {

class HelpTest : public sklad::testing::AppScreenTest {
  protected:
    void SetUp() override {
        HELP_REGISTER(7, [this] { open("picker 7"); });
        HELP_REGISTER_RD([this] { open("kinds"); });
        SETKEY(K_F1, HELP);
    }
    void TearDown() override {
        HELP_REGISTER(7, {});
        HELP_REGISTER_RD({});
        SETKEY(K_F1, {});
        SETKEY(K_ALT_X, {});
        POMOC = 0;
    }
    // A picker that draws over the screen in its own colours and notes that it ran.
    void open(const std::string& which) {
        opened.push_back(which);
        SETCOLOR("R/G");
        SETCURSOR(SC_NORMAL);
        DISPBOX(2, 2, 20, 60, 2);
    }

    std::vector<std::string> opened;
    table_fixture::ScratchFolder dir{true};
};

TEST_F(HelpTest, F1OpensWhatPomocNamesOverARestoredScreen) {
    struct Case {
        int pomoc;
        const char* opened;
    };
    const Case cases[] = {{0, ""}, {7, "picker 7"}, {55, ""}};
    DISPOUTAT(5, 5, "formularz", "W+/N");
    SETCOLOR("W/N,N/W");
    const std::string colour = SETCOLOR();
    SETPOS(5, 9);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pomoc);
        opened.clear();
        POMOC = c.pomoc;
        hc.keys("F1");
        hc.keys("x");  // the wait goes on after the hot key
        EXPECT_EQ(INKEY(0), 'x');
        EXPECT_EQ(opened.empty() ? "" : opened[0], std::string(c.opened));
        EXPECT_EQ(hc.row_trimmed(5), "     formularz");
        EXPECT_EQ(hc.row_trimmed(2), "") << "the picker's box is gone";
        EXPECT_EQ(SETCOLOR(), colour);
        EXPECT_EQ(SETCURSOR(), SC_NONE);
        EXPECT_EQ(ROW() * 100 + COL(), 509);
    }
}

TEST_F(HelpTest, TheDocumentKindFieldOpensTheKindPickerWhateverPomocHolds) {
    MEMVAR_NEW("M_RD", std::string("SD "));
    MEMVAR_NEW("M_ODB", std::string(8, ' '));
    POMOC = 7;
    __GET(3, 10, "M_RD", "!!!");
    __GET(4, 10, "M_ODB", "!!!!!!!!");
    hc.keys("F1 Enter F1 Esc");
    READMODAL();
    MEMVAR_RELEASE("M_RD");
    MEMVAR_RELEASE("M_ODB");
    EXPECT_EQ(opened, (std::vector<std::string>{"kinds", "picker 7"}));
}

TEST_F(HelpTest, HelpTextsInTheReadOnlyViewer) {
    std::filesystem::create_directories("ps2000");
    std::ofstream("pomoc.txt") << "Pomoc ogolna\r\nF1 - pomoc\r\n";
    std::ofstream("ps2000/pomoc.txt") << "Pomoc PS2000\r\n";
    std::vector<std::string> shown;
    SETKEY(K_ALT_X, [&] { shown.push_back(hc.row_trimmed(0) + "|" + hc.colour(0, 0)); });
    DISPOUTAT(0, 0, "ekran");
    for (int pomoc : {999, 2000}) {
        POMOC = pomoc;
        hc.keys("Alt-X x Esc");  // typing changes nothing
        HELP();
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Pomoc ogolna|N/W", "Pomoc PS2000|N/W"}));
    EXPECT_EQ(hc.row_trimmed(0), "ekran");
    std::ifstream in("pomoc.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "Pomoc ogolna\r\nF1 - pomoc\r\n") << "read only";
    in.close();
    std::filesystem::remove("pomoc.txt");
    POMOC = 999;
    HELP();  // no file: nothing to show, no key waited for
    EXPECT_EQ(hc.row_trimmed(0), "ekran");
}

}  // namespace
