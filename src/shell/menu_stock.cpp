#include <filesystem>

#include "common/console.h"
#include "common/dialogs.h"
#include "common/forms.h"
#include "data/access.h"
#include "data/session.h"
#include "operators/rights.h"
#include "platform/text/cp852.h"
#include "operators/operators.h"
#include "shell/menu.h"
#include "shell/pending.h"
#include "shell/session.h"
#include "shell/settings.h"

namespace sklad {

void ASORTYMENT() {
    Submenu m{'M', K_ASORTYMENT, 1, 35, {}};
    if (TOJESTKASA) {
        RAMKA(4, 0, 7, 36);
        m.entries = {{6, " Kartoteki kosztow", true, [] { DBU_AS(""); }}};
        RUN_SUBMENU(m);
        return;
    }
    RAMKA(4, 0, 15, 36, 7, 13);
    auto suppliers = [](auto routine) {
        return [routine] {
            K_KONTRAHENCI = 2;
            routine();
        };
    };
    MenuEntry cards{6, " Kartoteki magazynowe", true, [] { DBU_AS(""); }};
    MenuEntry offer{8, " Oferta handlowa", true, OFERTA_HANDLOWA};
    MenuEntry automatic{9, std::string(" Automatyczne wystawianie zamowień"_852), true, suppliers([] { ZAMOW_AS(); })};
    MenuEntry manual{10, std::string(" Reczne wystawianie zamowień"_852), true, [] {
                         int who = MALE_MENU(12, 25, {" od odbiorcow ", " do dostawcow "});
                         if (who == 0) return;
                         K_KONTRAHENCI = who;
                         ZAMOW_AS("211");
                     }};
    MenuEntry review{11, std::string(" Przeglad zamowień"_852), true, suppliers(NC_ZAM)};
    MenuEntry ver4{12, " Zamowienia ver. 4", true, suppliers(R_CO_SS)};
    MenuEntry pump{14, " Pompowanie magazynu", true, POMPOWANIE_MAGAZYNU};
    if (JEST_WALUTA == "T") {
        // Currency mode: the rate table comes second and the orders are made without asking for whom.
        m.entries = {cards, {7, " Tabela kursu walut", true, DBU_WW}, offer,
                     {9, automatic.text, true, [] { ZAMOW_AS(); }}, {10, manual.text, true, [] { ZAMOW_AS("211"); }},
                     review, ver4, pump};
    } else {
        m.entries = {cards, offer, automatic, manual, review, ver4, pump};
    }
    RUN_SUBMENU(m);
}

namespace {

// The due-date schedule asks three optional filters, then lists.
void terminarz() {
    ScreenImage under = SAVESCREEN();
    DISPBOX(11, 41, 15, 79, 2);
    SCROLL(12, 42, 14, 78);
    M_KOMU = std::string(8, ' ');
    M_KIER = std::string(3, ' ');
    M_K_E = " ";
    DISPOUTAT(12, 42, "Kod opiekuna:");
    DISPOUTAT(13, 42, "Tel. kier.  :");
    DISPOUTAT(14, 42, "Kraj/Export :");
    __GET(12, 56, "M_KOMU", "@!");
    __GET(13, 56, "M_KIER", "@!");
    __GET(14, 56, "M_K_E", "@!");
    for (int r = 12; r <= 14; ++r) DISPOUTAT(r, 66, "mozna pominac");
    READMODAL();
    RESTSCREEN(under);
    if (LASTKEY() != K_ESC) DBU_TERM();
}

void pobranie_fk() {
    _OKNO_("PROSZE CZEKAC", "...");
    if (ODT_GEST()) {
        TONE(3000, 1);
        TONE(3000, 1);
        _OKNO_("DANE ZOSTAŁY POBRANE"_852, 3.0);
    } else {
        TONE(800, 1);
        TONE(800, 1);
        _OKNO_("MAM PROBLEMY Z POBRANIEM", 3.0);
    }
}

}  // namespace

void KONTRAHENCI() {
    RAMKA(3, 12, 16, 41, 9);
    const bool allowed = (!PRAWA1(3) && (PRAWA(13) || PRAWA1(5))) || ROZRACHUNKI_OTWARTE();
    auto guarded = [](std::function<void()> action) {
        return [action] {
            if (!PRAWA(13) && !PRAWA1(5)) {
                _OKNO_("brak praw");
                return;
            }
            action();
        };
    };
    auto group = [guarded](int g) {
        return guarded([g] {
            K_KONTRAHENCI = g;
            DBU_ZO();
        });
    };
    const bool fk = J_FF2.find_first_not_of(' ') != std::string::npos;
    Submenu m{'K', K_KONTRAHENCI, 13, 28, {}};
    m.entries = {
        {5, " Rozrachunki z odbiorcami", allowed, group(1)},
        {6, " Rozrachunki z dostawcami", allowed && PRAWA(8), guarded([] {
             if (!PRAWA(8)) return;
             K_KONTRAHENCI = 2;
             DBU_ZO();
         })},
        {7, " Rozrachunki z pracownikami", allowed, group(3)},
        {8, std::string(" Pozostałe rozrachunki"_852), allowed, group(4)},
        {10, " Notes", allowed, group(5)},
        {11, std::string(" Salda naleznosci-zobowiazań"_852), allowed, guarded(RAP_D_W)},
        fk ? MenuEntry{12, " Pobranie danych z F-K", allowed, guarded(pobranie_fk)}
           : MenuEntry{12, std::string(" Terminarz należnosci-zobow."_852), allowed, guarded(terminarz)},
        {13, std::string(" Faktury niezapłacone !!!!! "_852), allowed, guarded([] { FV_NIEZAPLACONE(false); })},
        {15, " Edycja stopek do faktur", allowed, guarded([] {
             std::error_code ec;
             std::filesystem::create_directories("stopa", ec);
             NORTON("STOPA\\*.txt");
         })},
    };
    RUN_SUBMENU(m);
}

}  // namespace sklad
