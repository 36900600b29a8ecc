// The workstation profile of an operator (F3 in the operator list): printer description,
// warehouses, fiscal register, default document kind, mail server, and on a second box the
// monthly revenue, cost and commission figures.
#include <map>
#include <vector>

#include "common/console.h"
#include "common/forms.h"
#include "data/access.h"
#include "data/engine.h"
#include "operators/operators.h"
#include "operators/record.h"

namespace sklad {

using namespace operators_detail;

namespace {

using Values = std::map<std::string, Value>;

void pole_get(int row, int col, const std::string& field, Values& work, std::string_view picture,
              std::function<bool()> valid = {}, std::function<bool()> when = {}) {
    Value* v = &work[field];
    __GET(row, col, field, [v] { return *v; }, [v](const Value& x) { *v = x; }, picture, std::move(valid),
          std::move(when));
}

std::string tekst(const Values& work, const std::string& field) {
    const auto it = work.find(field);
    const auto* s = it == work.end() ? nullptr : std::get_if<std::string>(&it->second);
    return s != nullptr ? *s : std::string();
}

// Writes the fields whose value differs from the record's now; false when the lock failed.
bool zapisz_zmienione(const Values& work) {
    if (EOF() || !REC_LOCK(20)) return false;
    for (const auto& [field, value] : work)
        if (FIELDPOS(field) > 0 && FIELDGET(field) != value) FIELDPUT(field, value);
    DBCOMMIT();
    DBUNLOCK();
    return true;
}

std::string miesiac(const char* group, int m) { return group + std::string(m < 10 ? "0" : "") + std::to_string(m); }

// The monthly figures, in a box over the list.
void miesieczne() {
    Values work;
    for (int m = 1; m <= 12; ++m)
        for (const char* group : {"P", "K", "M"})
            if (FIELDPOS(miesiac(group, m)) > 0) work[miesiac(group, m)] = FIELDGET(miesiac(group, m));
    if (work.empty()) return;
    DISPBOX(4, 46, 19, 73, 1);
    SCROLL(5, 47, 18, 72);
    DISPOUTAT(5, 48, "PRZYCHODY");
    DISPOUTAT(5, 59, "KOSZTY");
    DISPOUTAT(5, 67, "KURS");
    for (int m = 1; m <= 12; ++m) {
        const int row = 6 + m;
        DISPOUTAT(row, 47, miesiac("", m));
        if (work.count(miesiac("P", m))) pole_get(row, 50, miesiac("P", m), work, "999999");
        if (work.count(miesiac("K", m))) pole_get(row, 59, miesiac("K", m), work, "999999");
        if (work.count(miesiac("M", m))) pole_get(row, 68, miesiac("M", m), work, "999");
    }
    READMODAL();
    zapisz_zmienione(work);
}

}  // namespace

void USTAL_DRUKARKE() {
    Values work;
    for (const char* field : {"DRUKARKA", "NR_MAG", "NR_KASY", "RD", "SMTP"})
        if (FIELDPOS(field) > 0) work[field] = FIELDGET(field);
    const bool kasa_fiskalna = work.count("NR_KASY") > 0;
    SCROLL(20, 0, 22, 79);
    auto fiskalna = [&work] {
        const std::string d = tekst(work, "DRUKARKA");
        return d.find("COM") != std::string::npos || d.find("DF_IP") != std::string::npos;
    };
    if (work.count("DRUKARKA")) {
        DISPOUTAT(20, 0, "Jaka drukarka");
        pole_get(20, 14, "DRUKARKA", work, "@!");
    }
    if (work.count("NR_MAG")) {
        DISPOUTAT(20, 45, "Nr mag");
        pole_get(20, 52, "NR_MAG", work, "@!");
    }
    if (kasa_fiskalna) {
        DISPOUTAT(21, 0, "Nr kasy fiskalnej");
        pole_get(21, 18, "NR_KASY", work, "!", [&work] { return !trim(tekst(work, "NR_KASY")).empty(); }, fiskalna);
    }
    if (work.count("RD")) {
        DISPOUTAT(21, 46, "Rd :");
        pole_get(21, 51, "RD", work, "@!");
    }
    if (work.count("SMTP")) {
        DISPOUTAT(22, 0, "Server smtp: ");
        pole_get(22, 13, "SMTP", work, "");
    }
    SETCURSOR(SC_NORMAL);
    READMODAL();
    if (LASTKEY() == K_PGDN) miesieczne();
    SETCURSOR(SC_NONE);

    if (work.count("NR_MAG") && trim(tekst(work, "NR_MAG")) == "0") work["NR_MAG"] = Value(pad("", tekst(work, "NR_MAG").size()));
    if (kasa_fiskalna && trim(tekst(work, "NR_KASY")).empty()) work["NR_KASY"] = Value(std::string("1"));
    zapisz_zmienione(work);
}

}  // namespace sklad
