#pragma once
// The logged-in operator as the rest of the program sees it: the session variables copied from
// the operator's record at login, and the one place every decision on rights, profiles and the
// tokens of the extras list is made. Nothing else reads M_PRAWA, M_PRAWA1 or M_PRAWA2 directly.
//
// Rights grant unless denied: a position holding anything but "N" (a blank, a missing position)
// grants, so before the first login and after a logout every right is granted (the menus are not
// reachable meanwhile). Profiles restrict only where a position holds "T".

#include <string>
#include <string_view>

#include "common/memvar.h"

namespace sklad {

SESSION_VAR(std::string, M_NR, " ");                      // operator number; "0" is the supervisor
SESSION_VAR(std::string, LM_NR, " ");
SESSION_VAR(std::string, M_NAZWISKO, std::string(30, ' '));
SESSION_VAR(std::string, MM_NAZWISKO, std::string(30, ' '));
SESSION_VAR(std::string, MM_TEL, std::string(25, ' '));
SESSION_VAR(std::string, M_PRAWA, std::string(20, ' '));   // rights string
SESSION_VAR(std::string, M_PRAWA1, std::string(20, 'N'));  // profile string
SESSION_VAR(std::string, M_PRAWA2, "");                    // denial tokens and extras
SESSION_VAR(std::string, M_DRUKARKA, "EPSON");             // the operator's printer description
SESSION_VAR(bool, TOJESTKASA, false);                      // the operator's profile marks a cash desk
SESSION_VAR(std::string, M_SMTP, "");                      // the operator's outgoing mail server
SESSION_VAR(std::string, M_NR_MAG, "");                    // warehouses the operator works on
SESSION_VAR(std::string, M_NR_KASY, "1");                  // the operator's fiscal register
SESSION_VAR(std::string, ARC_MAGAZYN, "");                 // warehouses of a travelling agent's copy
SESSION_VAR(std::string, ARC_KOMU, "");                    // the operator's personal account in zp
SESSION_VAR(std::string, ARC_RD, "");                      // the operator's default document kind
// The supervisor's password in plain text, as last read from the operator table.
SESSION_VAR(std::string, M_BOSS0, "TUMP");
// The supervisor password last accepted in the current document ("####": none yet).
SESSION_VAR(std::string, L_BOSS0, "####");
// Numbers of the operators that are scale stations ("WAGA" in the name or printer description).
SESSION_VAR(std::string, GDZIE_WAGA, "");

// Someone is logged in.
bool ZALOGOWANY();
// Right n: granted unless position n of M_PRAWA is "N" (blank or missing positions grant).
bool PRAWA(int n);
// Profile n: only when position n of M_PRAWA1 is "T".
bool PRAWA1(int n);
// The extras list holds `token` (a substring search, as every token is written in upper case).
bool PRAWA2(std::string_view token);

// The logged-in operator is the supervisor (operator "0").
bool SZEF();
// The logged-in operator administers operators: the first position of his rights is the letter
// "T" itself (a blank, which grants everywhere else, does not make an administrator).
bool ADMINISTRATOR();
// The logged-in operator may change the record of another operator whose rights string is
// `rights`: an administrator, and either the record's owner is no administrator or the logged-in
// operator is the supervisor.
bool MOZE_ADMINISTROWAC(std::string_view rights);
// The operator's name marks him restricted ("(R)").
bool OGRANICZONY();

// Entry n of a menu is denied by the token "-" + letter + two digits, or the whole menu by
// "-" + letter + "*". Menu letters: M stock, K settlements, D documents, R reports, S special.
bool MENU_ZABRONIONE(char menu, int n);
// The token of such a denial as the menus show it after "Brak praw, ": "-D03".
std::string MENU_ZNACZNIK(char menu, int n);
// "+K*": the settlements menu is open whatever the rights and profiles.
bool ROZRACHUNKI_OTWARTE();
// The settlement list of a contractor group ("O", "D", "P", "F") is denied: "-RO" ... "-RF",
// or all four with "-R*" or "-R?".
bool ROZRACHUNKI_ZABRONIONE(char kto);

}  // namespace sklad
