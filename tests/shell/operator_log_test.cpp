// The operator log: session entries, their gates, the audit file, the rotations into archives
// and appends of several processes at once.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>

#include "shell/operator_log.h"
#include "station_fixture.h"

using namespace sklad;
using namespace sklad::testing;

namespace {

class OperatorLogTest : public StationTest {
  protected:
    void SetUp() override {
        StationTest::SetUp();
        J_KANTY = "T";
        M_NAZWISKO = "Kowalski";
        write("SESJE.TXT", "");
    }
    static void date_file(const fs::path& p, int year) {
        std::tm t{};
        t.tm_year = year - 1900;
        t.tm_mon = 5;
        t.tm_mday = 1;
        t.tm_hour = 12;
        const auto sys = std::chrono::system_clock::from_time_t(std::mktime(&t));
        fs::last_write_time(p, std::chrono::file_clock::from_sys(sys));
    }
};

const std::string kName30 = "Kowalski" + std::string(22, ' ');
const std::string kWhen = "15.01.2024  08:00  ";

TEST_F(OperatorLogTest, SessionEntries) {
    struct Case {
        const char* mode;
        std::string lines;
    } cases[] = {
        {"P", std::string(80, '=') + "\r\n" + kWhen + kName30 + " wlaczyl  komputer\r\n"},
        {"K", kWhen + kName30 + " wylaczyl komputer\r\n" + std::string(80, '=') + "\r\n"},
        {"3", std::string(80, '*') + "\r\n" + kWhen + "Kowalski kombinowal z karta stalego klienta\r\n" + std::string(80, '*') + "\r\n"},
    };
    for (const Case& c : cases) {
        fs::remove("operator.txt");
        EXPECT_TRUE(CZAS_PRACY(c.mode));
        EXPECT_EQ(read("operator.txt"), c.lines) << c.mode;
    }
    fs::remove("operator.txt");
    EXPECT_TRUE(CZAS_PRACY("E"));
    EXPECT_TRUE(std::regex_match(read("operator.txt"),
                                 std::regex(std::string(80, 'E') + "\r\n" + kWhen + "Kowalski uruchamial /.*shell_tests\r\n" +
                                            std::string(80, 'E') + "\r\n")))
        << read("operator.txt");
}

TEST_F(OperatorLogTest, EntriesAreKeptOnlyWhereTheSettingAndTheInstallationAskForThem) {
    struct Case {
        const char* kanty;
        bool marker;
        const char* mode;
        bool written;
    } cases[] = {
        {"N", true, "P", false}, {"N", true, "3", true},  {"N", true, "E", true},
        {"T", false, "K", false}, {"T", false, "3", false}, {"T", false, "E", true},
    };
    for (const Case& c : cases) {
        fs::remove("operator.txt");
        fs::remove("parametr.mem");
        if (!c.marker) fs::remove("SESJE.TXT");
        if (c.marker) write("SESJE.TXT", "");
        J_KANTY = c.kanty;
        EXPECT_TRUE(CZAS_PRACY(c.mode));
        EXPECT_EQ(fs::exists("operator.txt"), c.written) << c.kanty << " " << c.marker << " " << c.mode;
    }
}

TEST_F(OperatorLogTest, TheLogsTimeIsSavedWithTheSettings) {
    EXPECT_TRUE(CZAS_PRACY("P"));
    const std::string settings = read("parametr.mem");
    EXPECT_NE(settings.find("J_DAT_OPE"), std::string::npos);
    J_DAT_OPE = "";
    CZYTAJ_PARAMETR(ModelDrukarki::Z_PLIKU);
    EXPECT_TRUE(std::regex_match(J_DAT_OPE, std::regex("\\d\\d\\.\\d\\d\\.\\d{4}"))) << J_DAT_OPE;
}

TEST_F(OperatorLogTest, LastYearsLogIsAddedToItsArchive) {
    write("operator.txt", "from 2023\r\n");
    date_file("operator.txt", 2023);
    write("oper2023.txt", "kept\r\n");
    EXPECT_TRUE(CZAS_PRACY("K"));
    EXPECT_EQ(read("oper2023.txt"), "kept\r\nfrom 2023\r\n");
    EXPECT_EQ(read("operator.txt").find("from 2023"), std::string::npos);
    EXPECT_NE(read("operator.txt").find("wylaczyl komputer"), std::string::npos);
}

TEST_F(OperatorLogTest, ALogThatCannotBeMadeSaysSo) {
    fs::create_directory("operator.txt");
    EXPECT_FALSE(CZAS_PRACY("P"));
    ASSERT_FALSE(screen.messages().empty());
    EXPECT_TRUE(std::regex_match(screen.messages().back(), std::regex("Problem_\\d{6}"))) << screen.messages().back();
    EXPECT_FALSE(TWORZ_KANT(0));
}

TEST_F(OperatorLogTest, AuditEvents) {
    EXPECT_TRUE(TWORZ_KANT(0));
    EXPECT_EQ(read("operator.txt"), "");
    EXPECT_TRUE(TWORZ_KANT(1, "FV-1 zmieniono"));
    EXPECT_TRUE(TWORZ_KANT(2, "a\r\nb\r\n"));
    EXPECT_EQ(read("operator.txt"), "FV-1 zmieniono\r\na\r\nb\r\n");

    fs::remove("operator.txt");
    fs::remove("parametr.mem");
    J_KANTY = "N";
    EXPECT_TRUE(TWORZ_KANT(0));
    EXPECT_FALSE(fs::exists("operator.txt"));
}

TEST_F(OperatorLogTest, MonthlyArchiveWhileTodaysPeriodIsOpen) {
    HH = "24\\01";
    write("operator.txt", "styczen\r\n");
    ARCHIWUM_OPERATORA();
    EXPECT_EQ(read("operator/2023_12.txt"), "styczen\r\n");
    EXPECT_EQ(read("operator.txt"), "");

    write("operator.txt", "znowu\r\n");
    ARCHIWUM_OPERATORA();  // that month's archive exists: nothing moves
    EXPECT_EQ(read("operator/2023_12.txt"), "styczen\r\n");
    EXPECT_EQ(read("operator.txt"), "znowu\r\n");

    fs::remove("operator/2023_12.txt");
    HH = "23\\12";  // an earlier period is open
    ARCHIWUM_OPERATORA();
    EXPECT_EQ(read("operator.txt"), "znowu\r\n");
}

TEST_F(OperatorLogTest, ArchivingAddsToAnArchiveThatExists) {
    write("operator.txt", "new\r\n");
    write("operator/2024_01.txt", "old\r\n");
    EXPECT_TRUE(KAS_KANTY("OPERATOR\\2024_01.TXT"));
    EXPECT_EQ(read("operator/2024_01.txt"), "old\r\nnew\r\n");
    EXPECT_EQ(read("operator.txt"), "");
}

TEST_F(OperatorLogTest, LinesOfProcessesWritingAtOnceNeverMix) {
    constexpr int kProcesses = 4, kLines = 300;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = fork();
        if (pid == 0) {
            for (int i = 0; i < kLines; ++i) DOKLEJ_TXT("bledy.txt", std::string(60, static_cast<char>('a' + p)));
            _exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) waitpid(pid, nullptr, 0);
    std::istringstream in(read("bledy.txt"));
    int lines = 0;
    for (std::string line; std::getline(in, line); ++lines)
        EXPECT_TRUE(std::regex_match(line, std::regex("([a-d])\\1{59}\r"))) << line;
    EXPECT_EQ(lines, kProcesses * kLines);
}

}  // namespace
