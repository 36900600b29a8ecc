#include "shell/settings.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <set>

#include "common/console.h"
#include "common/dialogs.h"
#include "data/session.h"
#include "platform/table/lockfile.h"
#include "shell/parametr_file.h"
#include "shell/value_files.h"
#include "shell/vat.h"

namespace sklad {

namespace {

namespace fs = std::filesystem;
using platform::Value;
using platform::table::LockFile;
using platform::table::LockKind;
using platform::table::RegionGuard;

// A settings file larger than this is not ours; what fits is read, the rest reported.
constexpr std::size_t kMaxFile = 1 << 20;

Value to_value(const std::string& v) { return v; }
Value to_value(int v) { return Decimal(v); }
Value to_value(const Decimal& v) { return v; }

void from_value(std::string& var, const Value& v) {
    if (auto s = std::get_if<std::string>(&v)) var = *s;
}
void from_value(int& var, const Value& v) {
    if (auto d = std::get_if<Decimal>(&v)) var = static_cast<int>(d->round(0).to_int());
}
void from_value(Decimal& var, const Value& v) {
    if (auto d = std::get_if<Decimal>(&v)) var = *d;
}

// J_PTUZ as the file holds it while the running copy treats slot Z as exempt.
std::string ptuz_in_file;

std::string trimmed(std::string_view s) {
    auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return "";
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// What the file keeps for a setting: the global printer model and the saved slot Z, not the
// values this copy uses while it runs.
std::string file_value(const SettingDef& d) {
    const std::string_view name = d.name;
    if (name == "J_DF_NAZWA" && !LJ_DF_NAZWA.empty()) return LJ_DF_NAZWA;
    if (name == "J_PTUZ" && PTUZ_ZWOLNIONA && J_PTUZ == "ZW" && !ptuz_in_file.empty()) return ptuz_in_file;
    const Value v = d.get();
    if (auto s = std::get_if<std::string>(&v)) return *s;
    return std::get<Decimal>(v).to_string(d.decimals);
}

WpisParametru entry_of(const SettingDef& d) {
    WpisParametru e;
    e.name = d.name;
    e.type = d.type;
    e.value = file_value(d);
    e.width = d.type == 'C' ? static_cast<int>(e.value.size()) : d.width;
    e.decimals = d.decimals;
    return e;
}

void report(const std::string& file, const std::vector<std::string>& problems) {
    if (problems.empty()) return;
    _OKNO_("USZKODZONY PLIK " + upper(file) + " !", 3);
    _OKNO_("Brakujace ustawienia - wartosci domyslne", 3);
}

// Replaces `path` with `entries` through a temporary file in the same folder.
void replace_file(const fs::path& path, const std::vector<WpisParametru>& entries) {
    fs::path tmp = path;
    tmp.replace_extension(".tmp");
    const std::string text = PARAMETR_DO_TEKSTU(entries);
    {
        LockFile out(tmp, LockFile::Access::Create);
        out.truncate(0);
        out.write_all(text.data(), text.size(), 0);
        out.sync();
    }
    fs::rename(tmp, path);
}

bool write_settings(const std::string& path, const std::set<std::string>& keys, bool all) {
    try {
        fs::path lock_path = path;
        lock_path.replace_extension(".lck");
        LockFile lock(lock_path, LockFile::Access::Create);
        RegionGuard held(lock, 0, 1, LockKind::Exclusive);

        // The file as the other copies left it: only our changed keys replace theirs.
        std::vector<WpisParametru> entries;
        if (!all)
            if (auto text = settings_detail::read_file(path, kMaxFile))
                for (auto& e : PARAMETR_Z_TEKSTU(*text).entries) {
                    std::erase_if(entries, [&](const WpisParametru& old) { return old.name == e.name; });
                    entries.push_back(std::move(e));
                }
        for (const SettingDef& d : SETTINGS()) {
            if (!d.saved()) continue;
            auto it = std::find_if(entries.begin(), entries.end(),
                                   [&](const WpisParametru& e) { return e.name == d.name; });
            if (it == entries.end())
                entries.push_back(entry_of(d));
            else if (keys.count(d.name))
                *it = entry_of(d);
        }
        replace_file(path, entries);
        return true;
    } catch (const std::exception&) {
        _OKNO_("BLAD ZAPISU PLIKU " + upper(fs::path(path).filename().string()) + " !", 3);
        return false;
    }
}

}  // namespace

bool SettingDef::saved() const { return name[0] == 'J' && name[1] == '_'; }

const std::vector<SettingDef>& SETTINGS() {
#define SKLAD_SETTING_DEF(T, NAME, TYP, W, D, DEF, PAGE, ROW, PCOL, FCOL, CHECK, WHEN, PROMPT)       \
    SettingDef{#NAME,                                                                                  \
               TYP,                                                                                    \
               W,                                                                                      \
               D,                                                                                      \
               SettingPage::PAGE,                                                                      \
               ROW,                                                                                    \
               PCOL,                                                                                   \
               FCOL,                                                                                   \
               CHECK,                                                                                  \
               WHEN,                                                                                   \
               PROMPT,                                                                                 \
               [] { return to_value(NAME); },                                                          \
               [](const Value& v) { from_value(NAME, v); },                                            \
               [] { NAME = DEF; }},
    static const std::vector<SettingDef> defs = {SKLAD_SETTINGS(SKLAD_SETTING_DEF)};
#undef SKLAD_SETTING_DEF
    return defs;
}

const SettingDef* SETTING(std::string_view name) {
    const std::string wanted = upper(std::string(name));
    for (const SettingDef& d : SETTINGS())
        if (wanted == d.name) return &d;
    return nullptr;
}

void PARAMETRY_DOMYSLNE() {
    for (const SettingDef& d : SETTINGS()) d.reset();
}

void WYMUS_PARAMETRY() {
    J_PKWIU = "T";
    J_RABAT_ZB = "N";
    J_ZAOKRAGL = "N";
    J_NODB1 = "N";
    J_ZAKUPU = "T";
    if (PTUZ_ZWOLNIONA) J_PTUZ = "ZW";
    if (J_WALUTA == "N") JEST_WALUTA = "N";
    // An empty supervisor password would let every password prompt pass without asking.
    if (trimmed(J_BOSS).empty()) SETTING("J_BOSS")->reset();
}

OdczytParametrow CZYTAJ_PARAMETR(ModelDrukarki model, const std::string& path) {
    OdczytParametrow out;
    std::error_code ec;
    if (!fs::exists(path, ec)) return out;
    out.found = true;
    auto text = settings_detail::read_file(path, kMaxFile);
    if (!text) {
        out.problems.push_back("nie mozna odczytac pliku");
    } else {
        if (text->size() >= kMaxFile) out.problems.push_back("plik za duzy");
        TekstParametrow parsed = PARAMETR_Z_TEKSTU(*text);
        out.problems.insert(out.problems.end(), parsed.problems.begin(), parsed.problems.end());
        const bool keep_operator_model = model == ModelDrukarki::OPERATORA && !LJ_DF_NAZWA.empty();
        const std::string operator_model = J_DF_NAZWA;
        for (const WpisParametru& e : parsed.entries) {
            const SettingDef* d = SETTING(e.name);
            if (!d || !d->saved()) continue;  // a setting of another version stays in the file
            if (e.type != d->type) {
                out.problems.push_back(e.name + ": inny typ");
                continue;
            }
            if (d->type == 'C') {
                d->set(e.value);
            } else {
                const Decimal n = *Decimal::parse(e.value);
                if (n.str(d->width, d->decimals).find('*') != std::string::npos) {
                    out.problems.push_back(e.name + ": liczba za duza");
                    continue;
                }
                d->set(n);
            }
            if (e.name == "J_PTUZ") ptuz_in_file = e.value;
            if (e.name == "J_DF_NAZWA" && keep_operator_model) {
                LJ_DF_NAZWA = J_DF_NAZWA;
                J_DF_NAZWA = operator_model;
            }
        }
    }
    WYMUS_PARAMETRY();
    report(fs::path(path).filename().string(), out.problems);
    return out;
}

StanParametrow PARAMETRY_STAN() {
    StanParametrow s;
    for (const SettingDef& d : SETTINGS())
        if (d.saved()) s[d.name] = file_value(d);
    return s;
}

std::vector<std::string> PARAMETRY_ZMIENIONE(const StanParametrow& before) {
    std::vector<std::string> changed;
    for (const SettingDef& d : SETTINGS()) {
        if (!d.saved()) continue;
        auto it = before.find(d.name);
        if (it == before.end() || it->second != file_value(d)) changed.push_back(d.name);
    }
    return changed;
}

bool ZAPISZ_PARAMETR(const std::vector<std::string>& keys, const std::string& path) {
    std::set<std::string> wanted;
    for (const auto& k : keys) wanted.insert(upper(k));
    return write_settings(path, wanted, false);
}

bool ZAPISZ_PARAMETR_WSZYSTKO(const std::string& path) { return write_settings(path, {}, true); }

bool ZAPISZ_PARAMETR_TXT() { return ZAPISZ_PARAMETR_WSZYSTKO(PARAMETR_TXT); }

void PARAMETRY_START(std::string_view argument) {
    std::error_code ec;
    if (fs::exists(PARAMETR_MEM, ec)) {
        CZYTAJ_PARAMETR(ModelDrukarki::OPERATORA);
        const StanParametrow before = PARAMETRY_STAN();
        const std::string vat = J_VAT;
        VAT_DOMYSLNY(0);
        if (J_VAT != vat) ZAPISZ_PARAMETR(PARAMETRY_ZMIENIONE(before));
    } else {
        VAT_DOMYSLNY(0);
        WYMUS_PARAMETRY();
        ZAPISZ_PARAMETR_WSZYSTKO();
    }
    if (argument.substr(0, 1) == "3" && trimmed(J_DF_NAZWA) != "ORHMET") {
        J_I3 = "3";
        ZAPISZ_PARAMETR({"J_I3"});
    }
    if (J_PTUA == "--" || J_PTUA == "22" || trimmed(J_PTUA).empty()) {
        const StanParametrow before = PARAMETRY_STAN();
        for (const char* name : {"J_PTUA", "J_PTUB", "J_PTUC", "J_PTUD", "J_PTUE", "J_PTUF", "J_PTUZ"})
            SETTING(name)->reset();
        // The rate chosen over the old slots (22 %) must be one of the new ones.
        VAT_DOMYSLNY(0);
        ZAPISZ_PARAMETR(PARAMETRY_ZMIENIONE(before));
    }
    WYMUS_PARAMETRY();
    CZYTAJ_DATA_RR();
}

void PARAMETRY_PO_OTWARCIU() {
    ptuz_in_file = J_PTUZ;
    PTUZ_ZWOLNIONA = true;
    WYMUS_PARAMETRY();
}

void J_OPE_Z_PLIKU(const std::string& path) {
    std::error_code ec;
    auto written = fs::last_write_time(path, ec);
    if (ec) return;
    const std::time_t t = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(std::chrono::file_clock::to_sys(written)));
    std::tm local{};
    localtime_r(&t, &local);
    char date[16], time[16];
    std::strftime(date, sizeof date, "%d.%m.%Y", &local);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    J_DAT_OPE = date;
    J_TIM_OPE = time;
}

}  // namespace sklad
