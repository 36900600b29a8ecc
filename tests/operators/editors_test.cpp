// The administrators' keys of the operator list: who may edit whom, what each editor stores, and
// that every store waits for the record's lock and gives up after its time.
#include "operators_fixture.h"

namespace sklad::testing {
namespace {

const std::string kAll = std::string(20, 'T');

const std::vector<Operator> kStaff = {
    {"0", "Szef Jan", "", kAll},
    {"1", "Nowak Anna", "", "NTTTTTTTTTTTTTTTT", "NNNNNNNN"},
    {"2", "Kowal Piotr", "", "TNNNNNNNNNNNNNNNT"},
    {"3", "Lis Ewa", "", ""},
};

class EditorsTest : public OperatorTest {
  protected:
    void SetUp() override {
        OperatorTest::SetUp();
        make_prawa(kStaff);
    }
    // Logs in the operator on list row `row` (0 the first), then runs the list once more with
    // `work` (which ends by leaving the list).
    void as(int row, const std::string& work) {
        std::string moves;
        for (int i = 0; i < row; ++i) moves += "Down ";
        keys(moves + "Enter");
        ASSERT_TRUE(ZMIANAOPERATORA());
        keys(work);
        ZMIANAOPERATORA();
        EXPECT_EQ(backend->queue.pending(), 0u) << work;
        backend->queue.clear_queue();
    }
};

TEST_F(EditorsTest, TheNameEditorStoresOnlyWhatItMay) {
    struct Case {
        int as;
        const char* work;
        const char* nr;
        const char* name;
    };
    const Case cases[] = {
        {2, "Down F4 Ctrl-Y k o w a l c z y k Space a d a m Enter Esc", "1", "Kowalczyk adam"},
        {2, "Down F4 Ctrl-Y A b c Enter Esc", "1", "Nowak Anna"},        // six letters or fewer
        {2, "Down F4 Ctrl-Y x y z x y z x Esc Esc", "1", "Nowak Anna"},  // Esc
        {2, "F4 Esc", "0", "Szef Jan"},                                   // another administrator
        {0, "Down Down F4 Ctrl-Y x y z x y z x Enter Esc", "2", "Xyzxyzx"},  // the supervisor may
        {0, "F4 Ctrl-Y Enter Esc", "0", "Szef Jan"},                      // never nameless
        {1, "Down F4 Esc", "1", "Nowak Anna"},                            // not an administrator
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.work);
        reset_session();
        make_prawa(kStaff);
        as(c.as, c.work);
        EXPECT_EQ(stored(c.nr, "NAZWISKO"), c.name);
    }
    EXPECT_EQ(M_NAZWISKO, pad("Nowak Anna", 30));
}

TEST_F(EditorsTest, AnEmptiedNameRetiresTheOperator) {
    as(0, "Down F4 Ctrl-Y Enter Enter");  // then Enter on the empty record: nothing, and the list closes
    EXPECT_EQ(stored("1", "NAZWISKO"), "");
    EXPECT_EQ(stored("1", "PRAWA"), std::string(20, 'N'));
    EXPECT_EQ(stored("1", "PRAWA1"), std::string(20, 'N'));
    EXPECT_EQ(stored_password("1"), std::string(10, ' '));
    EXPECT_EQ(M_NR, "0");
}

TEST_F(EditorsTest, AnEditWaitsTwentySecondsForTheRecordLockThenIsLost) {
    table::Table other("prawa.dbf", table::OpenMode::Shared);
    ASSERT_TRUE(other.lock_record(2));
    keys("Enter");
    ASSERT_TRUE(ZMIANAOPERATORA());
    const double before = waited();
    keys("Down F4 Ctrl-Y k o w a l c z y k Enter");
    pause(25);  // the lock's retries wait on the keyboard
    keys("Esc");
    ZMIANAOPERATORA();
    EXPECT_EQ(stored("1", "NAZWISKO"), "Nowak Anna");
    EXPECT_GE(waited() - before, 20.0);
}

TEST_F(EditorsTest, TheRightsEditorStoresTheShownLettersAndEscStoresNothing) {
    struct Case {
        int as;
        const char* work;
        const char* nr;
        std::string rights;
    };
    const Case cases[] = {
        {2, "Down Alt-F4 Down N PgDn Esc", "1", "NNTTTTTTTTTTTTTTT"},
        {2, "Down Alt-F4 Down N Esc Esc", "1", "NTTTTTTTTTTTTTTTT"},
        // An empty string is shown as every right; Esc must not make that so (right 17 is set
        // before the editor opens).
        {2, "Down Down Down Alt-F4 T Esc Esc", "3", std::string(16, ' ') + "N"},
        {2, "Down Down Down Alt-F4 PgDn Esc", "3", "TTTTTTTTTTTTTTTTN"},
        // His own rights an administrator may only look at, for 4 seconds.
        {2, "Down Down Alt-F4 N", "2", "TNNNNNNNNNNNNNNNT"},
        {2, "Down Down Alt-F4 Esc Esc", "2", "TNNNNNNNNNNNNNNNT"},
        // The supervisor's rights are shown only, to himself too.
        {0, "Alt-F4 N", "0", "TTTTTTTTTTTTTTTTT"},
        {2, "Alt-F4 Esc", "0", kAll},  // another administrator's: nothing
        {1, "Down Alt-F4 Esc", "1", "NTTTTTTTTTTTTTTTT"},  // no administrator: nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.work);
        reset_session();
        make_prawa(kStaff);
        as(c.as, std::string(c.work) + (std::string(c.work).ends_with(" N") ? " Esc" : ""));
        EXPECT_EQ(stored(c.nr, "PRAWA"), c.rights);
    }
}

TEST_F(EditorsTest, RightSeventeenIsSetBeforeTheEditorOpens) {
    make_prawa({{"0", "Szef Jan", "", kAll}, {"1", "Nowak Anna", "", "TTTTTTTTTTTTTTTT"}});
    as(0, "Down Alt-F4 Esc Esc");
    EXPECT_EQ(stored("1", "PRAWA"), "TTTTTTTTTTTTTTTTN") << "everybody but the supervisor starts without it";
}

TEST_F(EditorsTest, SwitchingOnTheSalesDeskLeavesOnlyTheCashReports) {
    as(2, "Down Ctrl-F4 Down Down Down Down Down Down Down T PgDn Esc");
    EXPECT_EQ(stored("1", "PRAWA1"), "NNNNNNNT");
    EXPECT_EQ(stored("1", "PRAWA"), "NT" + std::string(18, 'N'));
    reset_session();
    make_prawa(kStaff);
    as(2, "Down Ctrl-F4 T PgDn Esc");
    EXPECT_EQ(stored("1", "PRAWA1"), "TNNNNNNN");
    EXPECT_EQ(stored("1", "PRAWA"), "NTTTTTTTTTTTTTTTT") << "other profiles leave the rights alone";
}

TEST_F(EditorsTest, TheSupervisorIsToldHeHasEveryRight) {
    make_prawa({{"0", "Szef Jan", "", kAll}, {"1", "", "", ""}});
    keys("Enter");
    ASSERT_TRUE(ZMIANAOPERATORA());
    keys("Down Alt-F4");
    pause();
    keys("Esc");
    ZMIANAOPERATORA();
    EXPECT_TRUE(shown("Jestes szefem - masz wszelkie prawa"));
}

TEST_F(EditorsTest, ANewOperatorGetsTheNextNumberAndNoRight) {
    std::vector<Operator> ten;
    for (char nr = '0'; nr <= '9'; ++nr) ten.push_back({std::string(1, nr), "Operator " + std::string(1, nr), "", "NNNN"});
    ten[0].rights = kAll;
    make_prawa(ten);
    as(0, "F5 n o w y Space o p e r a t o r Enter F5 d r u g i Space o p e r a t o r Enter Esc");
    EXPECT_EQ(stored("A", "NAZWISKO"), "Nowy operator");
    EXPECT_EQ(stored("B", "NAZWISKO"), "Drugi operator");
    EXPECT_EQ(stored("A", "PRAWA"), std::string(20, 'N')) << "blank rights would grant everything";
    EXPECT_EQ(stored("A", "PRAWA1"), std::string(20, 'N'));
    EXPECT_EQ(stored_password("A"), std::string(10, ' '));
    reset_session();
    make_prawa(ten);
    as(1, "F5 Esc");  // an operator who is no administrator adds nobody
    EXPECT_EQ(stored("A", "NR"), "<none>");
}

TEST_F(EditorsTest, NumbersInUseAreNeverDrawnAgain) {
    make_prawa({{"0", "Szef Jan", "", kAll}, {"A", "Adam Adamski", "", "N"}, {"3", "Trzeci Operator", "", "N"}});
    as(0, "F5 n o w y Space o p e r a t o r Enter Esc");
    EXPECT_EQ(stored("B", "NAZWISKO"), "Nowy operator") << "after the digit 3 comes A, which is taken";
}

TEST_F(EditorsTest, TheSupervisorsExtrasListMayNotLockHimOut) {
    keys("Enter");
    ASSERT_TRUE(ZMIANAOPERATORA());
    keys("Shift-F4 R A M P A Space - M 0 1 Enter");
    pause(3);
    keys("Down Shift-F4 - D 0 3 Enter Shift-F4 Ctrl-Y x Esc Up Shift-F4 - M * Enter Esc");
    ZMIANAOPERATORA();
    EXPECT_EQ(backend->queue.pending(), 0u);
    EXPECT_TRUE(shown("\"RAMPA a nr=0\" - sam się zablokujesz"));
    EXPECT_EQ(stored("1", "PRAWA2"), "-D03") << "Esc keeps the list as it was";
    EXPECT_EQ(stored("0", "PRAWA2"), "-M*");
    EXPECT_EQ(M_PRAWA2, "-M*") << "the supervisor's own list takes effect at once";
    reset_session();
    make_prawa(kStaff);
    as(2, "Down Shift-F4 Esc");
    EXPECT_EQ(stored("1", "PRAWA2"), "") << "only the supervisor edits extras";
}

TEST_F(EditorsTest, TheWorkstationProfileIsForAdministratorsOnly) {
    make_prawa({{"0", "Szef Jan", "", kAll}, {"1", "Nowak Anna", "", "NTTTTTT", "", "EPSON"}});
    keys("Down F3 Esc");
    EXPECT_FALSE(ZMIANAOPERATORA()) << "nobody logged in: no profile editor";
    EXPECT_EQ(stored("1", "DRUKARKA"), "EPSON");
    as(1, "Down F3 Esc");
    EXPECT_EQ(stored("1", "DRUKARKA"), "EPSON");
    reset_session();
    as(0, "Down F3 Ctrl-Y p o s n e t Space c o m 2 Enter 0 Enter 2 PgDn PgDn Esc");
    EXPECT_EQ(stored("1", "DRUKARKA"), "POSNET COM2");
    EXPECT_EQ(stored("1", "NR_MAG"), "") << "a lone 0 means every warehouse";
    EXPECT_EQ(stored("1", "NR_KASY"), "2") << "asked since the description names a fiscal printer";
}

TEST_F(EditorsTest, SpaceMarksCommissionSharingForTheSupervisor) {
    as(0, "Down Space Down Space Up Space Esc");
    EXPECT_EQ(stored("1", "SLUPEK"), "");
    EXPECT_EQ(stored("2", "SLUPEK"), "S");
    reset_session();
    make_prawa(kStaff);
    as(2, "Space Esc");
    EXPECT_EQ(stored("2", "SLUPEK"), "");
}

TEST_F(EditorsTest, AltF1ShowsTheWorkstationSlots) {
    open_firm(5);
    DBSELECTAREA(1);
    ASSERT_TRUE(REC_LOCK(1));
    FIELDPUT("ST", Value("?" + std::string(1, ST_SZEF) + "3" + std::string(27, '0')));
    DBUNLOCK();
    keys("Down Down Enter");
    ASSERT_TRUE(ZMIANAOPERATORA());
    std::string slots;
    SETKEY(K_ALT_Z, [&] { slots = row(22) + "|" + row(23); });
    keys("Alt-F1 Alt-Z");
    pause(15);
    keys("Esc");
    ASSERT_TRUE(ZMIANAOPERATORA());
    SETKEY(K_ALT_Z, {});
    EXPECT_EQ(slots, "123456789012345678901234567890|?03 2") << "the shade shown as 0, free slots blank";
}

}  // namespace
}  // namespace sklad::testing
