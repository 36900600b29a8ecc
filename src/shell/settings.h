#pragma once
// The settings file parametr.mem, shared by every copy in the working folder, and its copy
// parametr.txt. Reading replaces the settings the file holds (the others keep their values) and
// then forces the values that are fixed whatever the file says. Writing locks the file, reads it
// again and changes only the keys this copy changed, so that two copies saving at once each keep
// their own changes; the new file replaces the old one whole (temporary file and rename), so a
// reader never sees half of it.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "shell/settings_list.h"

namespace sklad {

// The fiscal printer model chosen for all copies while an operator's printer description has put
// its own model into J_DF_NAZWA; "" when no operator model is in force.
SESSION_VAR(std::string, LJ_DF_NAZWA, "");
// Slot Z means exempt while the program runs (set once the tables are open); reads force it again.
SESSION_VAR(bool, PTUZ_ZWOLNIONA, false);

inline constexpr const char* PARAMETR_MEM = "parametr.mem";
inline constexpr const char* PARAMETR_TXT = "parametr.txt";

enum class SettingPage { NIE, P1, P2, P3, ADM };

// One line of the list (settings_list.h).
struct SettingDef {
    const char* name;
    char type;  // 'C' or 'N'
    int width;
    int decimals;
    SettingPage page;
    int row, prompt_col, field_col;
    std::string_view check;
    std::string_view when;
    std::string_view prompt;
    platform::Value (*get)();
    void (*set)(const platform::Value&);  // a value of the wrong type is ignored
    void (*reset)();                      // back to the default
    bool saved() const;                   // kept in parametr.mem ("J_" names)
};

const std::vector<SettingDef>& SETTINGS();
const SettingDef* SETTING(std::string_view name);  // nullptr when there is none

// Every setting back to its default.
void PARAMETRY_DOMYSLNE();

// How a read treats J_DF_NAZWA while an operator's model is in force (LJ_DF_NAZWA not empty).
enum class ModelDrukarki {
    OPERATORA,  // start-up and the user editor: J_DF_NAZWA stays, the file's model goes to LJ_DF_NAZWA
    Z_PLIKU,    // other rereads: the file's model goes to J_DF_NAZWA
};

struct OdczytParametrow {
    bool found = false;                 // the file was there
    std::vector<std::string> problems;  // damaged lines, a missing end, types that do not fit
};

// Reads the settings file (by default parametr.mem in the working folder) and forces the fixed
// values. A damaged file is reported in a message window; what could be read is kept.
OdczytParametrow CZYTAJ_PARAMETR(ModelDrukarki model = ModelDrukarki::OPERATORA,
                                 const std::string& path = PARAMETR_MEM);
// The values forced after every read.
void WYMUS_PARAMETRY();

// The settings as the file would hold them now (the global printer model in J_DF_NAZWA).
using StanParametrow = std::map<std::string, std::string>;
StanParametrow PARAMETRY_STAN();
// The names whose file value differs from `before`.
std::vector<std::string> PARAMETRY_ZMIENIONE(const StanParametrow& before);

// Writes `keys` (and every setting the file lacks) into parametr.mem, keeping the other keys as the
// file has them now. False, after a message, when the file could not be written.
bool ZAPISZ_PARAMETR(const std::vector<std::string>& keys, const std::string& path = PARAMETR_MEM);
// Writes every setting (a new file, or a copy that must match this copy whole).
bool ZAPISZ_PARAMETR_WSZYSTKO(const std::string& path = PARAMETR_MEM);
// Rewrites the copy parametr.txt from this copy's settings.
bool ZAPISZ_PARAMETR_TXT();

// Start-up: read parametr.mem (or create it), normalise J_VAT and the VAT slots, apply the
// argument "3", force the fixed values; M_DATA_RR, M_RD_POMIN, M_BANKBOLD from their files.
void PARAMETRY_START(std::string_view argument);
// Once the tables are open: slot Z means exempt, and no currency handling when J_WALUTA is "N".
void PARAMETRY_PO_OTWARCIU();

// The operator log file's date and time into J_DAT_OPE ("dd.mm.yyyy") and J_TIM_OPE ("hh:mm:ss").
void J_OPE_Z_PLIKU(const std::string& path);

}  // namespace sklad
