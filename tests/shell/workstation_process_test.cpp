// Several real copies on one folder (the station driver): slots taken in order, the last copy
// turned away, slots left by a killed copy, reuse of a released slot, copies starting together,
// the end by signal and the one-copy-per-computer guard.
#include <signal.h>

#include <memory>
#include <regex>
#include <set>

#include "station.h"
#include "station_fixture.h"

using namespace sklad;
using namespace sklad::testing;

namespace {

class StationsTest : public StationTest {
  protected:
    fs::path dir() const { return folder.path(); }
    std::string slots() { return firm_text("ST", dir()); }
    static std::string pracuje(const std::string& taken) { return std::string(30, ' ') + taken + " - PRACUJE"; }
};

TEST_F(StationsTest, CopiesTakeSlotsInOrderUntilNoneIsLeft) {
    std::vector<std::unique_ptr<Station>> copies;
    for (int n = 1; n <= 30; ++n) {
        copies.push_back(std::make_unique<Station>(dir()));
        ASSERT_EQ(copies.back()->stacja(), n);
    }
    EXPECT_TRUE(copies[0]->report().indeksowac);
    EXPECT_FALSE(copies[1]->report().indeksowac);
    EXPECT_EQ(copies[1]->report().row21, pracuje("?"));
    EXPECT_EQ(slots(), std::string(30, '?'));

    Station last(dir());
    EXPECT_EQ(last.stacja(), 0);
    EXPECT_TRUE(last.report().shown("Wszystkie stacje zajete"));
    EXPECT_EQ(last.report().row21, pracuje(std::string(30, '?')));

    for (auto& c : copies) EXPECT_EQ(c->release(), 0);
    EXPECT_EQ(slots(), zeros(30));
}

TEST_F(StationsTest, MarkerTwoSlotsLetsTwoCopiesIn) {
    write(dir() / "ST2.TXT", "");
    Station a(dir()), b(dir()), c(dir());
    EXPECT_EQ(a.stacja(), 1);
    EXPECT_EQ(b.stacja(), 2);
    EXPECT_EQ(c.stacja(), 0);
    EXPECT_TRUE(c.report().shown("Wszystkie stacje zajete"));
    EXPECT_EQ(field_width(dir() / "firma.dbf", "ST"), 2);
}

TEST_F(StationsTest, AKilledCopyIsReportedByTheNextLoneStart) {
    auto a = std::make_unique<Station>(dir());
    auto b = std::make_unique<Station>(dir());
    ASSERT_EQ(b->stacja(), 2);
    b->kill9();
    EXPECT_EQ(a->release(), 0);
    EXPECT_EQ(slots(), "0?" + zeros(28));

    Station c(dir(), "1");  // with an argument only slots left taken ask for the rebuild
    EXPECT_EQ(c.stacja(), 1);
    EXPECT_EQ(c.report().row20, std::string(30, ' ') + "? - zle wyszedl z programu");
    EXPECT_TRUE(c.report().indeksowac);
    const std::string log = read(dir() / "bledy.txt");
    EXPECT_TRUE(std::regex_match(log, std::regex("\\d\\d\\.\\d\\d\\.\\d{4}, \\d\\d:\\d\\d \xB3 \\?\r\n"))) << log;
    EXPECT_EQ(slots(), "?" + zeros(29));
}

TEST_F(StationsTest, AReleasedSlotIsTakenAgain) {
    auto a = std::make_unique<Station>(dir());
    Station b(dir());
    ASSERT_EQ(b.stacja(), 2);
    EXPECT_EQ(a->release(), 0);
    Station c(dir());
    EXPECT_EQ(c.stacja(), 1);
    EXPECT_EQ(c.report().row21, pracuje("?"));
    EXPECT_EQ(slots(), "??" + zeros(28));
}

TEST_F(StationsTest, APeriodGivenToALaterCopyBecomesTheFirmsPeriod) {
    Station a(dir());
    fs::create_directories(dir() / "24" / "03");
    table_fixture::make_table(dir() / "24" / "03" / "as.dbf", {{"MAG", FieldType::Character, 1, 0}}, {});
    Station b(dir(), "03.24");
    EXPECT_EQ(b.stacja(), 2);
    EXPECT_EQ(firm_text("BMR", dir()), "03.24");
}

TEST_F(StationsTest, CopiesStartingTogetherNeverShareANumber) {
    Station first(dir());
    ASSERT_EQ(first.stacja(), 1);
    std::vector<std::unique_ptr<Station>> copies;
    for (int i = 0; i < 8; ++i) copies.push_back(std::make_unique<Station>(dir(), "", std::vector<std::pair<std::string, std::string>>{}, false));
    std::set<int> numbers;
    for (auto& c : copies) {
        const int n = c->read_report().stacja;
        EXPECT_GT(n, 1);
        EXPECT_TRUE(numbers.insert(n).second) << "workstation " << n << " given twice";
    }
    const std::string st = slots();
    for (int n = 2; n <= 9; ++n) EXPECT_EQ(st[static_cast<std::size_t>(n - 1)], '?') << st;
}

TEST_F(StationsTest, CopiesStartingTogetherOnAnEmptyFolderMakeOneFirmTable) {
    std::vector<std::unique_ptr<Station>> copies;
    for (int i = 0; i < 4; ++i) copies.push_back(std::make_unique<Station>(dir(), "", std::vector<std::pair<std::string, std::string>>{}, false));
    std::set<int> numbers;
    for (auto& c : copies) {
        const int n = c->read_report().stacja;
        if (n > 0) {
            EXPECT_TRUE(numbers.insert(n).second) << "workstation " << n << " given twice";
        }
    }
    EXPECT_FALSE(numbers.empty());
    table::Table t(dir() / "firma.dbf", table::OpenMode::ReadOnly);
    EXPECT_EQ(t.lastrec(), 1u);
    int taken = 0;
    for (char c : slots()) taken += c == '?';
    EXPECT_EQ(taken, static_cast<int>(numbers.size()));
}

TEST_F(StationsTest, ASignalEndsTheCopyInOrder) {
    Station a(dir());
    Station b(dir());
    ASSERT_EQ(b.stacja(), 2);
    EXPECT_EQ(b.end_by(SIGTERM), 128 + SIGTERM);
    EXPECT_EQ(slots(), "?" + zeros(29));
    EXPECT_TRUE(fs::exists(dir() / "parametr.txt"));
}

TEST_F(StationsTest, OneCopyPerComputerWithTheMarker) {
    table_fixture::ScratchFolder drive_c;
    const std::vector<std::pair<std::string, std::string>> computer{{"SKLAD_DRIVE_C", drive_c.path().string()}};
    table_fixture::ScratchFolder other;
    write(dir() / "VATJEDEN.TXT", "");
    write(other.path() / "VATJEDEN.TXT", "");

    Station a(dir(), "", computer);
    EXPECT_EQ(a.stacja(), 1);
    EXPECT_TRUE(fs::exists(drive_c.path() / "vat_rob" / "program.dbf"));
    Station b(other.path(), "", computer);  // another data folder, the same computer
    EXPECT_EQ(b.stacja(), 0);
    EXPECT_TRUE(b.report().shown("Program juz otwarty na pasku"));
    table_fixture::ScratchFolder drive_c2;
    Station elsewhere(dir(), "", {{"SKLAD_DRIVE_C", drive_c2.path().string()}});  // another computer
    EXPECT_EQ(elsewhere.stacja(), 2);

    EXPECT_EQ(a.release(), 0);
    table::Table guard(drive_c.path() / "vat_rob" / "program.dbf", table::OpenMode::ReadOnly);
    EXPECT_EQ(guard.lastrec(), 1u);
}

}  // namespace
