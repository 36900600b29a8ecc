#include <gtest/gtest.h>

#include "common/console.h"
#include "common/memvar.h"
#include "data/engine_fixture.h"

namespace sklad {
namespace {

using namespace engine_fixture;
namespace table = platform::table;
using table_fixture::num;

TEST_F(EngineTest, FileNamesAreFoldedAndCompleted) {
    struct Case {
        const char* name;
        const char* ext;
        const char* path;
    } cases[] = {{"24\\01\\DOWOD", ".dbf", "24/01/dowod.dbf"}, {" rob/D03 ", ".ntx", "rob/d03.ntx"},
                 {"fa_N", ".dbf", "fa_n.dbf"},                   {"xxx.DBF", ".dbf", "xxx.dbf"},
                 {"/Data/Firma", ".dbf", "/Data/firma.dbf"}};
    for (const Case& c : cases) EXPECT_EQ(TABLE_FILE(c.name, c.ext), std::filesystem::path(c.path)) << c.name;
    EXPECT_TRUE(std::filesystem::exists("24/01/as.ntx"));
    EXPECT_TRUE(std::filesystem::exists("rob/d03.ntx"));
}

TEST_F(EngineTest, AreasIndexesAndStructure) {
    EXPECT_EQ(SELECT(), 4);
    EXPECT_EQ(SELECT("AS"), 2);
    EXPECT_EQ(SELECT("zo"), 0);
    EXPECT_EQ(ALIAS(), "DD");
    EXPECT_EQ(ALIAS(2), "AS");
    DBSELECTAREA("as");
    EXPECT_TRUE(USED());
    EXPECT_EQ(INDEXKEY(), "mag+indeks");
    EXPECT_EQ(INDEXORD(), 1);
    EXPECT_EQ(FCOUNT(), 6);
    EXPECT_EQ(FIELDPOS("Nazwa"), 3);
    EXPECT_EQ(FIELDPOS("KOD13"), 0) << "optional fields are tested this way";
    EXPECT_EQ(FIELDNAME(4), "ILOSC");
    EXPECT_EQ(FIELDNAME(7), "");
    EXPECT_EQ(DBSTRUCT(), kStock);
    EXPECT_EQ(LASTREC(), 3);

    DBGOTOP();
    EXPECT_EQ(FC("indeks"), "CUKIER  ") << "index order: 1CUKIER first";
    EXPECT_EQ(ORDSETFOCUS(0), 1);
    DBGOTOP();
    EXPECT_EQ(RECNO(), 1);
    EXPECT_EQ(INDEXKEY(), "");
    EXPECT_EQ(INDEXKEY(1), "mag+indeks");
    ORDSETFOCUS(1);
    EXPECT_TRUE(DBSEEK(std::string("2MAKA")));
    EXPECT_TRUE(FOUND());
    EXPECT_EQ(RECNO(), 3);
    EXPECT_FALSE(DBSEEK(std::string("3")));
    EXPECT_TRUE(EOF());
    EXPECT_EQ(RECNO(), 4);
    DBGOBOTTOM();
    EXPECT_EQ(RECNO(), 3);
    DBSKIP(-5);
    EXPECT_TRUE(BOF());
    EXPECT_EQ(RECNO(), 2);
    ORDLISTCLEAR();
    EXPECT_EQ(INDEXORD(), 0);
    EXPECT_THROW(DBSEEK(std::string("1")), table::TableError);

    // An unused area answers neutrally and refuses actions.
    DBSELECTAREA(50);
    EXPECT_FALSE(USED());
    EXPECT_EQ(RECNO(), 0);
    EXPECT_TRUE(EOF());
    EXPECT_EQ(FCOUNT(), 0);
    EXPECT_EQ(ALIAS(), "");
    EXPECT_FALSE(FOUND());
    DBCLOSEAREA();
    DBUNLOCK();
    EXPECT_THROW(DBSKIP(), table::TableError);
    EXPECT_THROW(FIELDGET("nazwa"), table::TableError);
}

TEST_F(EngineTest, FieldsByNameAcrossAreasAndTheirTypes) {
    DBSELECTAREA("dd");
    DBSETRELATION("as", "mag+indeks");
    std::vector<std::string> names;
    for (DBGOTOP(); !EOF(); DBSKIP()) names.push_back(FC("lp") + ":" + trimmed(FC("as->nazwa")));
    EXPECT_EQ(names, (std::vector<std::string>{"  2:CUKIER 1", "  3:", "  1:MAKA 2"}));

    DBGOTOP();
    EXPECT_EQ(FN("as->ilosc"), num("0"));
    EXPECT_THROW(FIELDPUT("as->ilosc", num("1")), table::LockRequired) << "a shared table changes under a lock";
    DBSELECTAREA("as");
    ASSERT_TRUE(RLOCK());
    DBSELECTAREA("dd");
    FIELDPUT("as->ilosc", num("2.5"));
    FIELDPUT("as->data", Date::from_ymd(2024, 1, 31));
    FIELDPUT("as->oferta", true);
    EXPECT_EQ(FN("as->ilosc"), num("2.5"));
    EXPECT_EQ(FD("AS->DATA"), Date::from_ymd(2024, 1, 31));
    EXPECT_TRUE(FL("as->oferta"));
    EXPECT_EQ(FIELDGET(3), Value(std::string("  2")));
    EXPECT_THROW(FN("as->nazwa"), table::FieldError);
    EXPECT_THROW(FC("as->ilosc"), table::FieldError);
    EXPECT_THROW(FIELDGET("zo->odb"), table::TableError);
    EXPECT_THROW(FIELDGET("nosuch"), table::FieldError);
    EXPECT_THROW(FIELDPUT("as->ilosc", std::string("x")), table::FieldError);
    DBUNLOCKALL();
    DBCOMMITALL();

    DBCLEARRELATION();
    DBSKIP();
    EXPECT_EQ(FC("indeks"), "SOL     ");
    EXPECT_EQ(trimmed(FC("as->nazwa")), "CUKIER 1") << "no longer follows";
}

TEST_F(EngineTest, SessionVariablesInFiltersAndConditions) {
    MEMVAR_NEW("M_NR_MAG", Value(std::string("2")));
    MEMVAR_NEW("M_MIN", Value(num("4")));
    DBSELECTAREA("as");
    DBSETFILTER("mag $ M_nr_mag .AND. ilosc >= M->M_MIN");
    EXPECT_EQ(DBFILTER(), "mag $ M_nr_mag .AND. ilosc >= M->M_MIN");
    std::vector<long> seen;
    for (DBGOTOP(); !EOF(); DBSKIP()) seen.push_back(RECNO());
    EXPECT_EQ(seen, std::vector<long>{3});
    // The filter reads the variables as they are now.
    MEMVAR_PUT("M_NR_MAG", Value(std::string("1")));
    MEMVAR_PUT("M_MIN", Value(num("0")));
    seen.clear();
    for (DBGOTOP(); !EOF(); DBSKIP()) seen.push_back(RECNO());
    EXPECT_EQ(seen, (std::vector<long>{2, 1}));
    DBCLEARFILTER();

    EXPECT_TRUE(__DBLOCATE("ilosc > M_MIN .AND. mag = '2'"));
    EXPECT_EQ(RECNO(), 3);
    EXPECT_THROW(__DBLOCATE("ilosc > M_NO_SUCH"), table::ExprError);
    MEMVAR_RELEASE("M_NR_MAG");
    MEMVAR_RELEASE("M_MIN");
}

TEST_F(EngineTest, LocateEvalAndDateFromTheConsoleClock) {
    DBSELECTAREA("as");
    ORDSETFOCUS(0);
    std::vector<long> hits;
    for (bool ok = __DBLOCATE([] { return FC("mag") == "1"; }); ok; ok = __DBCONTINUE()) hits.push_back(RECNO());
    EXPECT_EQ(hits, (std::vector<long>{1, 2}));
    EXPECT_FALSE(FOUND());

    Decimal total;
    EXPECT_EQ(DBEVAL([&] { total += FN("ilosc"); }, "mag = '1'"), 2);
    EXPECT_EQ(total, num("10"));
    EXPECT_EQ(DBEVAL([&] { total += FN("ilosc"); }, {}, {}, 0, 3), 1);
    EXPECT_EQ(total, num("14.5"));

    DBGOTO(2);
    ASSERT_TRUE(RLOCK());
    FIELDPUT("data", DATE());
    DBUNLOCK();
    EXPECT_TRUE(__DBLOCATE("data = DATE()"));
    EXPECT_EQ(RECNO(), 2);
}

TEST_F(EngineTest, DeletePackAndZapNeedExclusiveUse) {
    DBSELECTAREA("as");
    DBGOTO(2);
    EXPECT_THROW(DBDELETE(), table::LockRequired);
    ASSERT_TRUE(RLOCK());
    DBDELETE();
    EXPECT_TRUE(DELETED());
    DBUNLOCK();
    EXPECT_EQ(DBEVAL([] {}), 2) << "deleted records are hidden";
    ASSERT_TRUE(FLOCK());
    DBGOTO(2);
    DBRECALL();
    EXPECT_EQ(DBEVAL([] {}), 3);
    DBGOTO(2);
    DBDELETE();
    DBUNLOCK();
    EXPECT_THROW(__DBPACK(), table::NeedExclusive);
    EXPECT_THROW(__DBZAP(), table::NeedExclusive);

    DBCLOSEAREA();
    ASSERT_TRUE(DBUSEAREA(false, "24\\01\\as", "as", false));
    ORDLISTADD("24\\01\\as");
    __DBPACK();
    EXPECT_EQ(LASTREC(), 2);
    EXPECT_TRUE(DBSEEK(std::string("2MAKA")));
    EXPECT_EQ(RECNO(), 2);
    __DBZAP();
    EXPECT_EQ(LASTREC(), 0);
    EXPECT_TRUE(EOF());
}

TEST_F(EngineTest, CopyAppendAndTotal) {
    DBSELECTAREA("as");
    EXPECT_EQ(__DBCOPY("ROB\\XXX", {"mag", "indeks", "ilosc"}, "ilosc > 0"), 2);
    EXPECT_TRUE(std::filesystem::exists("rob/xxx.dbf"));

    // The entry lines take the cards' fields by name; the condition reads the source.
    DBSELECTAREA("dd");
    EXPECT_EQ(__DBAPP("rob\\xxx", {}, "mag = '1'"), 1);
    EXPECT_EQ(__DBAPP("rob\\xxx", {}, [] { return FN("ilosc") > Decimal(5); }), 1);
    EXPECT_EQ(SELECT(), 4);
    EXPECT_EQ(LASTREC(), 5);
    DBGOTO(4);
    EXPECT_EQ(FC("indeks"), "MAKA    ");
    EXPECT_EQ(FN("ilosc"), num("10"));
    EXPECT_TRUE(DBSEEK(std::string("1MAKA")));

    // Totals by warehouse over the lines in index order.
    EXPECT_EQ(__DBTOTAL("rob\\suma", "mag", {"ilosc"}), 2);
    DBSELECTAREA(0);
    ASSERT_TRUE(DBUSEAREA(false, "rob\\suma"));
    EXPECT_EQ(ALIAS(), "SUMA");
    DBGOTOP();
    EXPECT_EQ(FN("ilosc"), num("20"));
    DBSKIP();
    EXPECT_EQ(FC("mag"), "2");
    EXPECT_EQ(FN("ilosc"), num("0"));
}

}  // namespace
}  // namespace sklad
