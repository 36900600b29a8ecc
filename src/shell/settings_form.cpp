#include "shell/settings_form.h"

#include "common/console.h"
#include "common/dialogs.h"
#include "common/forms.h"
#include "data/access.h"
#include "operators/rights.h"
#include "platform/text/cp852.h"
#include "shell/editors.h"
#include "shell/vat.h"

namespace sklad {

namespace {

using platform::Value;

std::string text_of(const SettingDef& d) {
    Value v = d.get();
    if (auto s = std::get_if<std::string>(&v)) return *s;
    return "";
}

Decimal number_of(const SettingDef& d) {
    Value v = d.get();
    if (auto n = std::get_if<Decimal>(&v)) return *n;
    return Decimal(0);
}

std::string trimmed(std::string_view s) {
    auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return "";
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

bool shown(const SettingDef& d) {
    if (d.when.empty()) return true;
    if (d.when == "R1") return PRAWA(1);
    if (d.when == "NZ") return !number_of(d).is_zero();
    return FILE_X(d.when);
}

// The prompt of the fiscal printer field names the model in use.
std::string prompt_of(const SettingDef& d) {
    std::string p(d.prompt);
    if (std::string_view(d.name) == "J_DF") {
        const char* model = J_DF_NAZWA.find("FP-600") != std::string::npos   ? "FP-600"
                            : J_DF_NAZWA.find("ORHMET") != std::string::npos ? "ORHMET"
                                                                             : "fiskalnej";
        p += std::string(" ") + model + " :";
    }
    return p;
}

std::string picture_of(const SettingDef& d, int col) {
    if (d.type == 'N') {
        std::string p(static_cast<std::size_t>(d.width - (d.decimals ? d.decimals + 1 : 0)), '9');
        if (d.decimals) p += "." + std::string(static_cast<std::size_t>(d.decimals), '9');
        return p;
    }
    if (d.width == 1) return "!";
    std::string p = d.check.empty() ? "" : "@!";
    if (col + d.width > 80) p += (p.empty() ? "@S" : "S") + std::to_string(80 - col);
    return p;
}

void bell() { TONE(880, 1); }

bool refuse() {
    bell();
    return false;
}

}  // namespace

void WYROWNAJ_PARAMETRY(SettingPage page) {
    for (const SettingDef& d : SETTINGS()) {
        if (d.page != page || d.type != 'C') continue;
        std::string v = text_of(d);
        if (v.size() < static_cast<std::size_t>(d.width)) {
            v.resize(static_cast<std::size_t>(d.width), ' ');
            d.set(v);
        }
    }
}

bool SPRAWDZ_PARAMETR(const SettingDef& d, const StanParametrow& at_start) {
    const std::string_view check = d.check;
    if (check.empty()) return true;
    const std::string v = text_of(d);
    if (check.front() != '@') return !v.empty() && check.find(v[0]) != std::string_view::npos ? true : refuse();
    if (check == "@RD") {
        if (JEST_RD(v)) return true;
        bell();
        bell();
        _OKNO_("BRAK " + v + std::string(" W SŁOWNIKU !"_852));
        return false;
    }
    if (check == "@KP") return v.rfind("KP", 0) == 0 || refuse();
    if (check == "@KW") return v.rfind("KW", 0) == 0 || refuse();
    if (check == "@F") return v.rfind("F", 0) == 0 || refuse();
    if (check == "@MAG") return (trimmed(v) != "" && trimmed(v) != "0") || refuse();
    if (check == "@NO0") return v.find('0') == std::string::npos || refuse();
    if (check == "@LIT") return (v.size() == 1 && v[0] >= 'A' && v[0] <= 'Z') || refuse();
    if (check == "@OPA") return !trimmed(v).empty() || refuse();
    if (check == "@VAT") return VAT_DOMYSLNY();
    if (check == "@PTU") {
        std::string slot = v;
        SPR_PTU(slot);
        d.set(slot);
        return true;
    }
    if (check == "@KOD13W") {
        if (trimmed(v).empty()) d.set(std::string("XX"));
        return true;
    }
    const Decimal n = number_of(d);
    if (check == "@GE0") return !n.negative() || refuse();
    if (check == "@POZIOM") return (n >= Decimal(1) && n <= Decimal(10)) || refuse();
    if (check == "@MARZA") {
        if (n.negative() || n > Decimal(200)) return refuse();
        auto old = at_start.find(d.name);
        const Decimal was = old == at_start.end() ? Decimal(0) : Decimal::val(old->second);
        // A wrong supervisor password puts the old margin back, without a word.
        if (n != was && !HASLO(J_BOSS)) d.set(was);
        return true;
    }
    return true;
}

void EDYTUJ_STRONE(SettingPage page, const StanParametrow& at_start) {
    for (const SettingDef& d : SETTINGS()) {
        if (d.page != page || !shown(d)) continue;
        const std::string prompt = prompt_of(d);
        if (!prompt.empty()) DISPOUTAT(d.row, d.prompt_col, prompt);
        int col = d.field_col;
        if (d.check == "@VAT" && FILE_X("VAT_13_5.TXT")) col -= 2;
        const SettingDef* s = &d;
        __GET(
            d.row, col, d.name, [s] { return s->get(); }, [s](const Value& v) { s->set(v); }, picture_of(d, col),
            [s, &at_start] { return SPRAWDZ_PARAMETR(*s, at_start); });
    }
    READMODAL();
}

}  // namespace sklad
