#include <cctype>
#include <filesystem>
#include <memory>

#include "common/console.h"
#include "common/dialogs.h"
#include "common/forms.h"
#include "common/format.h"
#include "common/kalk.h"
#include "data/access.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "operators/rights.h"
#include "platform/console/clock.h"
#include "platform/console/terminal.h"
#include "platform/text/cp852.h"
#include "shell/editors.h"
#include "operators/operators.h"
#include "shell/menu.h"
#include "shell/pending.h"
#include "shell/session.h"
#include "shell/settings.h"
#include "shell/start.h"
#include "shell/operator_log.h"
#include "shell/ratunek.h"
#include "shell/shared_folder.h"
#include "shell/shutdown.h"
#include "shell/workstation.h"

namespace sklad {

namespace {

std::string upper(std::string_view s) {
    std::string u(s);
    for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

bool starts(std::string_view s, std::string_view prefix, bool any_case = false) {
    if (s.size() < prefix.size()) return false;
    return any_case ? upper(s.substr(0, prefix.size())) == upper(prefix) : s.substr(0, prefix.size()) == prefix;
}

void banner() {
    CLS();
    DISPOUTAT(1, 2, "SKLAD - obsluga hurtowni i sklepu", "W+/N");
    DISPOUTAT(2, 2, "Zespol programistow SKLAD, zgloszenia: README.md, rozdzial o zglaszaniu problemow", "W+/N");
    DISPOUTAT(3, 0, std::string(80, "═"_852[0]), "W+/N");
}

// The period of "mm.yy" as a folder, or "" when the text is no month: never a folder of other text.
std::string period_folder(std::string_view mmyy) {
    if (mmyy.size() != 5 || mmyy[2] != '.') return "";
    for (int i : {0, 1, 3, 4})
        if (!std::isdigit(static_cast<unsigned char>(mmyy[static_cast<std::size_t>(i)]))) return "";
    int month = (mmyy[0] - '0') * 10 + (mmyy[1] - '0');
    if (month < 1 || month > 12) return "";
    return std::string(mmyy.substr(3, 2)) + "\\" + std::string(mmyy.substr(0, 2));
}

bool period_has_data(std::string_view mmyy) {
    std::string folder = period_folder(mmyy);
    return !folder.empty() && FILE_X(folder + "\\AS.DBF");
}

void wrong_period(std::string_view text) {
    const std::string msg = std::string(text) + " - to jakas pomylka!!!";
    _OKNO_(msg);
    _OKNO_(msg);
}

// The period prompt: two seconds for F6 (another month) or Esc (end).
bool period_prompt() {
    SETCURSOR(SC_NORMAL);
    DISPOUTAT(24, 0, "Wybierz miesiac.rok  [mm.rr] : .....");
    int k = INKEY(2);
    if (k == K_ESC) {
        _OKNO_("Esc - KONIEC");
        return false;
    }
    if (k == K_F6 && !FILE_X("F6.TXT")) {
        platform::Date today = DATE();
        std::string entry = STR2(today.month()) + "." + STR2(today.year() % 100);
        if (today.year() % 100 == 0) entry = STR2(today.month()) + ".00";
        __GET(24, 31, "MIESIAC_ROK", [&] { return platform::Value(entry); },
              [&](const platform::Value& v) { entry = std::get<std::string>(v); }, "!!.!!");
        DISPOUTAT(24, 40, "Enter");
        READMODAL();
        if (LASTKEY() == K_ENTER) {
            if (period_has_data(entry))
                WWW = entry;
            else
                wrong_period(entry);
        }
    }
    DISPOUTAT(24, 0, std::string(80, ' '));
    SETCURSOR(SC_NONE);
    return true;
}

void close_all_but_firm_and_operators() {
    for (int a = 2; a <= 250; ++a) {
        if (a == 149) continue;
        if (WORKAREAS().used(a)) WORKAREAS().close(a);
    }
}

// The orderly end after registration: slot released, tables closed, the log's "K".
int koniec(int code, bool goodbye) {
    KONIEC_PRACY(goodbye ? "KONIEC PRACY PROGRAMU" : "");
    return code;
}

int end_of_work() {
    const bool automatic_backup = J_FF2.find_first_not_of(' ') == std::string::npos && J_KOPIOWAC == "T" &&
                                  (PRAWA(1) || PRAWA(12) || FILE_X("VV.XXX"));
    if (automatic_backup) {
        PRZENIESIENIE_NA_KONIEC();  // the backup takes the end-of-day transfer with it
        OUT_NET();
        if (WEZ_FIRMA_WYLACZNIE(1, true) && !FILE_X("ARC.---")) {
            if (ARC_DBF("1")) {
                _OKNO_("Zrobiono kopie", 2.0);
            } else {
                CLS();
                _OKNO_("Nie zrobiono kopii !!!", 2.0);
                _OKNO_("Nie zrobiono kopii !!!", 2.0);
                return koniec(0, false);
            }
        }
    }
    return koniec(0, true);
}

}  // namespace

void ZERUJ_DOKUMENT() {
    M_RD = "SD ";
    M_NRD = std::string(8, ' ');
    M_ODB = std::string(8, ' ');
    M_NODB = M_NODB1 = M_NODB2 = std::string(50, ' ');
    M_DATA = M_TERMIN = M_DATA_KON = M_DATA_KO2 = DATE();
}

// The start-up in its order, then the main menu, then the end of work. Returns the exit code.
int SKLAD_START(std::string_view argument) {
    banner();
    if (starts(argument, "install", true)) {
        CLS();
        // The administrator editor runs before anyone logs in: the supervisor's password first.
        if (HASLO_ADMINISTRATORA()) INST_VELT();
    }
    WEJSCIE = std::string(argument);
    WWW = starts(argument, "cd", true) ? "CD" : std::string(argument);
    INDEKSOWAC = false;
    KOREKTA__AS = false;
    HH_OLD = "";

    if (starts(WWW, "999")) {
        STACJA = 1;
        if (!RATUNEK()) return 1;
        close_all_but_firm_and_operators();
    }
    if (WWW.empty() && !period_prompt()) return 0;
    if (WWW.size() == 5 && WWW[2] == '.' && !period_has_data(WWW)) {
        wrong_period(WWW);
        WWW = "";
    }

    K_GLOWNE = K_ASORTYMENT = K_KONTRAHENCI = K_OBROTY = K_RAPORTY = K_SPECJALNE = 1;
    ZERUJ_DOKUMENT();
    PARAMETRY_START(WWW);

    _OKNO_("Indeksowanie - prosze czekac ...", "...");
    if (!SPRAWDZ_FOLDER_DANYCH()) return 1;
    STACJA = IN_NET(WWW);
    if (STACJA == 0) return 0;
    if (!(INDEKSOWAC ? INIT_NTX() : INIT_DBF())) {
        OUT_NET();
        DBCLOSEALL();
        return 0;
    }
    if (STACJA == 1) TWORZ_KANT(0);
    PARAMETRY_PO_OTWARCIU();
    L_MAG_INDEKS = J_MAG_GLOW + std::string(8, ' ');

    KOD_WYJSCIA = 0;
    int first_submenu_entry = 0;
    K_GLOWNE = 3;
    const std::size_t lead = WWW.find_first_not_of(' ');
    if (lead != std::string::npos && (WWW[lead] == '1' || WWW[lead] == '2') && period_folder(WWW).empty()) {
        K_GLOWNE = WWW[lead] == '1' ? 4 : 5;
        first_submenu_entry = std::atoi(WWW.substr(lead + 1, 2).c_str());
        if (first_submenu_entry > 0) (WWW[lead] == '1' ? K_RAPORTY : K_SPECJALNE) = first_submenu_entry;
    }
    EKRAN_GLOWNY();
    CZYT_KP_KW();
    __KEYBOARD("");
    XYZ = SAVESCREEN();
    if (SELECT("firma") != 0 && FC("firma->nodb").find_first_not_of(' ') == std::string::npos) {
        ED_FIRMY();
        EKRAN_GLOWNY();
        XYZ = SAVESCREEN();
    }

    if (starts(WWW, "KIEROWCA", true) && FILE_X("KIEROWCA.TXT")) {
        M_NR = " ";
        M_NAZWISKO = std::string(30, ' ');
        M_DRUKARKA = "PACKARD" + std::string(23, ' ');
        for (;;) {
            ZmianaKierowcy();
            if (LASTKEY() == K_ESC) {
                if (OKNO("Koniec pracy ?", " ")) return koniec(0, true);
                continue;
            }
            if (M_NAZWISKO.find_first_not_of(' ') != std::string::npos) {
                DISPOUTAT(2, 52, " Program kierowcy");
                M_DRUKARKA = starts(WWW, "KIEROWCA_EPSON", true) ? "EPSON" : "PACKARD";
                do {
                    oTB_ZAM();
                } while (LASTKEY() != K_ESC);
            }
        }
    }

    while (!ZMIANAOPERATORA()) {
        if (OKNO("CZY CHCESZ ZAKONCZYC PRACE ?", "T")) return koniec(0, false);
    }
    EKRAN_GLOWNY();
    XYZ = SAVESCREEN();
    M_SPZ = J_SPZ;
    __KEYBOARD({K_ENTER});
    if (STACJA == 1 && FILE_X("CZYTROB0.TXT")) {
        CZYTAJ_ROB0();
        __KEYBOARD({K_ENTER});
    }

    try {
        GLOWNE_MENU();
    } catch (const ProgramEnd& end) {
        DBCLOSEALL();
        return end.code;
    }
    return end_of_work();
}

}  // namespace sklad
