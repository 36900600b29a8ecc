// Marker files and existing fields switch optional layout groups and the stock-card orders; an
// older layout is upgraded with every record kept.
#include "catalogue_fixture.h"
#include "common/memvar.h"
#include "data/session.h"

using namespace sklad;
using namespace sklad::catalogue_fixture;

namespace {

const FieldDef* field(const Fields& fields, std::string_view name) { return FIND_FIELD(fields, name); }

std::vector<std::string> as_keys() {
    DBSELECTAREA("as");
    std::vector<std::string> keys;
    for (int order = 1; !INDEXKEY(order).empty(); ++order) keys.push_back(INDEXKEY(order));
    return keys;
}

}  // namespace

TEST_F(CatalogueTest, MarkerFilesSwitchTheStockCardOrders) {
    struct Case {
        std::vector<const char*> markers;
        std::vector<std::string> keys;
        int group_order;
    } cases[] = {
        {{}, {"mag+indeks", "nazwa"}, 0},
        {{"KOD13.TXT"}, {"mag+indeks", "DESCEND(kod13)", "nazwa"}, 0},
        {{"KOD13.TXT", "BUTY.TXT"}, {"mag+indeks", "DESCEND(kod13)", "indeks+mag"}, 0},
        {{"AS_GRUPA.TXT"}, {"mag+indeks", "nazwa", "t_w_o_k+mag+indeks"}, 3},
        {{"KOD13.TXT", "AS_GRUPA.TXT", "AS_ATEST.TXT"},
         {"mag+indeks", "DESCEND(kod13)", "nazwa", "t_w_o_k+mag+indeks", "atest+mag+indeks"},
         5},
        {{"AS_CENA.TXT"}, {"mag+indeks", "nazwa", "mag+STR(cena2,7,2)"}, 3},
        {{"SUR.TXT"}, {"mag+indeks", "nazwa", "mag+sur+DTOS(data_pz)+STR(RECNO(),6)"}, 0},
        {{"SUR.TXT", "SUR_MAG.TXT"}, {"mag+indeks", "nazwa", "sur+mag+indeks"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.markers.empty() ? "no markers" : c.markers.back());
        for (const char* m : c.markers) touch(m);
        restart();
        ASSERT_TRUE(INIT_NTX());
        EXPECT_EQ(as_keys(), c.keys);
        EXPECT_EQ(I_AS_GRUPA, c.group_order);
        for (const char* m : c.markers) fs::remove(m);
        // a field the cards have keeps its group when the marker goes; start each case afresh
        RESET_WORKAREAS();
        fs::remove_all("24");
        take_firm();
    }
}

TEST_F(CatalogueTest, BarCodesAddedToAnInstallationKeepTheCardsAndMoveTheNameOrder) {
    ASSERT_TRUE(INIT_NTX());
    add_records("24\\01\\as", {{{"MAG", Value(std::string("1"))}, {"INDEKS", Value(std::string("MAKA"))},
                                {"NAZWA", Value(std::string("Maka pszenna"))}, {"ILOSC", Value(num("12.5"))}}});
    touch("KOD13.TXT");
    touch("KOD16.TXT");
    restart();
    ASSERT_TRUE(INIT_NTX());
    EXPECT_TRUE(JEST_KOD13);
    EXPECT_EQ(LEN_KOD13, 16);
    EXPECT_EQ(as_keys()[1], "DESCEND(kod13)");
    EXPECT_EQ(as_keys()[2], "nazwa");
    DBSELECTAREA("as");
    ASSERT_EQ(LASTREC(), 1);
    DBGOTO(1);
    EXPECT_EQ(trimmed(FC("NAZWA")), "Maka pszenna");
    EXPECT_EQ(FN("ILOSC"), num("12.5"));
    // the document lines follow the cards with their own bar-code field
    DBSELECTAREA("dow");
    EXPECT_EQ(DBSTRUCT()[static_cast<std::size_t>(FIELDPOS("KOD13") - 1)].width, 16);

    // The marker gone, the cards keep their bar codes at the next rebuild.
    fs::remove("KOD13.TXT");
    restart();
    ASSERT_TRUE(INIT_NTX());
    EXPECT_TRUE(JEST_KOD13);

    // Twenty-digit codes: the next start of a lone copy widens them before opening.
    touch("KOD20.TXT");
    restart();
    ASSERT_TRUE(INIT_DBF());
    EXPECT_EQ(LEN_KOD13, 20);
    DBSELECTAREA("as");
    DBGOTO(1);
    EXPECT_EQ(trimmed(FC("NAZWA")), "Maka pszenna");
}

TEST_F(CatalogueTest, TheRepairArgumentRebuildsEveryTableAndTakesInItsSecondPart) {
    ASSERT_TRUE(INIT_NTX());
    add_records("24\\01\\slow", {{{"RD", Value(std::string("FV "))}}}, false, 9);
    DBCREATE("24\\01\\slow_2", {{"RD", FieldType::Character, 3, 0}, {"OPIS", FieldType::Character, 20, 0}});
    add_records("24\\01\\slow_2", {{{"RD", Value(std::string("PA "))}, {"OPIS", Value(std::string("Paragon"))}}});
    MEMVAR_NEW("WWW", Value(std::string("3")));
    restart();
    const bool rebuilt = INIT_NTX();
    MEMVAR_NEW("WWW", Value(std::string()));
    ASSERT_TRUE(rebuilt);
    DBSELECTAREA("slow");
    EXPECT_EQ(LASTREC(), 2);
    EXPECT_TRUE(DBSEEK(Value(std::string("PA "))));
    EXPECT_EQ(trimmed(FC("OPIS")), "Paragon");
    EXPECT_FALSE(fs::exists("24/01/slow_2.dbf"));
    EXPECT_TRUE(fs::exists("24/01/slow_2.db_"));
}

TEST_F(CatalogueTest, TheFirmTableHasAsManyWorkstationSlotsAsItsMarkerSays) {
    struct Case {
        const char* marker;
        int slots;
    } cases[] = {{nullptr, 30}, {"ST99.TXT", 99}, {"ST2.TXT", 2}};
    RESET_WORKAREAS();
    for (const Case& c : cases) {
        if (c.marker) touch(c.marker);
        TWORZ_FIRMA();
        EXPECT_EQ(FIND_FIELD(fields_on_disk("firma"), "ST")->width, c.slots);
        if (c.marker) fs::remove(c.marker);
    }
    TWORZ_FIRMA(5);
    EXPECT_EQ(FIND_FIELD(fields_on_disk("firma"), "ST")->width, 5);
}

TEST_F(CatalogueTest, MarkerFilesSwitchOptionalGroupsAndWidths) {
    for (const char* m : {"PARTIA.TXT", "PARTIA10.TXT", "VAT_13_5.TXT", "NODB2.TXT", "UODB35.TXT", "DD_CENA.TXT", "KOD_QR.TXT"})
        touch(m);
    ASSERT_TRUE(INIT_NTX());
    const Fields as = fields_on_disk("24\\01\\as");
    ASSERT_NE(field(as, "PARTIA4"), nullptr);
    EXPECT_EQ(field(as, "PARTIA")->width, 10);
    EXPECT_EQ(field(as, "PODATEK0")->width, 4);
    EXPECT_NE(field(as, "PARTIA_SL"), nullptr);
    DBSELECTAREA("zo");
    EXPECT_EQ(DBSTRUCT()[static_cast<std::size_t>(FIELDPOS("UODB") - 1)].width, 35);
    EXPECT_GT(FIELDPOS("NODB2"), FIELDPOS("NODB1"));
    EXPECT_GT(FIELDPOS("KOD_POD"), 0);
    DBSELECTAREA("zd");
    EXPECT_EQ(DBSTRUCT()[static_cast<std::size_t>(FIELDPOS("UODB") - 1)].width, 25);
    DBSELECTAREA(4);
    EXPECT_EQ(INDEXKEY(1), "mag+indeks+STR(cena,10,2)+lp");
    EXPECT_EQ(DBSTRUCT()[static_cast<std::size_t>(FIELDPOS("PARTIA") - 1)].width, 10);
    EXPECT_EQ(ALIAS(14), "DD_QR");
    EXPECT_EQ(ALIAS(15), "DOW_QR");  // the marker makes the QR table, which is then opened
    DBSELECTAREA(15);
    EXPECT_EQ(INDEXKEY(1), "rd+nrd+mag+indeks+STR(RECNO(),6)");
}

TEST_F(CatalogueTest, AnOlderLayoutIsUpgradedWithEveryRecordKept) {
    fs::create_directories("24/01");
    // Lines of an older program: no CENA_B, a narrow name, one deleted line.
    DBCREATE("24\\01\\dow", {{"RD", FieldType::Character, 3, 0},
                             {"NRD", FieldType::Character, 8, 0},
                             {"LP", FieldType::Character, 3, 0},
                             {"NAZWA", FieldType::Character, 20, 0},
                             {"ILOSC", FieldType::Numeric, 12, 3},
                             {"DATA", FieldType::Date, 8, 0}});
    std::vector<std::vector<std::pair<std::string, Value>>> lines;
    for (int i = 1; i <= 5; ++i)
        lines.push_back({{"RD", Value(std::string("FV "))},
                         {"NRD", Value(std::string("       ") + std::to_string(i))},
                         {"LP", Value(std::string("  1"))},
                         {"NAZWA", Value(std::string("Towar ") + std::to_string(i))},
                         {"ILOSC", Value(Decimal(i * 1000))},
                         {"DATA", Value(Date::from_ymd(2024, 1, i))}});
    add_records("24\\01\\dow", lines, true);
    // Customers whose town is wider than today's layout, without E_MAIL; a deleted one stays.
    DBCREATE("24\\01\\zo", {{"ODB", FieldType::Character, 8, 0},
                            {"MODB", FieldType::Character, 30, 0},
                            {"OBWN", FieldType::Numeric, 12, 2}});
    add_records("24\\01\\zo", {{{"ODB", Value(std::string("K1"))},
                                {"MODB", Value(std::string("Konstantynow Lodzki - Zachod"))},
                                {"OBWN", Value(num("1234567.89"))}},
                               {{"ODB", Value(std::string("K2"))}}},
                true);

    ASSERT_TRUE(INIT_NTX());
    DBSELECTAREA("dow");
    EXPECT_EQ(LASTREC(), 4);  // the deleted line is left out
    EXPECT_GT(FIELDPOS("CENA_B"), 0);
    EXPECT_EQ(DBSTRUCT()[static_cast<std::size_t>(FIELDPOS("NAZWA") - 1)].width, 30);
    for (int i = 1; i <= 4; ++i) {
        DBGOTO(i);
        EXPECT_EQ(trimmed(FC("NAZWA")), "Towar " + std::to_string(i));
        EXPECT_EQ(FN("ILOSC"), Decimal(i * 1000));
        EXPECT_EQ(FD("DATA"), Date::from_ymd(2024, 1, i));
    }
    DBSELECTAREA("zo");
    EXPECT_GT(FIELDPOS("E_MAIL"), 0);
    EXPECT_EQ(DBSTRUCT()[static_cast<std::size_t>(FIELDPOS("MODB") - 1)].width, 30);  // never narrowed
    EXPECT_EQ(LASTREC(), 2);                                                          // the deleted one kept
    DBGOTO(1);
    EXPECT_EQ(trimmed(FC("MODB")), "Konstantynow Lodzki - Zachod");
    EXPECT_EQ(FN("OBWN"), num("1234567.89"));
    DBGOTO(2);
    EXPECT_TRUE(DELETED());
    EXPECT_FALSE(fs::exists("24/01/dow.new"));
}
