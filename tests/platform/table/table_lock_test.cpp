#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "table_fixture.h"

namespace platform::table::testing {
namespace {

// ---- two handles in one process: OFD locks make them behave as two copies -----------------

class LockTest : public TableTest {
  protected:
    void SetUp() override {
        Table::create(file("c.dbf"), {{"N", FieldType::Numeric, 10, 0}});
        Table t(file("c.dbf"), OpenMode::Exclusive);
        for (int i = 0; i < 10; ++i) {
            ASSERT_TRUE(t.append_blank());
            t.put("N", Decimal(0));
        }
    }
};

TEST_F(LockTest, RecordAndTableLocksExcludeOtherCopies) {
    Table a(file("c.dbf")), b(file("c.dbf"));
    EXPECT_TRUE(a.lock_record(1));
    EXPECT_FALSE(b.lock_record(1));
    EXPECT_TRUE(b.lock_record(2));
    EXPECT_FALSE(a.lock_table());  // b holds record 2
    EXPECT_FALSE(b.lock_table());  // a holds record 1

    EXPECT_TRUE(a.lock_record(3));  // releases a's lock on 1
    EXPECT_FALSE(a.record_locked(1));
    EXPECT_TRUE(b.lock_record(1, true));  // keeps b's lock on 2
    EXPECT_TRUE(b.record_locked(2));
    EXPECT_FALSE(a.lock_record(2, true));

    a.unlock();
    b.unlock();
    EXPECT_TRUE(a.lock_table());
    EXPECT_FALSE(b.lock_record(7));
    EXPECT_FALSE(b.append_blank());  // the new record falls under a's table lock
    EXPECT_EQ(b.lastrec(), 10u);
    EXPECT_TRUE(a.append_blank());
    a.unlock();
    EXPECT_TRUE(b.append_blank());
    EXPECT_EQ(b.recno(), 12u);
    EXPECT_TRUE(b.record_locked(12));  // an appended record comes locked
    EXPECT_FALSE(a.lock_record(12));
}

TEST_F(LockTest, SharedChangesNeedALockAndLockedRecordsAreReadAgain) {
    Table a(file("c.dbf")), b(file("c.dbf"));
    a.go_to(4);
    b.go_to(4);
    EXPECT_THROW(a.put("N", Decimal(1)), LockRequired);
    EXPECT_THROW(a.delete_record(), LockRequired);
    ASSERT_TRUE(a.lock_record());
    a.put("N", Decimal(41));
    a.unlock();
    EXPECT_EQ(b.get("N"), Value(Decimal(0)));  // b's buffer is as read
    ASSERT_TRUE(b.lock_record());
    EXPECT_EQ(b.get("N"), Value(Decimal(41)));  // ... until b locks the record
    b.unlock();

    ASSERT_TRUE(a.append_blank());
    a.put("N", Decimal(99));
    a.commit();
    a.unlock();
    EXPECT_EQ(b.lastrec(), 11u);
    b.go_bottom();
    EXPECT_EQ(b.get("N"), Value(Decimal(99)));
}

TEST_F(LockTest, OpeningSharedOrExclusiveExcludesTheOtherWay) {
    {
        Table shared(file("c.dbf"));
        EXPECT_THROW(Table(file("c.dbf"), OpenMode::Exclusive), OpenConflict);
        EXPECT_THROW(Table::create(file("c.dbf"), {{"X", FieldType::Character, 1, 0}}), OpenConflict);
        Table another(file("c.dbf"), OpenMode::ReadOnly);
    }
    {
        Table excl(file("c.dbf"), OpenMode::Exclusive);
        EXPECT_THROW(Table(file("c.dbf")), OpenConflict);
        EXPECT_THROW(Table(file("c.dbf"), OpenMode::ReadOnly), OpenConflict);
    }
    Table again(file("c.dbf"), OpenMode::Exclusive);
    EXPECT_EQ(again.lastrec(), 10u);  // the refused create left the table alone
}

TEST_F(LockTest, IndexChangesOfOneCopyReachTheCachedPagesOfAnother) {
    Table::create(file("k.dbf"), {{"K", FieldType::Character, 30, 0}});
    {
        Table t(file("k.dbf"));
        t.create_index(file("k.ntx"), "k");
    }
    Table a(file("k.dbf")), b(file("k.dbf"));
    a.open_index(file("k.ntx"));
    b.open_index(file("k.ntx"));
    a.set_order(1);
    b.set_order(1);
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(a.append_blank());
        a.put("K", "key " + std::to_string(1000 + i));
        a.unlock();
        EXPECT_TRUE(b.seek("key " + std::to_string(1000 + i)));  // b walked the tree before
        ASSERT_TRUE(b.lock_record());
        b.put("K", "other " + std::to_string(i));
        b.unlock();
        EXPECT_FALSE(a.seek("key " + std::to_string(1000 + i)));
    }
    EXPECT_EQ(a.verify_index(1), std::nullopt);
}

// ---- real processes ------------------------------------------------------------------------

class Worker {
  public:
    explicit Worker(const std::vector<std::string>& args) {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        const std::string exe = (bin_dir() / "table_worker").string();
        std::vector<char*> argv{const_cast<char*>(exe.c_str())};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            ::execv(exe.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        to_ = in[1];
        from_ = out[0];
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    ~Worker() {
        release();
        if (from_ >= 0) ::close(from_);
        if (pid_ > 0) wait();
    }
    // Blocks until the worker says it holds what it was asked to.
    bool ready() {
        std::string got;
        char c;
        while (::read(from_, &c, 1) == 1 && c != '\n') got += c;
        return got == "ready";
    }
    void release() {
        if (to_ >= 0) ::close(to_);
        to_ = -1;
    }
    void kill() { ::kill(pid_, SIGKILL); }
    int wait() {
        int st = 0;
        ::waitpid(pid_, &st, 0);
        pid_ = -1;
        return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    }

  private:
    pid_t pid_ = -1;
    int to_ = -1, from_ = -1;
};

TEST_F(LockTest, FourProcessesIncrementingTheSameRecordsLoseNothing) {
    std::vector<std::unique_ptr<Worker>> workers;
    for (int i = 0; i < 4; ++i) workers.push_back(std::make_unique<Worker>(std::vector<std::string>{"increment", dir.path(), "2000"}));
    for (auto& w : workers) EXPECT_EQ(w->wait(), 0);
    Table t(file("c.dbf"));
    for (t.go_top(); !t.eof(); t.skip()) EXPECT_EQ(t.get("N"), Value(Decimal(800))) << "record " << t.recno();
}

TEST_F(LockTest, FourProcessesAppendingKeepBothIndexesWhole) {
    Table::create(file("a.dbf"), {{"W", FieldType::Character, 2, 0}, {"S", FieldType::Numeric, 6, 0}});
    {
        Table t(file("a.dbf"), OpenMode::Exclusive);
        t.create_index(file("a1.ntx"), "w+STR(s,6)");
        t.create_index(file("a2.ntx"), "STR(s,6)+w");
    }
    std::vector<std::unique_ptr<Worker>> workers;
    for (int i = 0; i < 4; ++i)
        workers.push_back(std::make_unique<Worker>(std::vector<std::string>{"append", dir.path(), "5000", "w" + std::to_string(i)}));
    for (auto& w : workers) EXPECT_EQ(w->wait(), 0);

    Table t(file("a.dbf"), OpenMode::ReadOnly);
    t.open_index(file("a1.ntx"));
    t.open_index(file("a2.ntx"));
    ASSERT_EQ(t.lastrec(), 20000u);
    for (int order : {1, 2}) {
        SCOPED_TRACE(order);
        EXPECT_EQ(t.verify_index(order), std::nullopt);  // every record once, under its own key
        t.set_order(order);
        std::set<std::string> seen;
        std::string prev;
        for (t.go_top(); !t.eof(); t.skip()) {
            const std::string k = t.current_key(order);
            EXPECT_LT(prev, k);
            seen.insert(std::get<std::string>(t.get("W")) + std::get<Decimal>(t.get("S")).to_plain());
            prev = k;
        }
        EXPECT_EQ(seen.size(), 20000u);
    }
}

TEST_F(LockTest, OpenModesAndLocksOfOtherProcesses) {
    {
        Worker w({"hold", dir.path(), "shared"});
        ASSERT_TRUE(w.ready());
        EXPECT_THROW(Table(file("c.dbf"), OpenMode::Exclusive), OpenConflict);
        Table t(file("c.dbf"));
    }
    {
        Worker w({"hold", dir.path(), "exclusive"});
        ASSERT_TRUE(w.ready());
        EXPECT_THROW(Table(file("c.dbf")), OpenConflict);
        Worker refused({"hold", dir.path(), "shared"});
        EXPECT_EQ(refused.wait(), 5);
    }
    {
        Worker w({"hold", dir.path(), "table"});
        ASSERT_TRUE(w.ready());
        Table t(file("c.dbf"));
        EXPECT_FALSE(t.lock_record(5));
        EXPECT_FALSE(t.append_blank());
    }
    Table t(file("c.dbf"), OpenMode::Exclusive);  // every holder has gone
}

TEST_F(LockTest, AKilledProcessLeavesNoLockBehind) {
    Worker w({"hold", dir.path(), "lock3"});
    ASSERT_TRUE(w.ready());
    Table t(file("c.dbf"));
    EXPECT_FALSE(t.lock_record(3));
    EXPECT_FALSE(t.lock_table());
    w.kill();
    EXPECT_EQ(w.wait(), 128 + SIGKILL);
    EXPECT_TRUE(t.lock_record(3));
    EXPECT_TRUE(t.lock_table());
}

}  // namespace
}  // namespace platform::table::testing
