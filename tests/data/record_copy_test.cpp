#include <gtest/gtest.h>

#include <filesystem>

#include "../common/app_screen.h"
#include "data/access.h"
#include "data/engine.h"
#include "data/record_copy.h"
#include "platform/table/workarea_fixture.h"

using namespace sklad;

namespace {

const std::vector<FieldDef> kSource = {{"KOD", FieldType::Character, 4, 0},
                                       {"NAZWA", FieldType::Character, 10, 0},
                                       {"ILOSC", FieldType::Numeric, 8, 2},
                                       {"TYLKO_Y", FieldType::Character, 2, 0}};
const std::vector<FieldDef> kTarget = {{"KOD", FieldType::Character, 4, 0},
                                       {"NAZWA", FieldType::Character, 10, 0},
                                       {"ILOSC", FieldType::Numeric, 8, 2},
                                       {"RECNO_Y", FieldType::Numeric, 6, 0}};

class RecordCopyTest : public sklad::testing::AppScreenTest {
  protected:
    void SetUp() override {
        RESET_WORKAREAS();
        DBCREATE("y", kSource);
        DBCREATE("x", kTarget);
        DBSELECTAREA(20);
        ASSERT_TRUE(NET_USE("y", "y", false, 1));
        for (auto [kod, nazwa, ilosc] : {std::tuple{"A1", "jeden", "1"}, {"A2", "dwa", "2"}, {"B1", "", "3"}}) {
            ASSERT_TRUE(ADD_REC(1));
            FIELDPUT("kod", Value(std::string(kod)));
            FIELDPUT("nazwa", Value(std::string(nazwa)));
            FIELDPUT("ilosc", Value(*Decimal::parse(ilosc)));
            DBUNLOCK();
        }
        DBCREATEINDEX("y", "kod");
        DBSELECTAREA(21);
        ASSERT_TRUE(NET_USE("x", "x", false, 1));
    }
    void TearDown() override { RESET_WORKAREAS(); }

    // X's live records as "KOD:NAZWA:ILOSC" in natural order.
    std::vector<std::string> target() {
        DBSELECTAREA(21);
        int order = ORDSETFOCUS(0);
        std::vector<std::string> rows;
        for (DBGOTOP(); !EOF(); DBSKIP()) {
            std::string n = FC("nazwa");
            n.erase(n.find_last_not_of(' ') + 1);
            std::string k = FC("kod");
            k.erase(k.find_last_not_of(' ') + 1);
            rows.push_back(k + ":" + n + ":" + FN("ilosc").to_plain());
        }
        ORDSETFOCUS(order);
        return rows;
    }
    void add_target(const char* kod, const char* nazwa, const char* ilosc) {
        DBSELECTAREA(21);
        ASSERT_TRUE(ADD_REC(1));
        FIELDPUT("kod", Value(std::string(kod)));
        FIELDPUT("nazwa", Value(std::string(nazwa)));
        FIELDPUT("ilosc", Value(*Decimal::parse(ilosc)));
        DBUNLOCK();
    }

    table_fixture::ScratchFolder dir{true};
};

}  // namespace

TEST_F(RecordCopyTest, AppendFromASeekWhileAConditionHolds) {
    add_target("OLD", "stary", "9");
    APPEND_X_FROM_Y(21, 20, Value(std::string("A")), "kod = 'A'");
    EXPECT_EQ(target(), (std::vector<std::string>{"A1:jeden:1", "A2:dwa:2"}));
    DBSELECTAREA(21);
    DBGOTOP();
    EXPECT_EQ(FN("recno_y"), Decimal(1));

    APPEND_X_FROM_Y(21, 20, Value(std::string("Z")), "kod = 'Z'");  // not found: X left empty
    EXPECT_TRUE(target().empty());

    add_target("OLD", "stary", "9");
    APP_X_FROM_Y(21, 20, Value(std::string("A")), "kod = 'A'", "ilosc > 1");
    EXPECT_EQ(target(), (std::vector<std::string>{"A2:dwa:2"}));

    _APPEND_X_FROM_Y(21, 20, "ilosc >= 2", true);
    EXPECT_EQ(target(), (std::vector<std::string>{"A2:dwa:2", "A2:dwa:2", "B1::3"}));
}

TEST_F(RecordCopyTest, UpdateByKey) {
    add_target("A1", "stara", "10");
    DBSELECTAREA(21);
    DBCREATEINDEX("x", "kod");
    DBSELECTAREA(20);
    DBSETFILTER("kod <> 'A2'");  // the source's view decides which records take part
    UPDATE_X_FROM_Y(21, 20, "kod");
    // A1 updated (name and quantity), B1 added with its empty name left out, A2 filtered away.
    EXPECT_EQ(target(), (std::vector<std::string>{"A1:jeden:1", "B1::3"}));
    DBSELECTAREA(21);
    EXPECT_EQ(INDEXORD(), 1);
}

TEST_F(RecordCopyTest, Update0CopiesOnlyNumbersIntoExistingRecords) {
    add_target("A1", "stara", "10");
    DBSELECTAREA(21);
    DBCREATEINDEX("x", "kod");
    UPDATE0_X_FROM_Y(21, 20, "kod");
    EXPECT_EQ(target(), (std::vector<std::string>{"A1:stara:1", "A2:dwa:2", "B1::3"}));
}

TEST_F(RecordCopyTest, ZamienReusesTheTargetsRecordsAndDeletesTheRest) {
    for (const char* k : {"T1", "T2", "T3", "T4", "T5"}) add_target(k, "t", "0");
    DBSELECTAREA(21);
    DBGOTO(2);
    ASSERT_TRUE(REC_LOCK(1));
    DBDELETE();  // a deleted record in the way is recalled and reused
    DBUNLOCK();
    ZAMIEN_X_FROM_Y(21, 20);
    EXPECT_EQ(target(), (std::vector<std::string>{"A1:jeden:1", "A2:dwa:2", "B1::3"}));
    EXPECT_EQ(LASTREC(), 5);  // the first three records hold the source, the other two are deleted
    DBGOTO(4);
    EXPECT_TRUE(DELETED());
    DBGOTO(2);
    EXPECT_FALSE(DELETED());
}

TEST_F(RecordCopyTest, ProgressWindowOfTheUpdates) {
    DBSELECTAREA(21);
    DBCREATEINDEX("x", "kod");
    UPDATE_X_FROM_Y(21, 20, "kod");
    EXPECT_EQ(hc.row_trimmed(11), "");  // UPDATE_X_FROM_Y restores the screen
    ZAMIEN_X_FROM_Y(21, 20);
    EXPECT_NE(hc.row(11).find(" Odtwarzanie zbioru X.DBF "), std::string::npos) << hc.dump();
    EXPECT_NE(hc.row(12).find("100% "), std::string::npos);
    std::string full;
    for (int i = 0; i < 31; ++i) full += "█";
    EXPECT_EQ(hc.text(13, 25, 31), full);
}
