// The permission check of a data folder shared by several Unix accounts.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "shell/shared_folder.h"
#include "station_fixture.h"

using namespace sklad;
using namespace sklad::testing;

namespace {

class SharedFolderTest : public StationTest {
  protected:
    mode_t saved_mask = 0;
    void SetUp() override {
        StationTest::SetUp();
        saved_mask = ::umask(022);
    }
    void TearDown() override {
        ::umask(saved_mask);
        StationTest::TearDown();
    }
    static mode_t current_mask() {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }
    static bool mentions(const StanFolderu& s, const std::string& what) {
        return std::any_of(s.problemy.begin(), s.problemy.end(),
                           [&](const std::string& line) { return line.find(what) != std::string::npos; });
    }
};

TEST_F(SharedFolderTest, APrivateFolderIsLeftAlone) {
    fs::permissions(".", fs::perms(0700));
    write("firma.dbf", "x");
    const StanFolderu s = UPRAWNIENIA_FOLDERU();
    EXPECT_TRUE(s.mozna_pracowac);
    EXPECT_TRUE(s.problemy.empty());
    EXPECT_EQ(current_mask(), mode_t(022));
}

TEST_F(SharedFolderTest, AGroupFolderMustPassItsGroupOnAndKeepGroupWrite) {
    ::chmod(".", 0775);
    fs::create_directories("24/01");
    ::chmod("24", 02775);
    ::chmod("24/01", 0775);
    write("firma.dbf", "x");
    ::chmod("firma.dbf", 0644);
    write("zn.dbf", "x");
    ::chmod("zn.dbf", 0664);

    const StanFolderu s = UPRAWNIENIA_FOLDERU();
    EXPECT_TRUE(s.mozna_pracowac);
    EXPECT_TRUE(mentions(s, fs::current_path().string() + ": folder nie przekazuje grupy nowym plikom (chmod g+s)"));
    EXPECT_TRUE(mentions(s, "24/01: folder nie przekazuje grupy nowym plikom (chmod g+s)"));
    EXPECT_TRUE(mentions(s, "firma.dbf: grupa nie moze zapisywac (chmod g+w)"));
    EXPECT_FALSE(mentions(s, "zn.dbf"));
    EXPECT_FALSE(mentions(s, "24:"));
    EXPECT_EQ(current_mask(), mode_t(002));  // what this copy creates stays writable for the group
}

TEST_F(SharedFolderTest, AWellPreparedFolderPasses) {
    ::chmod(".", 02775);
    write("firma.dbf", "x");
    ::chmod("firma.dbf", 0664);
    EXPECT_TRUE(UPRAWNIENIA_FOLDERU().problemy.empty());
    EXPECT_TRUE(SPRAWDZ_FOLDER_DANYCH());
}

TEST_F(SharedFolderTest, TheProblemsAreShownAtStart) {
    ::chmod(".", 0775);
    write("firma.dbf", "x");
    ::chmod("firma.dbf", 0644);
    EXPECT_TRUE(SPRAWDZ_FOLDER_DANYCH());  // this copy may still work; the others are warned
    EXPECT_TRUE(screen.backend().seen_while_waiting(" Folder danych nie jest gotowy do pracy kilku kont:"));
    EXPECT_TRUE(screen.backend().seen_while_waiting(" firma.dbf: grupa nie moze zapisywac (chmod g+w)"));
    EXPECT_TRUE(screen.backend().seen_while_waiting("README.md"));
    EXPECT_EQ(screen.row(1), "");  // the screen is put back
}

TEST_F(SharedFolderTest, AFolderThisAccountCannotWriteStopsTheCopy) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write anywhere";
    ::chmod(".", 0555);
    const StanFolderu s = UPRAWNIENIA_FOLDERU();
    ::chmod(".", 0755);
    EXPECT_FALSE(s.mozna_pracowac);
    EXPECT_TRUE(mentions(s, "Brak prawa zapisu w folderze danych"));
}

}  // namespace
