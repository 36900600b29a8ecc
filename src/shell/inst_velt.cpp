// The administrator parameter editor.
#include <filesystem>
#include <fstream>

#include "common/console.h"
#include "shell/editors.h"
#include "shell/settings_form.h"
#include "shell/value_files.h"
#include "shell/vat.h"

namespace sklad {

namespace {

// The operator log follows its switch: off erases the file, on makes an empty one when missing.
void follow_operator_log() {
    auto log = settings_detail::find_file("OPERATOR.TXT");
    if (J_KANTY != "T") {
        std::error_code ec;
        if (log) std::filesystem::remove(*log, ec);
        return;
    }
    if (log) return;
    if (std::ofstream("operator.txt")) J_OPE_Z_PLIKU("operator.txt");
}

}  // namespace

bool INST_VELT() {
    CLS();
    std::error_code ec;
    CZYTAJ_PARAMETR(ModelDrukarki::OPERATORA,
                    std::filesystem::exists(PARAMETR_MEM, ec) ? PARAMETR_MEM : PARAMETR_TXT);
    WYROWNAJ_PARAMETRY(SettingPage::ADM);
    const StanParametrow at_start = PARAMETRY_STAN();
    VAT_DOMYSLNY(0);
    J_WALUTA = "N";
    EDYTUJ_STRONE(SettingPage::ADM, at_start);
    if (LASTKEY() != K_ESC) {
        follow_operator_log();
        VAT_DOMYSLNY(0);
        ZAPISZ_PARAMETR(PARAMETRY_ZMIENIONE(at_start));
    }
    ZAPISZ_PARAMETR_TXT();
    return true;
}

}  // namespace sklad
