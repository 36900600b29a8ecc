// Login, logout and the operator change that wraps the operator list: what a login copies into
// the session, and the workstation set-up (fiscal printer model, scale, the firm-record slot) that
// follows every change of operator.
#include "common/console.h"
#include "common/dialogs.h"
#include "common/format.h"
#include "data/access.h"
#include "data/engine.h"
#include "operators/operators.h"
#include "operators/record.h"
#include "platform/console/picture.h"
#include "platform/text/cp852.h"
#include "shell/operator_log.h"
#include "shell/pending.h"
#include "shell/session.h"
#include "shell/settings.h"
#include "shell/workstation.h"

namespace sklad {

using namespace operators_detail;

namespace {

bool zawiera(std::string_view text, std::string_view token) {
    return platform::console::to_upper(text).find(token) != std::string::npos;
}

// The run-time service codes: on the supervisor's record the default correction password, on any
// other the restore password, followed by the day of the month and the hour. Anyone who knows the
// rule could log in as anybody, so they are taken only where the marker file switches them on.
bool kod_serwisowy(std::string_view typed, std::string_view nr) {
    if (!FILE_X(KODY_SERWISOWE)) return false;
    const std::string when = STR2(DATE().day()) + TIME().substr(0, 2);
    const std::string prefix = (nr == "0" ? HASLO_POPRAWY_DOMYSLNE() : std::string(HASLO_ODTWARZANIA)) + when;
    return typed.substr(0, prefix.size()) == prefix;
}

// The record's values into the session of the operator now logged in.
void zaloguj() {
    M_NR = FC("NR");
    M_NAZWISKO = pad(FC("NAZWISKO"), 30);
    // The firm's server stands in (set at the end of the operator change) when the record has none.
    M_SMTP = trim(pole("SMTP"));
    if (FIELDPOS("NR_MAG") > 0) {
        std::string mag = FC("NR_MAG");
        std::erase(mag, '0');
        M_NR_MAG = mag;
    } else {
        M_NR_MAG = " ";
    }
    M_NR_KASY = trim(pole("NR_KASY")).empty() ? "1" : pole("NR_KASY");
    M_PRAWA = pole("PRAWA");
    M_PRAWA1 = FIELDPOS("PRAWA1") > 0 ? FC("PRAWA1") : std::string(20, 'N');
    M_PRAWA2 = trim(pole("PRAWA2"));
    ARC_MAGAZYN = pole("MAGAZYN");
    ARC_KOMU = pole("KOMU");
    ARC_RD = FIELDPOS("RD") > 0 ? FC("RD") : std::string(3, ' ');
}

// Where the program for the bookkeeping office is installed, every operator works restricted.
void oznacz_ograniczonego() {
    if (!FILE_X("COPY_VAT.EXE") && !FILE_X("HCOPY_VA.EXE")) return;
    const std::string name = FC("NAZWISKO");
    if (name.find("(R)") != std::string::npos) return;
    if (FC("NR") == "0" && FILE_X("AAA.TXT"))
        zapisz({{"NAZWISKO", Value(std::string("Administrator"))}}, 1);
    else
        zapisz({{"NAZWISKO", Value(pad("(R)" + name, 30))}}, 1);
}

// The fiscal printer model an operator's printer description names; the globally chosen model is
// held in LJ_DF_NAZWA meanwhile.
void model_drukarki(bool inny_operator) {
    if (inny_operator && !LJ_DF_NAZWA.empty()) {
        J_DF_NAZWA = LJ_DF_NAZWA;
        LJ_DF_NAZWA = "";
    }
    for (const char* model : {"DF-300W", "DF-300Q", "DF-300", "ORHMET", "FP-600"}) {
        if (!zawiera(M_DRUKARKA, model)) continue;
        if (LJ_DF_NAZWA.empty()) LJ_DF_NAZWA = J_DF_NAZWA;
        J_DF_NAZWA = pad(model, 10);
        return;
    }
    if (!LJ_DF_NAZWA.empty()) {
        J_DF_NAZWA = LJ_DF_NAZWA;
        LJ_DF_NAZWA = "";
    }
}

}  // namespace

void DIBAL_INIT(int /*port*/, int /*mode*/) {}

bool ZALOGOWANIE(BrowseList& list) {
    ton(1800);
    if (EOF()) return ZALOGOWANY();
    if (trim(pole("HASLO")).empty()) zapisz({{"HASLO", Value(MOJ_ENCODE(std::string(10, ' ')))}}, 20);
    if (FC("NR") == "0" && trim(FC("NAZWISKO")).empty()) zapisz({{"NAZWISKO", Value(std::string("Kowalski Jan"))}}, 20);
    if (trim(FC("NAZWISKO")).empty() || FC("NR") == M_NR) return ZALOGOWANY();

    const std::string haslo = HASLO_REKORDU();
    bool ok = true;
    if (!trim(haslo).empty()) {
        const std::string typed = GET_HHHHH(wiersz(list), 41);
        ok = typed == haslo || kod_serwisowy(typed, FC("NR"));
    }
    if (ok) {
        oznacz_ograniczonego();
        zaloguj();
    } else {
        ton(1800);
        _OKNO_("Błednie podane hasło"_852);
    }
    if (!ZALOGOWANY()) return false;
    if (PIERWSZE_WEJSCIE) {
        CZAS_PRACY("P");
        PIERWSZE_WEJSCIE = false;
    }
    return true;
}

bool WYLOGOWAC() {
    if (!ZALOGOWANY()) return true;
    ton(1800);
    const std::string name = trim(M_NAZWISKO);
    const bool ona = !name.empty() && (name.back() == 'a' || name.back() == 'A');
    _OKNO_(name + (ona ? " wylogowana" : " wylogowany"));
    M_NAZWISKO = std::string(30, ' ');
    M_NR = " ";
    M_PRAWA = "";
    return true;
}

bool ZMIANAOPERATORA() {
    const int was = SELECT();
    const std::string drukarka = M_DRUKARKA;
    const std::string nr = M_NR;
    DISPOUTAT(0, 72, TIME());
    DISPOUTAT(1, 66, DATE().dmy());
    for (;;) {
        TB_PRAWA();
        if (ZALOGOWANY()) break;
        if (LASTKEY() == K_ESC) {
            DBSELECTAREA(was);
            return false;
        }
    }

    JEST_DF_300 = zawiera(M_DRUKARKA, "COM") || zawiera(M_DRUKARKA, "DF_IP") || !trim(J_DF).empty();
    model_drukarki(M_NR != nr);
    if ((zawiera(M_DRUKARKA, "COM") || zawiera(M_DRUKARKA, "DF_IP")) && M_DRUKARKA != drukarka && !PRAWA2("RAMPA")) {
        __KEYBOARD({K_ENTER});
        DF_300();
    }
    if (zawiera(M_DRUKARKA, "DIBAL")) {
        int port = 1;
        for (int p = 1; p <= 4; ++p)
            if (zawiera(M_DRUKARKA, "DIBAL" + std::to_string(p))) {
                port = p;
                break;
            }
        DIBAL_INIT(port, 0);
    }
    if (const int firma = SELECT("firma"); firma > 0) {
        ST_OPERATOR(M_NR);
        if (trim(M_SMTP).empty()) {
            DBSELECTAREA(firma);
            DBGOTOP();
            if (!EOF()) M_SMTP = trim(pole("SMTP"));
        }
    }
    TOJESTKASA = PRAWA1(8);
    DBSELECTAREA(was);
    return true;
}

bool HASLO_ADMINISTRATORA() {
    if (!FILE_X("prawa.dbf")) return true;
    const int was = SELECT();
    DBSELECTAREA(0);
    bool opened = NET_USE("prawa", "prawa", false, 20);
    std::string haslo(10, ' ');
    if (opened) {
        if (__DBLOCATE([] { return FC("NR") == "0"; })) haslo = HASLO_REKORDU();
        DBCLOSEAREA();
    }
    DBSELECTAREA(was);
    // A table that cannot be read proves nothing: the settings stay closed.
    if (!opened) {
        _OKNO_("Plik prawa niedostepny", 2.0);
        return false;
    }
    return trim(haslo).empty() || HASLO_ZGODNE(haslo);
}

}  // namespace sklad
