#pragma once
// A small catalogue in a fresh working folder, made with the program's own routines.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "data/engine.h"
#include "platform/table/workarea_fixture.h"

namespace sklad::engine_fixture {

namespace table = platform::table;
using table_fixture::num;

inline const std::vector<FieldDef> kStock = {{"MAG", FieldType::Character, 1, 0},   {"INDEKS", FieldType::Character, 8, 0},
                                      {"NAZWA", FieldType::Character, 30, 0}, {"ILOSC", FieldType::Numeric, 19, 3},
                                      {"DATA", FieldType::Date, 8, 0},        {"OFERTA", FieldType::Logical, 1, 0}};
inline const std::vector<FieldDef> kLines = {{"MAG", FieldType::Character, 1, 0},
                                      {"INDEKS", FieldType::Character, 8, 0},
                                      {"LP", FieldType::Character, 3, 0},
                                      {"ILOSC", FieldType::Numeric, 14, 3}};

inline std::string trimmed(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

// A small catalogue in a fresh working folder: stock cards in the period folder 24/01 and the
// workstation's entry table rob/d03, made with the program's own routines.
class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RESET_WORKAREAS();
        std::filesystem::create_directories("24/01");
        std::filesystem::create_directories("rob");
        DBCREATE("24\\01\\AS", kStock);
        DBCREATE("rob\\d03", kLines);
        DBSELECTAREA(2);
        ASSERT_TRUE(DBUSEAREA(false, "24\\01\\as", "as", false));
        for (auto [mag, indeks, ilosc] : {std::tuple{"1", "MAKA", "10"}, {"1", "CUKIER", "0"}, {"2", "MAKA", "4.5"}}) {
            ASSERT_TRUE(DBAPPEND());
            FIELDPUT("mag", std::string(mag));
            FIELDPUT("indeks", std::string(indeks));
            FIELDPUT("nazwa", std::string(indeks) + " " + mag);
            FIELDPUT("ilosc", num(ilosc));
        }
        DBCREATEINDEX("24\\01\\as", "mag+indeks");
        DBCLOSEAREA();
        ASSERT_TRUE(DBUSEAREA(false, "24\\01\\as", "as"));
        ORDLISTADD("24\\01\\as");
        DBSELECTAREA(4);
        ASSERT_TRUE(DBUSEAREA(false, "rob\\d03", "dd", false));
        for (auto [mag, indeks, lp] : {std::tuple{"2", "MAKA", "  1"}, {"1", "CUKIER", "  2"}, {"1", "SOL", "  3"}}) {
            ASSERT_TRUE(DBAPPEND());
            FIELDPUT("mag", std::string(mag));
            FIELDPUT("indeks", std::string(indeks));
            FIELDPUT("lp", std::string(lp));
        }
        DBCREATEINDEX("rob\\d03", "mag+indeks+lp");
    }
    void TearDown() override { RESET_WORKAREAS(); }

    table_fixture::ScratchFolder dir{true};
};

}  // namespace sklad::engine_fixture
