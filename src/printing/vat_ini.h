#pragma once
// vat.ini: the per-computer printer and device settings in the working folder. An INI file of
// [sections] and key=value lines; sections and keys are found whatever their letter case, and
// lines that are not settings (comments, blanks) are kept when the file is written back.
// A value is looked up in the section of this computer and, when empty there, in "System".

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sklad {

inline constexpr const char* VAT_INI_PLIK = "vat.ini";

struct IniLine {
    std::string key;    // empty: a comment or blank line kept as it stands
    std::string value;  // or the whole line when key is empty
};
struct IniSection {
    std::string name;
    std::vector<IniLine> lines;
};
struct IniFile {
    std::filesystem::path path;
    std::vector<IniSection> sections;  // the first one has an empty name: lines before any header
};

// ---- the settings object
IniFile INI_PARSUJ(std::string_view text);
std::string INI_TEKST(const IniFile& ini);
// Reads the file; a missing or unreadable file gives an empty object that commits to `path`.
IniFile INI_OTWORZ(const std::filesystem::path& path = VAT_INI_PLIK);
std::string INI_CZYTAJ(const IniFile& ini, std::string_view section, std::string_view key);  // "" when none
void INI_ZAPISZ(IniFile& ini, std::string_view section, std::string_view key, std::string_view value);
void INI_USUN(IniFile& ini, std::string_view section, std::string_view key);
bool INI_JEST_SEKCJA(const IniFile& ini, std::string_view section);
void INI_USUN_SEKCJE(IniFile& ini, std::string_view section);
// Writes the object to its file whole (a temporary file renamed over it); false when it cannot.
bool INI_ZATWIERDZ(const IniFile& ini);

// This computer's name: COMPUTERNAME from the environment, otherwise the host name.
std::string COMPUTERNAME();

// A setting of vat.ini by the name the program asks for: PRINTERNAME, PRINTERTYPE, ELTRONNAME,
// ELTRONTYPE, DF_IPPORT, DF_IPADDR, SERPROXY_MODE, COM1_PORT, COM2_PORT, COM1_ADDR, COM2_ADDR,
// TERMINAL_MODE (System only) and MAIL_COMMAND (the mail sender, see README). Numbers come as
// their text. Any other name is a fault of the program: "Testerze sprawdz parametr " and the
// name are shown, a key is awaited, every table is closed and std::logic_error ends the run.
std::string VAT_INI(std::string_view name);

}  // namespace sklad
