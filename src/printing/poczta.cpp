#include "printing/poczta.h"

#include <filesystem>
#include <vector>

#include "common/console.h"
#include "common/dialogs.h"
#include "common/format.h"
#include "data/access.h"
#include "data/engine.h"
#include "data/session.h"
#include "platform/printer/command.h"
#include "platform/text/cp852.h"
#include "printing/pdf.h"
#include "printing/pliki.h"
#include "printing/pytania.h"
#include "printing/session.h"
#include "printing/tekst.h"
#include "printing/vat_ini.h"

namespace sklad {

namespace {

// The configured command split into words; a word in double quotes may hold blanks.
std::vector<std::string> command_words() {
    std::vector<std::string> words;
    std::string command = VAT_INI("MAIL_COMMAND"), word;
    bool quoted = false, any = false;
    for (char c : command) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any) words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any) words.push_back(word);
    return words;
}

// The e-mail address of the contractor the customer table stands on, if any.
std::string contractor_address() {
    const int area = SELECT("ZO");
    if (area == 0) return {};
    const int before = SELECT();
    DBSELECTAREA(area);
    std::string address;
    if (!EOF() && FIELDPOS("E_MAIL") > 0) address = ALLTRIM(FC("E_MAIL"));
    DBSELECTAREA(before);
    return address;
}

}  // namespace

bool POCZTA_DOSTEPNA() { return !command_words().empty() && !ALLTRIM(M_SMTP).empty(); }

bool WYSLIJ_POCZTE(std::string_view address, std::string_view text_file, std::string_view subject,
                   std::string_view attachment) {
    const std::string to = ALLTRIM(address);
    if (to.find('@') == std::string::npos) {
        _OKNO_("Bledny adres e_mail", 3);
        return false;
    }
    std::vector<std::string> argv = command_words();
    if (argv.empty()) return false;
    auto utf8 = [](std::string_view s) { return platform::text::to_utf8(s); };
    for (std::string a : {std::string(text_file), std::string("-to"), utf8(to), std::string("-server"),
                          utf8(ALLTRIM(M_SMTP)), std::string("-subject"), utf8(subject), std::string("-attach"),
                          std::string(attachment)})
        argv.push_back(std::move(a));
    platform::printer::CommandResult r = platform::printer::run_command(argv);
    if (r.succeeded()) return true;
    _OKNO_("Nie wyslano poczty", 3);
    const std::string why = r.started ? r.output : r.error;
    if (!why.empty()) _OKNO_(platform::text::from_utf8(why).substr(0, 41), 3);
    return false;
}

bool POCZTA_WYDRUKU(std::string_view spool) {
    const std::string address = PYTAJ(24, 0, "e_mail:", contractor_address(), 40, 30);
    if (LASTKEY() == K_ESC) return false;
    if (address.find('@') == std::string::npos) {
        _OKNO_("Bledny adres e_mail", 3);
        return false;
    }
    const std::string text = PYTAJ(24, 0, "tekst:", "Pozdrawiam", 50, 43);
    if (LASTKEY() == K_ESC) return false;
    if (!FILE_X("E_POCZTA.TXT")) return true;
    const std::string pdf = PDF_WYDRUKU(spool);
    if (pdf.empty()) return true;
    // The message text is this workstation's own file: copies mailing at once never share it.
    const std::string text_file = "rob\\text" + STR2(STACJA) + ".txt";
    if (!MEMOWRIT(text_file, platform::text::to_utf8(text) + "\r\n")) return true;
    std::string subject = "Dowod " + pdf.substr(pdf.find_last_of('\\') + 1);
    subject = subject.substr(0, subject.rfind('.'));
    WYSLIJ_POCZTE(address, std::filesystem::absolute(SCIEZKA(text_file)).string(), subject,
                  std::filesystem::absolute(SCIEZKA(pdf)).string());
    return true;
}

}  // namespace sklad
