#pragma once
// The logged-in operator as the rest of the program sees it: the session variables copied from
// the operator's record at login, and the tests of rights and profiles.

#include <string>

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
SESSION_VAR(std::string, ARC_KOMU, "");
SESSION_VAR(std::string, ARC_RD, "");

// Right n: granted unless position n of M_PRAWA is "N" (blank or missing positions grant).
bool PRAWA(int n);
// Profile n: only when position n of M_PRAWA1 is "T".
bool PRAWA1(int n);

}  // namespace sklad
