// The user parameter editor and the document-kind check its fields use.
#include <utility>

#include "common/console.h"
#include "data/access.h"
#include "data/engine.h"
#include "operators/rights.h"
#include "platform/text/cp852.h"
#include "shell/editors.h"
#include "shell/session.h"
#include "shell/settings_form.h"
#include "shell/vat.h"

namespace sklad {

namespace {

// The cash counters and their fields in the firm record.
const std::pair<int*, const char*> kCounters[] = {{&JF_KP, "KP"}, {&JF_KW, "KW"},       {&JF_NO, "NO"},
                                                  {&JF_KP_KW, "KP_KW"}, {&JF_KP_, "KP_"}, {&JF_WE, "WE"}};

// Runs `body` in the area of `alias`, putting back the selected area; false when it is not open.
template <class F>
bool in_area(std::string_view alias, F body) {
    const int area = SELECT(alias);
    if (area == 0) return false;
    const int was = SELECT();
    DBSELECTAREA(area);
    body();
    DBSELECTAREA(was);
    return true;
}

// The counters as the firm record holds them now, so the editor shows what other copies drew.
void read_counters() {
    in_area("firma", [] {
        DBGOTOP();
        if (EOF()) return;
        for (auto [var, field] : kCounters)
            if (FIELDPOS(field) > 0) *var = static_cast<int>(FN(field).to_int());
    });
}

// The drive letter and the counters the user changed go to the firm record, read afresh under its
// lock: a counter another copy advanced meanwhile is never put back.
void write_firm(const std::vector<int>& counters_at_start) {
    in_area("firma", [&] {
        DBGOTOP();
        if (EOF()) return;
        bool wanted = FIELDPOS("AB") > 0 && FC("AB") != J_NAPED;
        for (std::size_t i = 0; i < std::size(kCounters); ++i) wanted |= *kCounters[i].first != counters_at_start[i];
        if (!wanted || !REC_LOCK(15)) return;
        if (FIELDPOS("AB") > 0) FIELDPUT("AB", J_NAPED);
        for (std::size_t i = 0; i < std::size(kCounters); ++i) {
            auto [var, field] = kCounters[i];
            if (*var != counters_at_start[i] && FIELDPOS(field) > 0) FIELDPUT(field, Decimal(*var));
        }
        DBCOMMIT();
        DBUNLOCK();
    });
}

// Settings the stock-card table cannot carry go back to what it can.
void fit_stock_cards() {
    in_area("as", [] {
        if (FIELDPOS("CENAM") == 0) J_POZIOM = 1;
        if (FIELDPOS("ATEST") == 0) J_ATEST = "N";
        for (const FieldDef& f : DBSTRUCT())
            if (f.name == "ILOSC" && f.decimals == 2) J_I3 = "2";
    });
}

// No blanks or "0"; an empty list holds a character no warehouse code is.
void clean_consignment_warehouses() {
    std::erase_if(J_MAG_KOMI, [](char c) { return c == ' ' || c == '0'; });
    if (J_MAG_KOMI.empty()) J_MAG_KOMI = "\xB3";
}

void recompute_fiscal_printer() {
    JEST_DF_300 = M_DRUKARKA.find("COM") != std::string::npos || M_DRUKARKA.find("DF_IP") != std::string::npos ||
                  J_DF.find_first_not_of(' ') != std::string::npos;
}

void page_heading() {
    std::string line(80, "─"_852[0]);
    const std::string title = " PARAMETRY PROGRAMU c.d. ";
    line.replace(28, title.size(), title);
    DISPOUTAT(0, 0, line);
}

}  // namespace

bool JEST_RD() { return JEST_RD(J_RD); }

bool JEST_RD(std::string_view kind) {
    bool known = true;
    in_area("slow", [&] {
        const long rec = RECNO();
        DBGOTOP();
        if (!EOF()) {
            std::string rd(kind);
            rd.resize(3, ' ');
            if (INDEXORD() > 0)
                known = DBSEEK(rd);
            else
                known = __DBLOCATE([&] { return FC("RD") == rd; });
        }
        DBGOTO(rec);
    });
    return known;
}

bool PARAMETRY_PROGRAMU(int /*mode*/) {
    const ScreenImage screen = SAVESCREEN();
    // Keys another version's file lacks take their defaults, not what this copy held before.
    for (const SettingDef& d : SETTINGS())
        if (d.saved() && d.page != SettingPage::NIE && d.page != SettingPage::ADM) d.reset();
    CZYTAJ_PARAMETR(ModelDrukarki::OPERATORA);
    J_ZAOKRAGL = "N";
    for (SettingPage p : {SettingPage::P1, SettingPage::P2, SettingPage::P3}) WYROWNAJ_PARAMETRY(p);
    read_counters();
    std::vector<int> counters_at_start;
    for (auto [var, field] : kCounters) counters_at_start.push_back(*var);
    const StanParametrow at_start = PARAMETRY_STAN();

    CLS();
    EDYTUJ_STRONE(SettingPage::P1, at_start);
    CLS();
    EDYTUJ_STRONE(SettingPage::P2, at_start);
    CLS();
    page_heading();
    EDYTUJ_STRONE(SettingPage::P3, at_start);

    clean_consignment_warehouses();
    fit_stock_cards();
    recompute_fiscal_printer();
    write_firm(counters_at_start);
    VAT_DOMYSLNY(0);
    ZAPISZ_PARAMETR(PARAMETRY_ZMIENIONE(at_start));
    ZAPISZ_PARAMETR_TXT();
    J_ZAKUPU = "T";
    RESTSCREEN(screen);
    return true;
}

}  // namespace sklad
