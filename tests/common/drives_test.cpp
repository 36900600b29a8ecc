#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app_screen.h"
#include "common/drives.h"

using namespace sklad;
namespace fs = std::filesystem;

namespace {

class DrivesTest : public sklad::testing::AppScreenTest {
  protected:
    fs::path dir;
    fs::path cwd;
    void SetUp() override {
        char tmpl[] = "/tmp/drivesXXXXXX";
        dir = mkdtemp(tmpl);
        fs::create_directory(dir / "pen");
        setenv("SKLAD_DRIVE_A", (dir / "pen").c_str(), 1);
        setenv("SKLAD_DRIVE_B", (dir / "missing").c_str(), 1);
        cwd = fs::current_path();
        fs::current_path(dir);
    }
    void TearDown() override {
        fs::current_path(cwd);
        unsetenv("SKLAD_DRIVE_A");
        unsetenv("SKLAD_DRIVE_B");
        fs::remove_all(dir);
    }
};

}  // namespace

TEST_F(DrivesTest, PathsOnThisHost) {
    EXPECT_EQ(HOST_PATH("rob\\D03"), fs::path("rob/d03"));
    EXPECT_EQ(HOST_PATH("A:\\KOPIA\\24"), dir / "pen" / "kopia" / "24");
    EXPECT_EQ(HOST_PATH("A:\\..\\..\\etc"), dir / "pen" / "etc");  // never out of the drive's folder
    EXPECT_EQ(HOST_PATH("Q:\\X"), fs::path());                    // no folder for Q: here
    EXPECT_TRUE(DRIVE_READY('a'));
    EXPECT_FALSE(DRIVE_READY('B'));
}

TEST_F(DrivesTest, FunFolderCreatesFoldersOrReportsAnUnreadyDrive) {
    EXPECT_TRUE(FUN_FOLDER(""));
    EXPECT_TRUE(FUN_FOLDER("\\PDF\\24\\01\\"));
    EXPECT_TRUE(fs::is_directory(dir / "pdf" / "24" / "01"));
    EXPECT_TRUE(FUN_FOLDER("A:\\MOJE DANE\\X"));
    EXPECT_TRUE(fs::is_directory(dir / "pen" / "mojedane" / "x"));  // blanks dropped

    bool seen = false;
    SETKEY(K_ALT_Z, [&] { seen = hc.row(17).find("Dysk B nie gotowy") != std::string::npos; });
    hc.keys("Alt-Z");
    auto start = hc.clock().seconds();
    EXPECT_FALSE(FUN_FOLDER("B:\\KOPIA"));
    EXPECT_TRUE(seen);
    EXPECT_NEAR(hc.clock().seconds() - start, 2.0, 0.01);
    SETKEY(K_ALT_Z, {});
}
