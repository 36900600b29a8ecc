#include "printing/vat_ini.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <stdexcept>

#include "common/console.h"
#include "data/engine.h"
#include "printing/tekst.h"

namespace sklad {

std::string COMPUTERNAME() {
    if (const char* v = std::getenv("COMPUTERNAME"); v && *v) return v;
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0) return host;
    return {};
}

std::string VAT_INI(std::string_view name) {
    struct Key {
        std::string_view name, key;
        bool system_only;
    };
    static constexpr Key kKeys[] = {
        {"PRINTERNAME", "PrinterName", false}, {"PRINTERTYPE", "PrinterType", false},
        {"ELTRONNAME", "PrinterName", false},  {"ELTRONTYPE", "PrinterType", false},
        {"DF_IPPORT", "DF_IpPort", false},     {"DF_IPADDR", "DF_IpAddr", false},
        {"SERPROXY_MODE", "SerProxy", false},  {"COM1_PORT", "Com1IpPort", false},
        {"COM2_PORT", "Com2IpPort", false},    {"COM1_ADDR", "Com1IpAddr", false},
        {"COM2_ADDR", "Com2IpAddr", false},    {"TERMINAL_MODE", "Mode", true},
        {"MAIL_COMMAND", "MailCommand", false},
    };
    auto k = std::find_if(std::begin(kKeys), std::end(kKeys), [&](const Key& k) { return k.name == UPPER(name); });
    if (k == std::end(kKeys)) {
        DISPOUTAT(24, 0, "Testerze sprawdz parametr " + std::string(name));
        INKEY(0);
        DBCLOSEALL();
        throw std::logic_error("vat.ini has no setting " + std::string(name));
    }
    IniFile ini = INI_OTWORZ(VAT_INI_PLIK);
    std::string value = k->system_only ? "" : INI_CZYTAJ(ini, COMPUTERNAME(), k->key);
    return value.empty() ? INI_CZYTAJ(ini, "System", k->key) : value;
}

}  // namespace sklad
