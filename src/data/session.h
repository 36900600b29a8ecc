#pragma once
// Session variables of the workstation and of the open period: where the data are, which
// workstation this is, and the feature flags read off the tables' layouts when they are opened.

#include <string>

#include "common/memvar.h"

namespace sklad {

// ---- workstation and data location
SESSION_VAR(int, STACJA, 1);                  // workstation number (set at registration)
SESSION_VAR(std::string, HH, "");             // period folder "YY\MM"
SESSION_VAR(std::string, HH_OLD, "");         // a chosen earlier period
SESSION_VAR(std::string, HH_ARC, "");         // not empty while an archived period is viewed
SESSION_VAR(std::string, M_DBF, "");          // prefix of period paths; empty: the working folder
SESSION_VAR(bool, INDEKSOWAC, false);         // rebuild every index at start-up
SESSION_VAR(bool, KOREKTA__AS, false);        // the reorganisation run recomputes stock cards
SESSION_VAR(std::string, PLIK, "rob\\wydruk1.prn");  // this workstation's print spool file
SESSION_VAR(std::string, M_ODDZIAL, "");      // branch name from the firm record

// ---- flags set while the catalogue is opened
SESSION_VAR(std::string, JEST_NODB1, "N");    // "T": firma has NODB1
SESSION_VAR(bool, JEST_KOD13, false);         // as has the bar code KOD13
SESSION_VAR(int, LEN_KOD13, 13);              // width of as->KOD13
SESSION_VAR(std::string, JEST_SUR, "N");      // "T": as has SUR
SESSION_VAR(bool, JEST_NAZWA1, false);        // as has NAZWA1
SESSION_VAR(std::string, JEST_NAZ46, "N");    // "T": as has NAZWA1 and NAZWA46.TXT exists
SESSION_VAR(std::string, JEST_ATEST, "N");    // "T": as has ATEST and J_ATEST is "T"
SESSION_VAR(bool, JEST_CENAM, false);         // as has CENAM
SESSION_VAR(int, I_AS_GRUPA, 0);              // the as order by group, certificate or price (0: none)
SESSION_VAR(std::string, JEST_WALUTA, "N");   // "T": currency mode
SESSION_VAR(std::string, JEST_ZO_NODB1, "N"); // "T": zo has NODB1
SESSION_VAR(std::string, JEST_SWW, "N");      // "T": dow has SWW
SESSION_VAR(std::string, JEST_CENA_N, "N");   // "T": dow has CENA_N
SESSION_VAR(std::string, JEST_OPERATOR, "N"); // "T": dowod has OPERATOR
SESSION_VAR(bool, JEST_POZIOM, false);        // slow has POZIOM

}  // namespace sklad
