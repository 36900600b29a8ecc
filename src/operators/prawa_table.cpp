// The operator table prawa: its layout, its creation on a new installation, its upgrade from older
// layouts, and look-ups other routines make in it.
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "common/dialogs.h"
#include "data/access.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "data/layouts.h"
#include "data/table_upgrade.h"
#include "operators/operators.h"
#include "operators/record.h"

namespace sklad {

using namespace operators_detail;
namespace fs = std::filesystem;

const Fields& UKLAD_PRAWA() {
    static const Fields layout = [] {
        auto c = [](const char* name, int width) { return FieldDef{name, FieldType::Character, width, 0}; };
        auto n = [](std::string name, int width) { return FieldDef{std::move(name), FieldType::Numeric, width, 0}; };
        Fields f = {c("NR", 1),      c("NAZWISKO", 30), c("HASLO", 10),  c("PRAWA", 20),   c("PRAWA1", 20),
                    c("PRAWA2", 43), c("NR_MAG", 20),   c("NR_KASY", 1), n("KASA", 15),    c("MAGAZYN", 20),
                    c("KOMU", 8),    c("RD", 3),        c("SLUPEK", 1),  c("SMTP", 30)};
        for (const char* group : {"P", "K", "M"})
            for (int m = 1; m <= 12; ++m)
                f.push_back(n(group + std::string(m < 10 ? "0" : "") + std::to_string(m), *group == 'M' ? 3 : 6));
        f.push_back(c("DRUKARKA", 30));
        return f;
    }();
    return layout;
}

std::string STRUKTURA_PRAWA(std::string_view path) {
    StructureText s(path);
    for (const FieldDef& f : UKLAD_PRAWA())
        s << FIELD_GROUP(f.name, f.type == FieldType::Numeric ? 'N' : 'C', std::to_string(f.width));
    return s.str();
}

bool UTWORZ_PRAWA() {
    const fs::path target = TABLE_FILE("prawa");
    std::error_code ec;
    if (fs::exists(target, ec)) return false;
    // Built under a name of this process and linked into place: two copies starting on a new
    // folder never replace each other's table, and nobody opens a table without its supervisor.
    const std::string staged = "prawa." + std::to_string(::getpid());
    if (!TWORZ(STRUKTURA_PRAWA(staged), true, STACJA)) return false;
    const int was = SELECT();
    DBSELECTAREA(0);
    bool filled = false;
    if (NET_USE(staged, "prawa_nowa", true, 1)) {
        if (DBAPPEND()) {
            FIELDPUT("NR", Value(std::string("0")));
            FIELDPUT("NAZWISKO", Value(std::string("Administrator")));
            FIELDPUT("HASLO", Value(MOJ_ENCODE(std::string(10, ' '))));
            FIELDPUT("PRAWA", Value(std::string(20, 'T')));
            FIELDPUT("PRAWA1", Value(std::string(20, 'N')));
            FIELDPUT("NR_KASY", Value(std::string("1")));
            FIELDPUT("DRUKARKA", Value(std::string("EPSON")));
            DBCOMMIT();
            filled = true;
        }
        DBCLOSEAREA();
    }
    DBSELECTAREA(was);
    const fs::path made = TABLE_FILE(staged);
    bool created = false;
    if (filled) {
        created = ::link(made.c_str(), target.c_str()) == 0;
        if (!created && errno != EEXIST && !fs::exists(target, ec)) {
            fs::rename(made, target, ec);
            created = !ec;
        }
    }
    fs::remove(made, ec);
    return created;
}

std::string HASLO_REKORDU() {
    const std::string stored = pole("HASLO");
    // A field never written holds blanks, which means no password (not blanks unscrambled).
    if (trim(stored).empty()) return std::string(10, ' ');
    return MOJ_DECODE(pad(stored, 10), 10);
}

void WEZ_HASLO_SZEFA() {
    const long was = RECNO();
    if (!__DBLOCATE([] { return FC("NR") == "0"; })) DBGOTOP();
    if (!EOF()) M_BOSS0 = HASLO_REKORDU();
    DBGOTO(was);
}

std::string PRAWA_NAZ(std::string_view nr) {
    const int was = SELECT();
    const int open = SELECT("prawa");
    std::string name(30, ' ');
    if (open > 0) {
        DBSELECTAREA(open);
        const long at = RECNO();
        if (__DBLOCATE([&] { return FC("NR") == nr; })) name = pad(FC("NAZWISKO"), 30);
        DBGOTO(at);
    } else if (FILE_X("prawa.dbf")) {
        DBSELECTAREA(0);
        if (NET_USE("prawa", "prawa", false, 20)) {
            if (__DBLOCATE([&] { return FC("NR") == nr; })) name = pad(FC("NAZWISKO"), 30);
            DBCLOSEAREA();
        }
    }
    DBSELECTAREA(was);
    return name;
}

bool PRAWA_DO_PRZEBUDOWY(const Fields& fields) {
    auto lacks = [&](const char* name, int width = 0) {
        const FieldDef* f = FIND_FIELD(fields, name);
        return f == nullptr || f->width < width;
    };
    return lacks("DRUKARKA", 30) || lacks("PRAWA1") || lacks("PRAWA2", 43) || lacks("NR_MAG", 20) ||
           lacks("MAGAZYN") || lacks("KOMU") || lacks("SMTP") || lacks("NR_KASY") || (lacks("RD") && FILE_X("RD.ZAM"));
}

bool PRZEBUDUJ_PRAWA() {
    // Only a copy that holds the firm table exclusively knows that no other copy has prawa open or
    // is about to open it; without that token the old layout stays until a lone start.
    const bool firma_byla = SELECT("firma") > 0;
    const bool token = FIRMA_WYLACZNIE();
    bool upgraded = false;
    if (token || WEZ_FIRMA_WYLACZNIE(1, true)) {
        DBSELECTAREA(OBSZAR_PRAWA);
        DBCLOSEAREA();
        if (NET_USE("prawa", "prawa", true, 1)) {
            std::string skipped;
            for (const FieldDef& f : DBSTRUCT()) {
                const FieldDef* w = FIND_FIELD(UKLAD_PRAWA(), f.name);
                if (w != nullptr && w->type != f.type) skipped += (skipped.empty() ? "" : ",") + f.name;
            }
            upgraded = PRZEBUDUJ(STRUKTURA_PRAWA("prawa"));
            if (upgraded && !skipped.empty()) _OKNO_("Sprawdz: " + skipped, 5.0);
            DBCLOSEAREA();
        }
        if (!token) {
            if (firma_byla) {
                ODDAJ_FIRMA();
            } else {
                DBSELECTAREA(1);
                DBCLOSEAREA();
            }
        }
    }
    DBSELECTAREA(OBSZAR_PRAWA);
    if (!USED() && !NET_USE("prawa", "prawa", false, 20)) return false;
    WEZ_HASLO_SZEFA();
    return true;
}

}  // namespace sklad
