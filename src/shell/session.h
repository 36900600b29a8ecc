#pragma once
// The session variables of the start-up and the main menu, and the shared buffers of the current
// document and item, with their starting values. The groups of other subsystems are declared
// with their routines (settings, catalogue, operators, dialogs, list screens).

#include <string>

#include "common/console.h"
#include "common/memvar.h"

namespace sklad {

// ---- key codes, as the start-up names them
SESSION_VAR(int, ESC, 27);
SESSION_VAR(int, F1, 28);
SESSION_VAR(int, F2, -1);
SESSION_VAR(int, F3, -2);
SESSION_VAR(int, F4, -3);
SESSION_VAR(int, F5, -4);
SESSION_VAR(int, F6, -5);
SESSION_VAR(int, F7, -6);
SESSION_VAR(int, F8, -7);
SESSION_VAR(int, F9, -8);
SESSION_VAR(int, F10, -9);
SESSION_VAR(int, ALT_F9, -38);
SESSION_VAR(int, KK_L, 19);
SESSION_VAR(int, KK_P, 4);
SESSION_VAR(int, KK_G, 5);
SESSION_VAR(int, KK_D, 24);
SESSION_VAR(int, HOME, 1);
SESSION_VAR(int, _END, 6);
SESSION_VAR(int, PGUP, 18);
SESSION_VAR(int, PGDN, 3);
SESSION_VAR(int, CTRL_KK_L, 26);
SESSION_VAR(int, CTRL_KK_P, 2);
SESSION_VAR(int, CTRL_HOME, 29);
SESSION_VAR(int, CTRL_END, 23);
SESSION_VAR(int, CTRL_PGUP, 31);
SESSION_VAR(int, CTRL_PGDN, 30);
SESSION_VAR(int, INS, 22);
SESSION_VAR(int, DEL, 7);
SESSION_VAR(int, ENTER, 13);

// ---- the command line and the run
SESSION_VAR(std::string, WWW, "");      // the argument ("CD" for one beginning with "cd")
SESSION_VAR(std::string, WEJSCIE, "");  // the argument as given
SESSION_VAR(bool, M_WIN32, true);       // the host's printing is available
SESSION_VAR(int, KOD_WYJSCIA, 0);       // the program's exit code

// ---- menu positions
SESSION_VAR(int, K_GLOWNE, 1);
SESSION_VAR(int, K_ASORTYMENT, 1);
SESSION_VAR(int, K_KONTRAHENCI, 1);
SESSION_VAR(int, K_OBROTY, 1);
SESSION_VAR(int, K_RAPORTY, 1);
SESSION_VAR(int, K_SPECJALNE, 1);
SESSION_VAR(int, LK_OPCJA, 1);  // the submenu position before the current choice
SESSION_VAR(int, POM, 0);       // 1 while a Left/Right jump between submenus is under way
SESSION_VAR(int, KLUCZ, 0);
inline ScreenImage XYZ;         // the main screen as drawn, put back after every submenu

// ---- the current document
SESSION_VAR(std::string, M_RD, "SD ");
SESSION_VAR(std::string, M_NRD, std::string(8, ' '));
SESSION_VAR(Date, M_DATA, Date());
SESSION_VAR(Date, M_TERMIN, Date());
SESSION_VAR(Date, M_DATA_KON, Date());
SESSION_VAR(Date, M_DATA_KO2, Date());
SESSION_VAR(std::string, M_ODB, std::string(8, ' '));
SESSION_VAR(std::string, M_DOST, std::string(8, ' '));
SESSION_VAR(std::string, M_KTO, "O");
SESSION_VAR(std::string, M_NODB, std::string(50, ' '));
SESSION_VAR(std::string, M_NODB1, std::string(50, ' '));
SESSION_VAR(std::string, M_NODB2, std::string(50, ' '));
SESSION_VAR(std::string, M_SPZ, "G");
SESSION_VAR(int, M_TEZ, 0);
SESSION_VAR(Decimal, M_RABAT, Decimal());
SESSION_VAR(Decimal, M_RABAT2, Decimal());
SESSION_VAR(Decimal, M_RABAT3, Decimal());
SESSION_VAR(Decimal, M_RABAT4, Decimal());
SESSION_VAR(Decimal, M_WPLATA, Decimal());
SESSION_VAR(Decimal, M_WARTOSC, Decimal());
SESSION_VAR(Decimal, M_PODATEK, Decimal());
SESSION_VAR(Decimal, M_OBWN, Decimal());
SESSION_VAR(Decimal, M_OBMA, Decimal());
SESSION_VAR(Decimal, FA_N_OBWN, Decimal());
SESSION_VAR(Decimal, FA_N_OBMA, Decimal());
SESSION_VAR(Decimal, M_RESZTA, Decimal());
SESSION_VAR(Decimal, M_RESZTA_P, Decimal());
SESSION_VAR(std::string, M_WAL, std::string(3, ' '));
SESSION_VAR(std::string, M_WALUTA, std::string(3, ' '));
SESSION_VAR(Decimal, M_KURS, Decimal());
SESSION_VAR(Decimal, M_KURS_1, Decimal());
SESSION_VAR(std::string, MM_RD, std::string(3, ' '));
SESSION_VAR(std::string, MM_NRD, std::string(8, ' '));
SESSION_VAR(std::string, M_NR_ZAM, std::string(8, ' '));
SESSION_VAR(std::string, M_UWAGI, std::string(50, ' '));
SESSION_VAR(std::string, M_KIER, std::string(3, ' '));
SESSION_VAR(std::string, M_K_E, " ");
SESSION_VAR(std::string, M_NIP1, " ");
SESSION_VAR(std::string, M_KOMU, std::string(8, ' '));
SESSION_VAR(std::string, M_AUTO, std::string(8, ' '));
SESSION_VAR(std::string, M_NB, " ");
SESSION_VAR(Decimal, M_WPLACA, Decimal());
SESSION_VAR(Decimal, M_SRAB, Decimal());
SESSION_VAR(Decimal, M_UTARG, Decimal());
SESSION_VAR(bool, PODSTAWA_CENA0, true);
SESSION_VAR(bool, DOW_BLOKUJ, false);

// ---- the current item
SESSION_VAR(std::string, M_MAG, "1");
SESSION_VAR(std::string, MMM_MAG, "1");
SESSION_VAR(std::string, M_INDEKS, std::string(8, ' '));
SESSION_VAR(std::string, M_NEW_INDEKS, std::string(8, ' '));
SESSION_VAR(std::string, M_NAZWA, std::string(30, ' '));
SESSION_VAR(std::string, M_NAZWA1, std::string(40, ' '));
SESSION_VAR(Decimal, M_CENA0, Decimal());
SESSION_VAR(Decimal, M_CENA, Decimal());
SESSION_VAR(Decimal, M_ILOSC, Decimal());
SESSION_VAR(std::string, M_PKWIU, std::string(10, ' '));
SESSION_VAR(std::string, M_KOD13, std::string(13, ' '));
SESSION_VAR(std::string, M_KOD13DISP, std::string(13, ' '));
SESSION_VAR(std::string, M_PODATEK0, "  ");
SESSION_VAR(std::string, M_GTU, std::string(13, ' '));
SESSION_VAR(std::string, L_MAG_INDEKS, "1" + std::string(8, ' '));

// ---- the fiscal device's port
SESSION_VAR(int, DF_COM, 1);
SESSION_VAR(std::string, PORT_ADDR, "3F8");
SESSION_VAR(int, PORT10_ADDR, 1016);
SESSION_VAR(bool, JEST_DF_300, false);

// Resets the document buffer: kind "SD ", no contractor, today's dates.
void ZERUJ_DOKUMENT();

}  // namespace sklad
