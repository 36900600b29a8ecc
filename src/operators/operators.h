#pragma once
// Operators: the operator table `prawa`, the operator change with its list (login, logout, the
// administrators' editors), passwords and the supervisor's authorisation. The session variables
// and the rights tests are in operators/rights.h, which this header includes.
//
// The routines that take the list act on its current record: the record of `prawa` the lit row
// shows. Every change of a record is made under that record's lock and is lost, without a
// message, when the lock cannot be had in time.

#include <string>
#include <string_view>

#include "common/browse_list.h"
#include "data/layouts.h"
#include "operators/rights.h"

namespace sklad {

// ---- the operator table (prawa_table.cpp)
inline constexpr int OBSZAR_PRAWA = 101;  // work area of prawa
// The restore password of the special-functions menu; it also starts the operators' service code.
inline constexpr std::string_view HASLO_ODTWARZANIA = "REROZU";
// Marker file that switches the service codes of the login on (off without it).
inline constexpr std::string_view KODY_SERWISOWE = "KODSERW.TXT";

// The layout of the operator table, and as a structure string for the table at `path`.
const Fields& UKLAD_PRAWA();
std::string STRUKTURA_PRAWA(std::string_view path);
// A missing operator table is created with the supervisor's record "0": named "Administrator",
// every right, no profile, no password. True when it was created now.
bool UTWORZ_PRAWA();
// The name of operator `nr` (30 characters; blanks when there is none). Opens and closes the
// table when it is not open.
std::string PRAWA_NAZ(std::string_view nr);
// The password of the current record of prawa, unscrambled (10 characters).
std::string HASLO_REKORDU();
// M_BOSS0 from the supervisor's record of prawa (selected and open); the record stays current.
void WEZ_HASLO_SZEFA();
// Whether prawa with `fields` is older than the layout the operator routines need.
bool PRAWA_DO_PRZEBUDOWY(const Fields& fields);
// With prawa selected in its area: brings it to the current layout, only while this copy holds
// the firm table exclusively (taking the token for the upgrade when no other copy runs). Values
// of fields whose type changed are lost and named in "Sprawdz: ...". Afterwards prawa is open
// shared again and M_BOSS0 taken anew; false when it cannot be reopened.
bool PRZEBUDUJ_PRAWA();

// ---- password scrambling (scramble.cpp): one operation in both directions
// Each character combined with the key by exclusive-or. The result is max(10, length of text)
// long, the text repeating when shorter; with n > 0 exactly n long.
std::string MOJ_ENCODE(std::string_view text, int n = 0);
std::string MOJ_DECODE(std::string_view text, int n = 0);

// ---- the operator change (login.cpp)
// The operator list, then the logged-in operator's workstation set-up. False only when the list
// was left with Esc while nobody is logged in: the caller then asks whether to end the work, and
// calls it again when the answer is no.
bool ZMIANAOPERATORA();
// Before the administrator settings editor of the "install" start: true when the supervisor has
// no password or typed it (two attempts).
bool HASLO_ADMINISTRATORA();
// Login on the list's record; true when someone is logged in afterwards.
bool ZALOGOWANIE(BrowseList& list);
// Logout of the logged-in operator. True.
bool WYLOGOWAC();
// The scale driver's start at an operator change (serial port 1 to 4, mode); nothing to start
// until the scale driver is built.
void DIBAL_INIT(int port, int mode);

// ---- the operator list (operator_list.cpp)
// False when the operator table cannot be opened.
bool TB_PRAWA();

// ---- the administrators' editors (editors.cpp, workstation_profile.cpp)
// Name editor; `nowy_nr` (a just added operator's number) is shown before the name. True.
bool EDNAZWISKA(BrowseList& list, std::string_view nowy_nr = "");
// Rights editor; display only with `tylko_pokaz` or on the supervisor's record. True.
bool EDPRAW(BrowseList& list, bool tylko_pokaz = false);
// Profile editor; the same display-only rule. True.
bool EDPRAW1(BrowseList& list, bool tylko_pokaz = false);
// Extras list editor of the current record.
void USTAW_PRAWA2();
// Adds an operator after the last one and edits his name. True when a record was added.
bool DOPISZ_OPERATORA(BrowseList& list);
// Workstation profile editor of the current record: printer, warehouses, register, kind, mail.
void USTAL_DRUKARKE();

// ---- passwords (passwords.cpp)
// The logged-in operator's password change on his own record. True when the list is to close.
bool ZMIANAHASLA(BrowseList& list);
// The correction password J_BOSS. True.
bool ZMIANABOSSA();
// The correction password every installation starts with (the default of J_BOSS).
std::string HASLO_POPRAWY_DOMYSLNE();
// The password prompt for `expected` (two attempts) that never takes a password beginning with
// "HAS" as an order to only read the typed text.
bool HASLO_ZGODNE(std::string_view expected, std::string_view title = "");
// The supervisor's authorisation of an exception; one success covers the rest of the document
// (L_BOSS0 holds the password accepted).
bool ZGODA_SZEFA(std::string_view title = "");

}  // namespace sklad
