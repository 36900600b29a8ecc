// Opening a period: the first lone start creates every table and index, later starts open them.
#include <sys/stat.h>

#include "catalogue_fixture.h"
#include "data/session.h"

using namespace sklad;
using namespace sklad::catalogue_fixture;

namespace {

ino_t inode(const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_ino : 0;
}

// Each area's alias and its index keys, order by order.
struct Expected {
    int area;
    const char* alias;
    std::vector<std::string> keys;
};

void expect_areas(const std::vector<Expected>& expected) {
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.alias);
        EXPECT_EQ(ALIAS(e.area), e.alias);
        DBSELECTAREA(e.area);
        for (std::size_t i = 0; i < e.keys.size(); ++i) EXPECT_EQ(INDEXKEY(static_cast<int>(i + 1)), e.keys[i]);
        EXPECT_EQ(INDEXKEY(static_cast<int>(e.keys.size() + 1)), "");
    }
}

}  // namespace

TEST_F(CatalogueTest, AFreshFolderGetsEveryTableWithItsLayoutAndIndexes) {
    ASSERT_TRUE(INIT_NTX());
    EXPECT_EQ(HH, "24\\01");
    for (const CatalogueTable& t : CATALOGUE()) {
        SCOPED_TRACE(t.alias);
        const std::string path = TABLE_PATH(t, "24\\01");
        if (!t.created()) {
            EXPECT_FALSE(fs::exists(TABLE_FILE(path)));
            continue;
        }
        EXPECT_EQ(fields_on_disk(path), layout_fields(t.layout(path, {})));
    }
    expect_areas({{2, "AS", {"mag+indeks", "nazwa"}},
                  {3, "ZO", {"odb", "regon+STR(RECNO(),4)"}},
                  {103, "ZD", {"odb"}},
                  {104, "ZP", {"odb"}},
                  {203, "ZF", {"odb"}},
                  {204, "ZN", {"odb"}},
                  {4, "DD", {"mag+indeks+lp"}},
                  {5, "DOW", {"rd+nrd+lp", "DTOS(data)+IIF(r_p=\"P\",\"A\",r_p)+s_z+rd+nrd+lp", "DTOS(data)+mag+indeks"}},
                  {6, "DOWOD", {"rd+nrd+STR(RECNO(),6)", "DTOS(data)+r_p+s_z+rd+nrd+STR(RECNO(),6)"}},
                  {7, "FA_N",
                   {"rd+nrd+STR(RECNO(),6)",
                    "kto+odb+IIF(mag<>\"0\",rd+\"-\"+nrd,SUBSTR(tresc,1,12))+STR(obwn+obma,15,2)+STR(RECNO(),6)"}},
                  {8, "FA_NX", {"DTOS(r_data)+r_czas+fa_nx->zap+STR(RECNO(),6)"}},
                  {9, "SLOW", {"rd"}},
                  {10, "PK", {"nrkon"}}});
    EXPECT_EQ(ALIAS(15), "");  // no QR codes without KOD_QR.TXT
    DBSELECTAREA(4);
    EXPECT_EQ(DBSTRUCT(), layout_fields(STRUKTURA_DD("rob\\d03")));
    EXPECT_EQ(fields_on_disk("rob\\fa_n03"), layout_fields(STRUKTURA_ROB_FA_N("rob\\fa_n03")));
    DBSELECTAREA(10);
    EXPECT_EQ(LASTREC(), 1);  // an empty pk gets one blank record
    EXPECT_EQ(PLIK, "rob\\wydruk03.prn");
    EXPECT_FALSE(FIRMA_WYLACZNIE());  // the other copies may start now
    EXPECT_EQ(JEST_NODB1, "T");
    EXPECT_FALSE(JEST_KOD13);
    EXPECT_EQ(LEN_KOD13, 13);
    EXPECT_EQ(I_AS_GRUPA, 0);
    EXPECT_EQ(JEST_SWW, "T");
    EXPECT_EQ(JEST_OPERATOR, "T");
    EXPECT_TRUE(JEST_POZIOM);

    // The next start of another copy opens the same files and rebuilds nothing.
    const ino_t index_before = inode("24/01/dow2.ntx");
    RESET_WORKAREAS();
    DBSELECTAREA(1);
    ASSERT_TRUE(NET_USE("firma", "firma", false, 1));
    ASSERT_TRUE(INIT_DBF());
    EXPECT_EQ(inode("24/01/dow2.ntx"), index_before);
    EXPECT_EQ(ALIAS(7), "FA_N");
}
