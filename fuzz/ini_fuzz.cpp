// Fuzz target: the INI reader of vat.ini. Any bytes must parse without a crash, every lookup must
// answer, and what was read must write out and read back to the same text.
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "fuzz_files.h"
#include "printing/ini.h"

using namespace sklad;

namespace {

void write_seeds(const std::filesystem::path& dir) {
    std::ofstream(dir / "seed.ini", std::ios::binary)
        << "; stanowiska\r\n[System]\r\nPrinterName=DEFAULT\r\nPrinterType=WIN32\r\n\r\n[KASA1]\r\n"
           "printername = laser \r\nDF_IpPort=6001\r\nMailCommand=sh \"/opt/poczta/wyslij.sh\" --konto biuro\r\n";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* dir = seed_folder()) write_seeds(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IniFile ini = INI_PARSUJ(bytes);
    for (const IniSection& s : ini.sections) {
        INI_JEST_SEKCJA(ini, s.name);
        for (const IniLine& l : s.lines) INI_CZYTAJ(ini, s.name, l.key);
    }
    const std::string once = INI_TEKST(ini);
    if (INI_TEKST(INI_PARSUJ(once)) != once) std::abort();
    INI_ZAPISZ(ini, "System", "PrinterName", "laser");
    if (INI_CZYTAJ(INI_PARSUJ(INI_TEKST(ini)), "system", "printername") != "laser") std::abort();
    return 0;
}
