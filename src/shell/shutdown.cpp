// The orderly end of a run and the end asked for by a signal.
#include "shell/shutdown.h"

#include "common/console.h"
#include "common/dialogs.h"
#include "common/format.h"
#include "data/access.h"
#include "data/engine.h"
#include "data/session.h"
#include "operators/rights.h"
#include "shell/operator_log.h"
#include "shell/workstation.h"

namespace sklad {

namespace {

bool operator_set() { return M_NAZWISKO.find_first_not_of(' ') != std::string::npos; }

void close_tables() {
    try {
        DBCLOSEALL();
    } catch (const std::exception&) {
        // A table that cannot be written back has nobody left to tell at the end.
    }
}

}  // namespace

bool AUTO_GG(std::string_view /*warehouse*/) { return false; }

bool PRZENIESIENIE_NA_KONIEC() {
    if (AUTO_GG_ZROBIONE || !FILE_X("AUTO_GG.TXT")) return false;
    if (SELECT("dow") == 0 || SELECT("dowod") == 0) return false;
    const Date today = DATE();
    if (HH != STR2(today.year() % 100) + "\\" + STR2(today.month())) return false;
    AUTO_GG_ZROBIONE = true;
    for (const char* warehouse : {"1", "3", "4", "5", "6", "7", "8", "9"}) AUTO_GG(warehouse);
    return true;
}

void KONIEC_PRACY(std::string_view message) {
    PRZENIESIENIE_NA_KONIEC();
    OUT_NET();
    if (!message.empty()) _OKNO_(message);
    CLS();
    close_tables();
    if (operator_set()) CZAS_PRACY("K");
}

void KONIEC_SYGNALEM(int /*signal*/) {
    OUT_NET();
    close_tables();
    if (operator_set()) CZAS_PRACY("K");
}

void USTAW_KONIEC_SYGNALEM() { CONSOLE().set_end_handler(KONIEC_SYGNALEM); }

}  // namespace sklad
