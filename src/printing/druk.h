#pragma once
// The print drivers. A print procedure writes its printout with the console's output routines
// (QOUT, QQOUT, DEVPOS, DEVOUT) while a driver has redirected them into a spool file; the driver
// then opens the preview on the file or sends it to the printer. Procedures are called by name:
// each subsystem registers its own at start-up with REJESTRUJ_DRUK.

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/value/value.h"

namespace sklad {

// A print procedure; it may change its arguments (they are passed by reference).
using ProceduraDruku = std::function<void(std::vector<platform::Value>& args)>;

// Registers `procedure` under `name` (letter case ignored), replacing one of the same name.
// `w_szablonach`: template files (DRUK_PLIK) may call it.
void REJESTRUJ_DRUK(std::string_view name, ProceduraDruku procedure, bool w_szablonach = false);
bool JEST_DRUK(std::string_view name);
// Runs a registered procedure into the current output; false when there is no such procedure.
bool WYKONAJ_DRUK(std::string_view name, std::vector<platform::Value>& args);
// The same for a template file: only procedures registered for templates run.
bool WYKONAJ_W_SZABLONIE(std::string_view name, std::vector<platform::Value>& args);

// Runs `procedure` (up to three arguments) into the spool file `file` (or, when that cannot be
// erased, into a fallback name: wydruk.h) and opens the preview on it. An empty procedure name
// only previews the file as it is. Afterwards makes the PDF the operator asked for in the preview
// (Alt-P, with PDF.TXT). Returns true.
bool VIEW_DRUK(std::string_view procedure, std::string_view file, std::vector<platform::Value>& args);
bool VIEW_DRUK(std::string_view procedure, std::string_view file, std::initializer_list<platform::Value> args = {});

// Asks for the printer (DRUKOWAC), runs `procedure` (up to two arguments) into rob\drukNN.prn and
// sends it to the printer. The file is erased only when the printer took it; otherwise it is kept
// and the operator told where. False when nothing was printed.
bool DRUKUJ(std::string_view procedure, std::vector<platform::Value>& args);
bool DRUKUJ(std::string_view procedure, std::initializer_list<platform::Value> args = {});

// Writes the printout into `file`, then after DRUKOWAC sends the whole file, leading blanks
// trimmed, raw to the chosen port M_LPT without preview (cash slips). "Brak pliku " and the name
// when the file did not come about. False when nothing was printed.
bool VIEW5_DRUK(std::string_view procedure, std::string_view file, std::vector<platform::Value>& args);
bool VIEW5_DRUK(std::string_view procedure, std::string_view file, std::initializer_list<platform::Value> args = {});

// Runs a procedure into `file` (created anew): INITDRUK, the procedure, CLOSEDRUK, the cursor
// back on. False when the file could not be written or there is no such procedure.
bool DRUK_DO_PLIKU(std::string_view procedure, std::string_view file, std::vector<platform::Value>& args);

}  // namespace sklad
