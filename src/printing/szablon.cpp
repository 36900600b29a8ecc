#include "printing/szablon.h"

#include <cctype>
#include <vector>

#include "common/console.h"
#include "printing/druk.h"
#include "printing/drukarka.h"
#include "printing/pliki.h"
#include "printing/tekst.h"
#include "printing/wydruk.h"

namespace sklad {

namespace {

// A routine line: "&NAME" or "&NAME(argument)"; false when it is not one.
bool routine_line(std::string_view line, std::string& name, std::vector<platform::Value>& args) {
    std::string_view rest = line.substr(1);
    std::size_t open = rest.find('(');
    name = ALLTRIM(rest.substr(0, open));
    if (name.empty()) return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    if (open != std::string_view::npos) {
        std::size_t close = rest.rfind(')');
        if (close == std::string_view::npos || close < open) return false;
        std::string arg = ALLTRIM(rest.substr(open + 1, close - open - 1));
        if (arg.size() >= 2 && (arg.front() == '"' || arg.front() == '\'') && arg.back() == arg.front())
            arg = arg.substr(1, arg.size() - 2);
        if (!arg.empty()) args.emplace_back(arg);
    }
    return true;
}

// Guards against a template procedure that includes its own template again.
int depth = 0;

}  // namespace

bool DRUK_PLIK(std::string_view file, bool tylko_wypisz) {
    auto bytes = MEMOREAD(file);
    if (!bytes || depth >= 4) return false;
    ++depth;
    struct Leave {
        ~Leave() { --depth; }
    } leave;
    for (const Wiersz& w : WIERSZE(*bytes)) {
        std::string_view line = std::string_view(*bytes).substr(w.start, w.length);
        if (line.empty()) {
            if (tylko_wypisz) QOUT();
            continue;
        }
        switch (line.front()) {
            case '"': {
                std::size_t close = line.find('"', 1);
                QOUT(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
                break;
            }
            case '&': {
                std::string name;
                std::vector<platform::Value> args;
                if (routine_line(line, name, args)) WYKONAJ_W_SZABLONIE(name, args);
                break;
            }
            case '*': break;
            default: QOUT(line);
        }
    }
    return true;
}

bool DRUK_PLIK(std::string_view file) {
    const std::string label = PLIK_ZEBRY();
    if (!INITDRUK(label)) return false;
    const bool read = DRUK_PLIK(file, false);
    const bool written = CLOSEDRUK();
    return read && written && FILETOPRINTER(label);
}

}  // namespace sklad
