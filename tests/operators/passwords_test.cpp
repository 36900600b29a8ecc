// Password dialogues: the operator's own password, the correction password, the supervisor's
// authorisation and the password before the installation settings.
#include <filesystem>

#include "operators_fixture.h"

namespace sklad::testing {
namespace {

const std::vector<Operator> kStaff = {
    {"0", "Szef Jan", "SZEF", std::string(20, 'T')},
    {"1", "Nowak Anna", "ANNA", "NTTTTTTTTTTTTTTTT"},
    {"2", "Kowal Piotr", "", "TNNNNNNNNNNNNNNNN"},
};

class PasswordTest : public OperatorTest {
  protected:
    void SetUp() override {
        OperatorTest::SetUp();
        make_prawa(kStaff);
    }
    void login_anna() {
        keys("Down Enter A N N A Enter");
        ASSERT_TRUE(ZMIANAOPERATORA());
    }
    void login_supervisor() {
        keys("Enter S Z E F Enter");
        ASSERT_TRUE(ZMIANAOPERATORA());
    }
};

TEST_F(PasswordTest, ChangingOnesOwnPassword) {
    struct Case {
        const char* first;
        const char* second;  // nullptr: not asked
        const char* message;
        const char* password;
    };
    const Case cases[] = {
        {"Esc", nullptr, "Nie zmieniam hasła", "ANNA"},
        {"A N N A Enter", nullptr, "Baw sie czyms innym", "ANNA"},
        {"n o w e Enter", "N O W E Enter", "Hasło zostało zmienione", "NOWE"},
        {"n o w e Enter", "I N N E Enter", "Nie zmieniam hasła", "ANNA"},
        {"n o w e Enter", "Esc", "Nie zmieniam hasła", "ANNA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        reset_session();
        make_prawa(kStaff);
        backend->messages.clear();
        login_anna();
        keys(std::string("Down F6 ") + c.first);
        if (c.second != nullptr) {
            pause();  // "Powtorz jeszcze raz"
            keys(c.second);
        }
        pause();
        // Anna is no administrator and has a password: the list closes after the change.
        EXPECT_TRUE(ZMIANAOPERATORA());
        EXPECT_EQ(backend->queue.pending(), 0u);
        EXPECT_TRUE(shown(c.message)) << c.message;
        EXPECT_EQ(stored_password("1"), pad(c.password, 10));
    }
}

TEST_F(PasswordTest, AChangeTheLockRefusedIsNotReportedAsMade) {
    login_anna();
    table::Table other("prawa.dbf", table::OpenMode::Shared);
    ASSERT_TRUE(other.lock_record(2));
    keys("Down F6 N O W E Enter");
    pause();
    keys("N O W E Enter");
    pause(25);
    EXPECT_TRUE(ZMIANAOPERATORA());
    EXPECT_FALSE(shown("Hasło zostało zmienione"));
    EXPECT_TRUE(shown("Nie zmieniam hasła"));
    EXPECT_EQ(stored_password("1"), pad("ANNA", 10));
}

TEST_F(PasswordTest, TheSupervisorsNewPasswordAuthorisesAtOnce) {
    login_supervisor();
    EXPECT_EQ(M_BOSS0, pad("SZEF", 10));
    keys("F6 N O W Y Enter");
    pause();
    keys("N O W Y Enter");
    pause();
    keys("Esc");  // an administrator's list stays open
    EXPECT_TRUE(ZMIANAOPERATORA());
    EXPECT_EQ(M_BOSS0, pad("NOWY", 10));
}

TEST_F(PasswordTest, TheCorrectionPasswordIsSetByTheSupervisorAndNeverEmptied) {
    login_supervisor();
    std::string prompt;
    SETKEY(K_ALT_Z, [&] { prompt = row(20); });
    keys("Alt-F6 Alt-Z P O P R A W A Enter Alt-F6 Enter");
    pause();
    keys("Alt-F6 Esc");
    pause();
    keys("Esc");
    ASSERT_TRUE(ZMIANAOPERATORA());
    SETKEY(K_ALT_Z, {});
    EXPECT_EQ(prompt.substr(0, 29), "      Hasło poprawy np. TUMP") << "the default as the example";
    EXPECT_EQ(pad(J_BOSS, 10), pad("POPRAWA", 10));
    PARAMETRY_DOMYSLNE();
    CZYTAJ_PARAMETR();
    EXPECT_EQ(pad(J_BOSS, 10), pad("POPRAWA", 10)) << "saved in parametr.mem; an empty entry and Esc kept it";

    reset_session();
    keys("Down Down Enter");
    ASSERT_TRUE(ZMIANAOPERATORA());
    keys("Alt-F6 Esc");  // no supervisor: nothing
    ZMIANAOPERATORA();
    EXPECT_EQ(backend->queue.pending(), 0u);
    EXPECT_EQ(J_BOSS, "TUMP");
}

TEST_F(PasswordTest, TheSupervisorAuthorisesWithTwoAttemptsOncePerDocument) {
    struct Case {
        const char* boss;
        const char* typed;
        bool ok;
    };
    const Case cases[] = {
        {"SZEF      ", "S Z E F Enter", true},
        {"SZEF      ", "s z e f Enter", true},
        {"SZEF      ", "X Enter S Z E F Enter", true},
        {"SZEF      ", "X Enter Y Enter", false},
        {"          ", "Enter", true},  // no supervisor password
        // A password beginning with "HAS" must be typed like any other.
        {"HASLO1    ", "C O K O L W I E K Enter X Enter", false},
        {"HASLO1    ", "X Enter H A S L O 1 Enter", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.boss) + " / " + c.typed);
        M_BOSS0 = c.boss;
        L_BOSS0 = "####";
        keys(c.typed);
        EXPECT_EQ(ZGODA_SZEFA("Zły płatnik - prawo do sprzedazy"_852), c.ok);
        EXPECT_EQ(backend->queue.pending(), 0u);
        EXPECT_EQ(L_BOSS0, c.ok ? c.boss : "####");
        if (c.ok) {
            EXPECT_TRUE(ZGODA_SZEFA()) << "the rest of the document asks nothing";
        }
    }
}

TEST_F(PasswordTest, TheInstallationSettingsAskTheSupervisorsPassword) {
    keys("S Z E F Enter");
    EXPECT_TRUE(HASLO_ADMINISTRATORA());
    keys("X Enter Y Enter");
    EXPECT_FALSE(HASLO_ADMINISTRATORA());
    EXPECT_EQ(SELECT("prawa"), 0);
    make_prawa({{"0", "Szef Jan", ""}});
    EXPECT_TRUE(HASLO_ADMINISTRATORA()) << "no password, no question";
    std::filesystem::remove("prawa.dbf");
    EXPECT_TRUE(HASLO_ADMINISTRATORA()) << "no operator table yet";
    EXPECT_EQ(backend->queue.pending(), 0u);
}

}  // namespace
}  // namespace sklad::testing
