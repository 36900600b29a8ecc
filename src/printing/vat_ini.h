#pragma once
// vat.ini: the per-computer printer and device settings in the working folder (ini.h). A value
// is looked up in the section of this computer and, when empty there, in "System".

#include <string>
#include <string_view>

#include "printing/ini.h"

namespace sklad {

inline constexpr const char* VAT_INI_PLIK = "vat.ini";

// This computer's name: COMPUTERNAME from the environment, otherwise the host name.
std::string COMPUTERNAME();

// A setting of vat.ini by the name the program asks for: PRINTERNAME, PRINTERTYPE, ELTRONNAME,
// ELTRONTYPE, DF_IPPORT, DF_IPADDR, SERPROXY_MODE, COM1_PORT, COM2_PORT, COM1_ADDR, COM2_ADDR,
// TERMINAL_MODE (System only) and MAIL_COMMAND (the mail sender, see README). Numbers come as
// their text. Any other name is a fault of the program: "Testerze sprawdz parametr " and the
// name are shown, a key is awaited, every table is closed and std::logic_error ends the run.
std::string VAT_INI(std::string_view name);

}  // namespace sklad
