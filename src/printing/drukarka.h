#pragma once
// The workstation's printer. vat.ini names it (PrinterName) and says how it prints (PrinterType):
// "WIN32" renders the spool text into pages (fonts, bold, overstruck letters, page breaks) and
// sends them as a PDF job; any other type sends the bytes raw, in the printer's own language.
// A printer name is a CUPS destination ("DEFAULT..." is the default one, an empty name is
// "LPT1") or, beginning with "/", a device file written directly.

#include <string>
#include <string_view>

namespace sklad {

// The print server: CUPS_SERVER when set, otherwise this computer's own setting.
std::string SERWER_DRUKU();

// The printer prompt. True when printing may go on: the operator pressed a key other than Esc
// and the printer takes jobs (or DRUKUJ.TXT skips the test, or the chosen port is LPT2). Tab,
// with LPT.TXT, chooses the port into M_LPT.
bool DRUKOWAC();
// Whether the workstation's printer takes jobs now.
bool DRUKARKA_GOTOWA();

// Sends `file` to the workstation's printer; `from` and `to` are line numbers as text (1-based,
// both included; absent: the whole file). A file whose name holds "ELTRON" or "ZEBRA" goes raw to
// the label printer "ELTRON". False, after saying why, when nothing was sent: after Esc, for
// from >= to, when the file cannot be read or the printer refuses the job.
bool FILETOPRINTER(std::string_view file, std::string_view from = "", std::string_view to = "");
// Raw copy: one CR LF, then lines from..to (0 = from the first) each after `margin` blanks.
bool PRNTYPEFILE(std::string_view file, std::string_view printer, int margin = 0, long from = 0,
                 long to = 999999);
// Rendered on pages and sent as a PDF job.
bool W32TYPEFILE(std::string_view file, std::string_view printer, int margin = 0, long from = 0,
                 long to = 999999);
// Bytes sent raw to `printer` (a destination or a device file); false after saying why.
bool DRUKUJ_SUROWO(std::string_view printer, std::string_view title, std::string_view bytes);

}  // namespace sklad
