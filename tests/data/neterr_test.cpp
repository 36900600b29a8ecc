// NETERR as another running copy causes it: a child process holds the table.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "data/engine_fixture.h"

namespace sklad {
namespace {

using namespace engine_fixture;
namespace table = platform::table;

// A child process that opens `file` (and takes its table lock when asked) and keeps it until
// this object ends.
class OtherCopy {
  public:
    OtherCopy(const char* file, table::OpenMode mode, bool lock_table) {
        int ready[2], go[2];
        if (pipe(ready) != 0 || pipe(go) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            close(go[1]);
            char status = 1;
            try {
                table::Table t(file, mode);
                if (!lock_table || t.lock_table()) status = 0;
                (void)!write(ready[1], &status, 1);
                (void)!read(go[0], &status, 1);  // until the parent closes its end
            } catch (...) {
                (void)!write(ready[1], &status, 1);
            }
            _exit(0);
        }
        close(ready[1]);
        close(go[0]);
        go_ = go[1];
        char status = 1;
        held_ = read(ready[0], &status, 1) == 1 && status == 0;
        close(ready[0]);
    }
    OtherCopy(const OtherCopy&) = delete;
    OtherCopy& operator=(const OtherCopy&) = delete;
    ~OtherCopy() {
        close(go_);
        int st = 0;
        waitpid(pid_, &st, 0);
    }
    bool held() const { return held_; }

  private:
    pid_t pid_ = -1;
    int go_ = -1;
    bool held_ = false;
};

TEST_F(EngineTest, NeterrWhenAnotherCopyHoldsTheTableExclusively) {
    DBCLOSEALL();  // so that the child inherits no open table of ours
    {
        OtherCopy other("24/01/as.dbf", table::OpenMode::Exclusive, false);
        ASSERT_TRUE(other.held());
        DBSELECTAREA(2);
        EXPECT_FALSE(DBUSEAREA(false, "24\\01\\as", "as"));
        EXPECT_TRUE(NETERR());
        EXPECT_FALSE(USED());
        EXPECT_FALSE(DBUSEAREA(true, "24\\01\\as", "as", false));
        EXPECT_TRUE(NETERR());
    }
    EXPECT_TRUE(DBUSEAREA(false, "24\\01\\as", "as", false));
    EXPECT_FALSE(NETERR());
    // Now we hold it exclusively: the other copy cannot open it at all.
    OtherCopy refused("24/01/as.dbf", table::OpenMode::Shared, false);
    EXPECT_FALSE(refused.held());
}

TEST_F(EngineTest, NeterrWhenAnAppendMeetsAnotherCopysTableLock) {
    DBCLOSEALL();
    DBSELECTAREA(4);
    {
        OtherCopy other("rob/d03.dbf", table::OpenMode::Shared, true);
        ASSERT_TRUE(other.held());
        ASSERT_TRUE(DBUSEAREA(false, "rob\\d03", "dd"));
        EXPECT_FALSE(DBAPPEND());
        EXPECT_TRUE(NETERR());
        EXPECT_EQ(LASTREC(), 3);
    }
    EXPECT_TRUE(DBAPPEND());
    EXPECT_FALSE(NETERR());
    EXPECT_EQ(RECNO(), 4);
}

}  // namespace
}  // namespace sklad
