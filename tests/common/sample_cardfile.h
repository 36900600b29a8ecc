#pragma once
// A sample card-file screen over a generated table, as a master-table screen states it: columns,
// form fields, form routines and keys. The table `towary` (alias TW) holds 300 items in two
// warehouses, ordered by warehouse + code (order 1) and by name (order 2); `grupy` (alias GR)
// holds 40 item groups, picked with F1 on the group field (POMOC 7).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_screen.h"
#include "common/browse_list.h"
#include "common/cardfile.h"
#include "common/console.h"
#include "common/dialogs.h"
#include "common/forms.h"
#include "common/help.h"
#include "data/access.h"
#include "data/engine.h"
#include "platform/table/workarea_fixture.h"

namespace sklad::sample {

// ---- the screen ---------------------------------------------------------------------------

inline const std::vector<std::string> kTwFields = {"MAG", "INDEKS", "NAZWA", "JM", "GRUPA", "ILOSC", "CENA"};
inline constexpr int kGroupHelp = 7;

inline void TW_ED_KOD(std::string_view colour) {
    DISPOUTAT(0, 0, "Magazyn           :");
    __GET(0, 20, "M_MAG", "!", {}, {}, colour);
    DISPOUTAT(0, 30, "Indeks :");
    __GET(0, 39, "M_INDEKS", "!!!!!!!!", {}, {}, colour);
}

inline void TW_ED_RESZTA(std::string_view colour) {
    DISPOUTAT(2, 0, "Nazwa             :");
    __GET(2, 20, "M_NAZWA", "@!", {}, {}, colour);
    DISPOUTAT(3, 0, "Jednostka miary   :");
    __GET(3, 20, "M_JM", "!!!", {}, {}, colour);
    DISPOUTAT(3, 30, "Grupa :");
    __GET(3, 38, "M_GRUPA", "!!!!!!!!", [] { return (POMOC = 0), true; }, [] { return (POMOC = kGroupHelp), true; },
          colour);
    DISPOUTAT(5, 0, "Cena              :");
    __GET(5, 20, "M_CENA", "9999999.99", {}, {}, colour);
    DISPOUTAT(7, 52, "Na stanie :");
    __GET(7, 65, "M_ILOSC", "99999999.999", {}, [] { return false; }, colour);  // shown, never typed
}

inline int EDIT_TW() {
    FORM_READ(kTwFields);
    FORM_EDIT({TW_ED_KOD, TW_ED_RESZTA});
    FORM_WRITE(kTwFields, 30);
    return DE_REFRESH;
}

inline int DOPISZ_TW() {
    FORM_BLANK(kTwFields);
    FORM_EDIT({TW_ED_KOD, TW_ED_RESZTA});
    if (std::get<std::string>(*MEMVAR_GET("M_INDEKS")) != std::string(8, ' ') && ADD_REC(15)) FORM_WRITE(kTwFields, 15);
    return DE_REFRESH;
}

inline int FILTR_TW() {
    DBSETFILTER("MAG = '2'");
    DBGOTOP();
    FILTRUJ = true;
    return DE_ABORT;
}

inline int DRUK_TW() {
    OKNO("CZY DRUKOWAC KARTOTEKI ?", "N");
    return DE_REFRESH;
}

inline bool DBU_TW() {
    static const CardFile screen = [] {
        CardFile s;
        s.title = "           KARTOTEKA TOWAROW                                            F1-pomoc";
        s.keys_line = "F4-Edycja    F5-Dopisanie    F6-Filtr    F9-Druk";
        s.keys_line_readonly = "                             F6-Filtr    F9-Druk";
        s.columns = {"MAG", "INDEKS", "NAZWA", "JM", "ILOSC", "CENA"};
        s.pictures = {"!", "!!!!!!!!", "", "!!!", "99999999.999", "9999999.99"};
        s.headings = {"M", "Indeks", "Nazwa", "jm", "       Ilosc", "      Cena"};
        s.fields = kTwFields;
        s.form = {TW_ED_KOD, TW_ED_RESZTA};
        s.search = {{9, 0, "", true, {}}, {30, 11, "", false, {}}};
        s.keys = {{K_F4, EDIT_TW, true}, {K_F5, DOPISZ_TW, true}, {K_F6, FILTR_TW}, {K_F9, DRUK_TW}};
        return s;
    }();
    return CARDFILE(screen);
}

// The group picker: a framed list over `grupy`; Enter puts the group's code into the field and
// moves the read on.
inline void GR_HELP() {
    const int area = SELECT();
    DBSELECTAREA("GR");
    BrowseList l = BROWSE_LIST(3, 30, 20, 70);
    l.browse->add_column(TBCOLUMNNEW("Kod", "KOD"));
    l.browse->add_column(TBCOLUMNNEW("Nazwa grupy", "NAZWA"));
    l.search.orders = {{8, 11, "Grupa     :", false, {}}};
    if (BROWSE_LOOP(l)) {
        MEMVAR_PUT("M_GRUPA", FIELDGET("KOD"));
        __KEYBOARD({K_ENTER});
    }
    DBSELECTAREA(area);
}

// ---- the data -----------------------------------------------------------------------------

inline std::string code(int i) {
    std::string n = std::to_string(i);
    return "A" + std::string(4 - n.size(), '0') + n;
}

// Items 1 to 200 in warehouse 1, 201 to 300 in warehouse 2; a few names begin with Polish letters.
inline std::string name(int i) {
    switch (i) {
        case 150: return std::string("ŁOPATA"_852);
        case 151: return std::string("ŚRUBA M6"_852);
        case 152: return std::string("ŻELAZKO"_852);
        default: return "TOWAR " + code(i).substr(2);
    }
}

class CardFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RESET_WORKAREAS();
        DBCREATE("grupy", {{"KOD", FieldType::Character, 8, 0}, {"NAZWA", FieldType::Character, 20, 0}});
        DBSELECTAREA(3);
        ASSERT_TRUE(DBUSEAREA(false, "grupy", "gr", false));
        for (int i = 1; i <= 40; ++i) {
            ASSERT_TRUE(DBAPPEND());
            FIELDPUT("KOD", "G" + code(i).substr(1));
            FIELDPUT("NAZWA", "GRUPA NR " + std::to_string(i));
        }
        DBCREATEINDEX("grupy", "KOD");
        DBCREATE("towary", {{"MAG", FieldType::Character, 1, 0},
                            {"INDEKS", FieldType::Character, 8, 0},
                            {"NAZWA", FieldType::Character, 30, 0},
                            {"JM", FieldType::Character, 3, 0},
                            {"GRUPA", FieldType::Character, 8, 0},
                            {"ILOSC", FieldType::Numeric, 12, 3},
                            {"CENA", FieldType::Numeric, 10, 2}});
        DBSELECTAREA(2);
        ASSERT_TRUE(DBUSEAREA(false, "towary", "tw", false));
        for (int i = 1; i <= 300; ++i) {
            ASSERT_TRUE(DBAPPEND());
            FIELDPUT("MAG", std::string(i <= 200 ? "1" : "2"));
            FIELDPUT("INDEKS", code(i));
            FIELDPUT("NAZWA", name(i));
            FIELDPUT("JM", std::string("SZT"));
            FIELDPUT("ILOSC", Decimal(i));
            FIELDPUT("CENA", Decimal(i) * Decimal(2));
        }
        DBCREATEINDEX("tw2", "UPPER(NAZWA)");
        DBCREATEINDEX("tw1", "MAG+INDEKS");
        DBCLOSEAREA();
        ASSERT_TRUE(DBUSEAREA(false, "towary", "tw"));
        ORDLISTADD("tw1");
        ORDLISTADD("tw2");
        HELP_REGISTER(kGroupHelp, GR_HELP);
        SETKEY(K_F1, HELP);  // as start-up binds it
        watch();
    }
    void TearDown() override {
        SETKEY(K_ALT_X, {});
        SETKEY(K_F1, {});
        HELP_REGISTER(kGroupHelp, {});
        RESET_WORKAREAS();
    }

    // The record under the pointer.
    std::string current() { return FC("MAG") + table_fixture::text(FC("INDEKS")); }
    std::string field(const char* name) { return table_fixture::text(FIELDGET(name)); }

    // What the screen shows at a moment: Alt-X (a hot key) notes it from inside any wait.
    struct Seen {
        std::string record;  // under the pointer
        int lit_row;         // the list row in the row colour, -1 when none
        std::string code;    // the form's item code
        std::string line;    // row 24
    };
    std::vector<Seen> seen;
    void watch() {
        SETKEY(K_ALT_X, [this] {
            int lit = -1;
            for (int r = 17; r <= 22; ++r)
                if (hc.colour(r, 0) == "W+/R" && hc.colour(r, 79) == "W+/R") lit = r;
            seen.push_back({current(), lit, hc.text(0, 39, 8), hc.row_trimmed(24)});
        });
    }

    table_fixture::ScratchFolder dir{true};
    testing::AppScreen hc;
};

}  // namespace sklad::sample
