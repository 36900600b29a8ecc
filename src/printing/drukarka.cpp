#include "printing/drukarka.h"

#include <fcntl.h>
#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "common/console.h"
#include "common/dialogs.h"
#include "data/access.h"
#include "platform/printer/cups.h"
#include "platform/printer/render.h"
#include "platform/text/cp852.h"
#include "printing/pliki.h"
#include "printing/session.h"
#include "printing/tekst.h"
#include "printing/vat_ini.h"

namespace sklad {

namespace pp = platform::printer;

namespace {

bool device_file(std::string_view printer) { return !printer.empty() && printer.front() == '/'; }

// Says what failed: the program's own text, then the reason the system gave (UTF-8, cut to the
// window).
void report(std::string_view text, const std::string& reason) {
    _OKNO_(text, 3);
    if (!reason.empty()) _OKNO_(platform::text::from_utf8(reason).substr(0, 41), 3);
}

std::string printer_name() {
    std::string name = ALLTRIM(VAT_INI("PRINTERNAME"));
    return name.empty() ? "LPT1" : name;
}

// The file to print; a file that cannot be read is offered again until the operator gives up.
std::optional<std::string> read_for_printing(std::string_view file) {
    for (;;) {
        if (auto bytes = MEMOREAD(file)) return bytes;
        if (!OKNO("Open Error: " + std::string(file), "T")) return std::nullopt;
    }
}

bool write_device(const std::string& path, std::string_view bytes, std::string& reason) {
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        reason = path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = true;
    for (std::size_t at = 0; at < bytes.size();) {
        ssize_t n = ::write(fd, bytes.data() + at, bytes.size() - at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            reason = path + ": " + std::strerror(errno);
            ok = false;
            break;
        }
        at += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0 && ok) {
        reason = path + ": " + std::strerror(errno);
        ok = false;
    }
    return ok;
}

}  // namespace

std::string SERWER_DRUKU() {
    const char* s = std::getenv("CUPS_SERVER");
    return s ? s : "";
}

bool DRUKARKA_GOTOWA() {
    std::string name = printer_name();
    if (device_file(name)) return ::access(name.c_str(), W_OK) == 0;
    auto d = pp::PrintServer(SERWER_DRUKU()).destination(name);
    return d && d->ready();
}

bool DRUKOWAC() {
    const ScreenImage area = SAVESCREEN(15, 30, 20, 72);
    const std::string colour = SETCOLOR();
    auto done = [&](bool result) {
        RESTSCREEN(15, 30, 20, 72, area);
        SETCOLOR(colour);
        return result;
    };
    DISPBOX(15, 30, 19, 72, 2, "N/W");
    DISPOUTAT(16, 31, "    PRZYGOTUJ  DRUKARKE", "N/W");
    DISPBOX(18, 37, 20, 65, 1, "N/W");
    DISPOUTAT(19, 38, "  Wcisnij dowolny klawisz", "N/W");
    if (LASTKEY() != ' ' && NEXTKEY() != ' ') {
        INKEY(0);
    } else if (NEXTKEY() == ' ') {
        INKEY();
    }
    if (LASTKEY() == K_ESC) return done(false);
    const bool lpt = FILE_X("LPT.TXT");
    if (LASTKEY() == K_TAB && lpt) {
        __ATPROMPT(16, 58, "1. LPT1");
        __ATPROMPT(17, 58, "2. LPT2");
        int choice = __MENUTO(M_LPT == "LPT2" ? 2 : 1);
        if (choice == 1) M_LPT = "LPT1";
        if (choice == 2) M_LPT = "LPT2";
    }
    if (DRUKARKA_GOTOWA() || M_LPT == "LPT2" || FILE_X("DRUKUJ.TXT")) return done(true);
    DISPOUTAT(17, 33, "DRUKARKA NIE JEST GOTOWA ", "W+/R");
    TONE(880, 2);
    if (INKEY(0) == K_ESC) return done(false);
    return done(DRUKARKA_GOTOWA());
}

bool DRUKUJ_SUROWO(std::string_view printer, std::string_view title, std::string_view bytes) {
    std::string reason;
    if (device_file(printer)) {
        if (write_device(std::string(printer), bytes, reason)) return true;
    } else {
        auto job = pp::PrintServer(SERWER_DRUKU()).submit_raw(printer, title, bytes);
        if (job) return true;
        reason = job.error();
    }
    report("Drukarka nie przyjela wydruku", reason);
    return false;
}

bool PRNTYPEFILE(std::string_view file, std::string_view printer, int margin, long from, long to) {
    auto bytes = read_for_printing(file);
    if (!bytes) return false;
    std::string job = "\r\n";
    long n = 0;
    const std::string indent(static_cast<std::size_t>(std::max(margin, 0)), ' ');
    for (const Wiersz& w : WIERSZE(*bytes)) {
        ++n;
        if (n < from) continue;
        if (n > to) break;
        job += indent;
        job.append(*bytes, w.start, w.next - w.start);
    }
    return DRUKUJ_SUROWO(printer, file, job);
}

bool W32TYPEFILE(std::string_view file, std::string_view printer, int margin, long from, long to) {
    auto bytes = read_for_printing(file);
    if (!bytes) return false;
    pp::PrintServer server(SERWER_DRUKU());
    std::string pdf;
    if (device_file(printer)) {
        if (::access(std::string(printer).c_str(), W_OK) != 0) {
            report("Cannot Create Printer", std::string(printer));
            return false;
        }
    } else if (auto d = server.destination(printer); !d) {
        report("Cannot Create Printer", d.error());
        return false;
    }
    try {
        pp::ParseOptions lines;
        lines.first_line = std::max(from, 1L);
        lines.last_line = to;
        pp::RenderOptions options;
        options.left_indent = margin * 12 * 72.0 / 600;  // device units of a 600 dpi printer
        pdf = pp::render_pdf(pp::parse_spool(*bytes, lines), options).bytes();
    } catch (const std::exception& e) {
        report("StartDoc() failed", e.what());
        return false;
    }
    if (device_file(printer)) return DRUKUJ_SUROWO(printer, file, pdf);
    auto job = server.submit_pdf(printer, file, pdf);
    if (!job) {
        report("StartDoc() failed", job.error());
        return false;
    }
    return true;
}

bool FILETOPRINTER(std::string_view file, std::string_view from_text, std::string_view to_text) {
    if (LASTKEY() == K_ESC) return false;
    const long from = from_text.empty() ? 0 : VAL(from_text);
    const long to = to_text.empty() ? 999999 : VAL(to_text);
    if (from >= to) return false;
    if (ZAWIERA(file, "ELTRON") || ZAWIERA(file, "ZEBRA")) {
        auto bytes = read_for_printing(file);
        return bytes && DRUKUJ_SUROWO("ELTRON", file, *bytes);
    }
    const std::string printer = printer_name();
    if (ALLTRIM(VAT_INI("PRINTERTYPE")) == "WIN32") return W32TYPEFILE(file, printer, 0, from, to);
    return PRNTYPEFILE(file, printer, 0, from, to);
}

}  // namespace sklad
