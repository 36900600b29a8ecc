#include "printing/druk.h"

#include <map>

#include "common/console.h"
#include "common/dialogs.h"
#include "common/format.h"
#include "data/access.h"
#include "data/session.h"
#include "printing/drukarka.h"
#include "printing/pdf.h"
#include "printing/pliki.h"
#include "printing/podglad.h"
#include "printing/session.h"
#include "printing/tekst.h"
#include "printing/wydruk.h"

namespace sklad {

namespace {

struct Entry {
    ProceduraDruku procedure;
    bool in_templates;
};

std::map<std::string, Entry>& registry() {
    static std::map<std::string, Entry> r;
    return r;
}

// The screen area, colour and cursor the drivers give back as they found them.
class DriverArea {
  public:
    DriverArea() : image_(SAVESCREEN(15, 30, 20, 72)), colour_(SETCOLOR()), cursor_(SETCURSOR()) {}
    ~DriverArea() {
        SETCOLOR(colour_);
        SETCURSOR(cursor_);
        RESTSCREEN(15, 30, 20, 72, image_);
    }
    DriverArea(const DriverArea&) = delete;
    DriverArea& operator=(const DriverArea&) = delete;

  private:
    ScreenImage image_;
    std::string colour_;
    int cursor_;
};

}  // namespace

void REJESTRUJ_DRUK(std::string_view name, ProceduraDruku procedure, bool w_szablonach) {
    registry()[UPPER(name)] = Entry{std::move(procedure), w_szablonach};
}

bool JEST_DRUK(std::string_view name) { return registry().contains(UPPER(name)); }

bool WYKONAJ_DRUK(std::string_view name, std::vector<platform::Value>& args) {
    auto it = registry().find(UPPER(name));
    if (it == registry().end()) return false;
    it->second.procedure(args);
    return true;
}

bool WYKONAJ_W_SZABLONIE(std::string_view name, std::vector<platform::Value>& args) {
    auto it = registry().find(UPPER(name));
    if (it == registry().end() || !it->second.in_templates) return false;
    it->second.procedure(args);
    return true;
}

bool DRUK_DO_PLIKU(std::string_view procedure, std::string_view file, std::vector<platform::Value>& args) {
    if (!JEST_DRUK(procedure)) {
        _OKNO_("Brak procedury wydruku " + UPPER(procedure), 3);
        return false;
    }
    if (!INITDRUK(file)) return false;
    struct Close {
        bool done = false;
        bool ok = true;
        ~Close() {
            if (!done) CLOSEDRUK();
        }
    } close;
    WYKONAJ_DRUK(procedure, args);
    close.done = true;
    close.ok = CLOSEDRUK();
    SETCURSOR(SC_NORMAL);
    return close.ok;
}

bool VIEW_DRUK(std::string_view procedure, std::string_view file, std::vector<platform::Value>& args) {
    std::string spool(file);
    {
        DriverArea area;
        if (FILE_X("KOPIA.TXT")) _OKNO_("PRACUJESZ NA KOPII");
        // A file that could be neither erased nor replaced holds an older printout: not shown.
        std::string chosen = spool;
        if (!procedure.empty()) {
            chosen = PRZYGOTUJ_WYDRUK(file);
            if (!chosen.empty()) {
                spool = chosen;
                DRUK_DO_PLIKU(procedure, spool, args);
            }
        }
        if (!chosen.empty() && PLIK_JEST(spool)) {
            READTEXT(spool);
        } else {
            _OKNO_("Brak pliku " + spool);
        }
    }
    const std::string flag = "pdf" + STR2(STACJA) + ".txt";
    if (PLIK_JEST(flag) && FILE_X("PDF.TXT")) {
        FERASE(flag);
        PDF_WYDRUKU(spool);
    }
    return true;
}

bool VIEW_DRUK(std::string_view procedure, std::string_view file, std::initializer_list<platform::Value> args) {
    std::vector<platform::Value> a(args);
    return VIEW_DRUK(procedure, file, a);
}

bool DRUKUJ(std::string_view procedure, std::vector<platform::Value>& args) {
    if (!DRUKOWAC()) return false;
    const std::string file = PLIK_DRUKU();
    if (!DRUK_DO_PLIKU(procedure, file, args)) return false;
    if (!FILETOPRINTER(file)) {
        _OKNO_("Wydruk zostal w pliku " + file, 3);
        return false;
    }
    FERASE(file);
    return true;
}

bool DRUKUJ(std::string_view procedure, std::initializer_list<platform::Value> args) {
    std::vector<platform::Value> a(args);
    return DRUKUJ(procedure, a);
}

bool VIEW5_DRUK(std::string_view procedure, std::string_view file, std::vector<platform::Value>& args) {
    DriverArea area;
    FERASE(file);
    DRUK_DO_PLIKU(procedure, file, args);
    auto bytes = MEMOREAD(file);
    if (!bytes) {
        _OKNO_("Brak pliku " + std::string(file));
        return false;
    }
    if (!DRUKOWAC()) return false;
    std::size_t first = bytes->find_first_not_of(' ');
    return DRUKUJ_SUROWO(M_LPT, file, first == std::string::npos ? "" : bytes->substr(first));
}

bool VIEW5_DRUK(std::string_view procedure, std::string_view file, std::initializer_list<platform::Value> args) {
    std::vector<platform::Value> a(args);
    return VIEW5_DRUK(procedure, file, a);
}

}  // namespace sklad
