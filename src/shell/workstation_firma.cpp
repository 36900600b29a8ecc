// The firm table as the registration needs it: its creation, the layout check and the slot text.
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "data/access.h"
#include "data/engine.h"
#include "data/session.h"
#include "shell/workstation.h"

namespace sklad {

namespace fs = std::filesystem;

int LICZBA_STACJI() { return FILE_X("ST99.TXT") ? 99 : FILE_X("ST2.TXT") ? 2 : 30; }

std::string ZAJETE_STACJE(std::string_view st) {
    std::string taken;
    for (char c : st) {
        if (c == ST_SZEF)
            taken += '0';
        else if (c != '0' && c != ' ')
            taken += c;
    }
    return taken;
}

bool FIRMA_DO_PRZEBUDOWY(const Fields& fields, std::string_view argument) {
    if (argument.substr(0, 1) == "3") return true;
    for (const char* name : {"ST", "KP_KW", "NODB4", "BODB4", "NIP_KRAJ", "KRS_NR", "SMTP", "BDO", "WYCIAGI"})
        if (!HAS_FIELD(fields, name)) return true;
    auto width = [&](std::string_view name) {
        const FieldDef* f = FIND_FIELD(fields, name);
        return f == nullptr ? 0 : f->width;
    };
    if (width("NRBO") < 40 || width("KRS_SAD") < 80 || width("BODB") <= 50) return true;
    if (FILE_X("ST99.TXT") && width("ST") < 99) return true;
    if (FILE_X("ST2.TXT") && width("ST") < 2) return true;
    if (FILE_X("KOD_QR.TXT") && !HAS_FIELD(fields, "KOD_POD")) return true;
    if (FILE_X("KP_.TXT") && !HAS_FIELD(fields, "KP_")) return true;
    if (FILE_X("WEGIEL.TXT") && !HAS_FIELD(fields, "REGON0")) return true;
    return false;
}

void UTWORZ_FIRMA() {
    const fs::path target = TABLE_FILE("firma");
    std::error_code ec;
    if (fs::exists(target, ec)) return;
    // "firma.<pid>" keeps its own extension, so no listing of tables ever takes it for one.
    const std::string staged = "firma." + std::to_string(::getpid());
    if (!TWORZ(STRUKTURA_FIRMA(staged, LICZBA_STACJI()), true, STACJA)) return;
    const fs::path made = TABLE_FILE(staged);
    // A link never replaces a table another copy has just put there.
    if (::link(made.c_str(), target.c_str()) != 0 && errno != EEXIST && !fs::exists(target, ec))
        fs::rename(made, target, ec);
    fs::remove(made, ec);
}

}  // namespace sklad
