#pragma once
// INI files as the per-computer settings use them: [sections] and key=value lines. Sections and
// keys are found whatever their letter case; lines that are not settings (comments, blanks,
// anything else) are kept as they stand when the file is written back.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sklad {

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

IniFile INI_PARSUJ(std::string_view text);
std::string INI_TEKST(const IniFile& ini);
// Reads the file; a missing or unreadable file gives an empty object that commits to `path`.
IniFile INI_OTWORZ(const std::filesystem::path& path);
std::string INI_CZYTAJ(const IniFile& ini, std::string_view section, std::string_view key);  // "" when none
void INI_ZAPISZ(IniFile& ini, std::string_view section, std::string_view key, std::string_view value);
void INI_USUN(IniFile& ini, std::string_view section, std::string_view key);
bool INI_JEST_SEKCJA(const IniFile& ini, std::string_view section);
void INI_USUN_SEKCJE(IniFile& ini, std::string_view section);
// Writes the object to its file whole (a temporary file renamed over it); false when it cannot.
bool INI_ZATWIERDZ(const IniFile& ini);

}  // namespace sklad
