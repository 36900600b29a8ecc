#include "common/console.h"
#include "common/dialogs.h"
#include "common/format.h"
#include "data/access.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "operators/rights.h"
#include "platform/text/cp852.h"
#include "shell/editors.h"
#include "operators/operators.h"
#include "shell/menu.h"
#include "shell/pending.h"
#include "shell/session.h"
#include "shell/workstation.h"

namespace sklad {

namespace {

bool restricted() { return M_NAZWISKO.find("(R)") != std::string::npos; }

void first_order_top(std::string_view alias) {
    if (SELECT(alias) == 0) return;
    const int area = SELECT();
    DBSELECTAREA(alias);
    if (!INDEXKEY(1).empty()) ORDSETFOCUS(1);
    DBGOTOP();
    DBSELECTAREA(area);
}

void search_menu() {
    int c = MALE_MENU(15, 54, {"1.szukanie kwoty  ", "2.szukanie faktury"});
    if (c == 1) SZUKANIE_KWOTY();
    if (c == 2) SZUKANIE_RD_NRD();
}

// Nobody may stay in the menus logged out: Esc at the list with nobody logged in asks to end.
void zmiana_operatora() {
    while (!ZMIANAOPERATORA()) {
        if (OKNO("CZY CHCESZ ZAKONCZYC PRACE ?", "T")) {
            K_GLOWNE = 0;
            break;
        }
    }
    EKRAN_GLOWNY();
    XYZ = SAVESCREEN();
}

}  // namespace

void DOWODY() {
    RAMKA(2, 25, 20, 50, 8, 13, 17);
    const bool p1 = PRAWA1(1), p3 = PRAWA1(3), p5 = PRAWA1(5);
    const bool r13 = PRAWA(13);
    const bool fiscal = M_DRUKARKA.find("COM") != std::string::npos || M_DRUKARKA.find("DF_IP") != std::string::npos;
    const bool rates = FILE_X("WAL.DBF");
    // (R): withheld from an operator whose name carries "(R)".
    auto r = [](std::function<void()> f) {
        return [f] {
            if (!restricted()) f();
        };
    };
    Submenu m{'D', K_OBROTY, 26, 24, {}};
    m.entries = {
        {4, " Edycja", r13 && !p3, r([=] {
             if (p3 || !r13) return;
             if (DOW_BLOKUJ) {
                 TONE(800, 1);
                 _OKNO_("ZWOLNIJ MIEJSCE NA DYSKU !");
                 return;
             }
             DBU_DOW(0);
         })},
        {5, std::string(" Wyświetlanie i wydruk"_852), (r13 || PRAWA(4)) && !p3, r([=] {
             if (!p3 && (r13 || PRAWA(4))) DBU_DOW(1);
         })},
        {6, "*Poprawa", PRAWA(7) && r13 && !p3, r([=] {
             if (p3 || !r13 || !PRAWA(7)) return;
             if (!FIRMA_ST_2("+")) return;
             DBU_DOW(2);
             FIRMA_ST_2("-");
         })},
        {7, " Zestawienie dowodow", (!p1 && r13) || PRAWA(4) || TOJESTKASA, r([=] {
             if (p3 || !(r13 || PRAWA(4) || TOJESTKASA)) return;
             if (!p1) OTB_DOWODY();
             first_order_top("slow");
             first_order_top("dowod");
         })},
        {9, " Parametryzacja dowodow", !p1 && r13 && !p3, r([=] {
             if (!p3 && r13 && !p1 && PRAWA(7)) DBU_RD();
         })},
        {10, " Parametryzacja systemu", !p1 && r13 && !p3, r([=] {
             if (p3 || !r13) return;
             if (p1) {
                 _OKNO_("Brak praw");
             } else if (M_NR == "0") {
                 int c = MALE_MENU(9, 50, {"1. Parametry uzytkownika   ", "2. Parametry administratora"});
                 if (c == 1) PARAMETRY_PROGRAMU(1);
                 if (c == 2) INST_VELT();
             } else if (PRAWA(7)) {
                 PARAMETRY_PROGRAMU(1);
             } else {
                 _OKNO_("Brak praw");
             }
         })},
        {11, " Parametry odsetek", !p1 && r13 && !p3, r([=] {
             if (!p3 && r13 && !p1) ODS_BROWSE(10, 1, 15, 78);
         })},
        {12, " Zmiana operatora", true, zmiana_operatora},
        {14, " Drukarka fisk/Terminal", ((r13 && fiscal) || PRAWA(1)) && !p3, [=] {
             int c = MALE_MENU(13, 44, {" Drukarka fiskalna  ", std::string(" Terminal płatniczy "_852)});
             if (c == 1 && ((r13 && fiscal) || PRAWA(1))) DF_300();
             if (c == 2 && (FILE_X("ELAVON.TXT") || FILE_X("C:\\ELAVON.TXT"))) EFT_MENU();
         }},
        {15, rates ? " Tabela kursu walut" : " Szukanie kwoty", r13 && !p3, [=] {
             if (p3 || !r13) return;
             if (rates)
                 WAL_BROWSER();
             else
                 search_menu();
         }},
        {16, " Szukanie kwoty/faktury", !TOJESTKASA, r([] {
             if (!TOJESTKASA) search_menu();
         })},
        {18, " Generowanie FV do WZ", r13 && !TOJESTKASA, r([] {
             do {
                 GENERUJ_FV_DO_WZ();
             } while (OTB_RWZ() && LASTKEY() != K_ESC);
         })},
        {19, " Zestawienie       WZ", !p3 && r13 && !p1, r([=] {
             if (p3 || !r13 || p1) return;
             M_RD = "WZ ";
             if (KOP_DDMMRR(1)) {
                 const int area = SELECT();
                 DBSELECTAREA(66);
                 DBU_RAP(1);
                 DBSELECTAREA(66);
                 DBCLOSEAREA();
                 DBSELECTAREA(area);
             }
             first_order_top("dowod");
         })},
    };
    if (p3) {
        for (int n : {1, 2, 3, 4, 5, 6, 7, 9, 10, 13}) m.entries[static_cast<std::size_t>(n - 1)].shown = false;
    }
    if (p3 && p5) {
        for (auto& e : m.entries) e.shown = e.text == " Zmiana operatora";
    }
    if (p5) {
        for (auto& e : m.entries) e.action = zmiana_operatora;
    }
    RUN_SUBMENU(m);
    if (SELECT("dd") != 0) {
        const int area = SELECT();
        DBSELECTAREA("dd");
        const bool lines = LASTREC() > 0;
        DBSELECTAREA(area);
        if (lines) NOWE_DD();
    }
}

}  // namespace sklad
