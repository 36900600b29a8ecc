#include "operators/rights.h"

#include "common/format.h"

namespace sklad {

bool ZALOGOWANY() { return !M_NR.empty() && M_NR != " "; }

bool PRAWA(int n) {
    if (n < 1 || static_cast<std::size_t>(n) > M_PRAWA.size()) return true;
    return M_PRAWA[static_cast<std::size_t>(n) - 1] != 'N';
}

bool PRAWA1(int n) {
    if (n < 1 || static_cast<std::size_t>(n) > M_PRAWA1.size()) return false;
    return M_PRAWA1[static_cast<std::size_t>(n) - 1] == 'T';
}

bool PRAWA2(std::string_view token) { return !token.empty() && M_PRAWA2.find(token) != std::string::npos; }

bool SZEF() { return M_NR == "0"; }

bool ADMINISTRATOR() { return ZALOGOWANY() && !M_PRAWA.empty() && M_PRAWA.front() == 'T'; }

bool MOZE_ADMINISTROWAC(std::string_view rights) {
    return ADMINISTRATOR() && (rights.empty() || rights.front() != 'T' || SZEF());
}

bool OGRANICZONY() { return M_NAZWISKO.find("(R)") != std::string::npos; }

std::string MENU_ZNACZNIK(char menu, int n) { return std::string("-") + menu + STR2(n); }

bool MENU_ZABRONIONE(char menu, int n) {
    return n > 0 && (PRAWA2(MENU_ZNACZNIK(menu, n)) || PRAWA2(std::string("-") + menu + "*"));
}

bool ROZRACHUNKI_OTWARTE() { return PRAWA2("+K*"); }

bool ROZRACHUNKI_ZABRONIONE(char kto) {
    return PRAWA2(std::string("-R") + kto) || PRAWA2("-R*") || PRAWA2("-R?");
}

}  // namespace sklad
