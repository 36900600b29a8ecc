#include "printing/ini.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <system_error>

namespace sklad {

namespace fs = std::filesystem;

namespace {

bool same(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

IniSection* find_section(IniFile& ini, std::string_view name) {
    for (IniSection& s : ini.sections)
        if (same(s.name, name)) return &s;
    return nullptr;
}

const IniSection* find_section(const IniFile& ini, std::string_view name) {
    return find_section(const_cast<IniFile&>(ini), name);
}

}  // namespace

IniFile INI_PARSUJ(std::string_view text) {
    IniFile ini;
    ini.sections.push_back({});
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        std::string_view line = trim(raw);
        if (line.size() >= 2 && line.front() == '[' && line.find(']') != std::string_view::npos) {
            ini.sections.push_back({std::string(trim(line.substr(1, line.find(']') - 1))), {}});
            continue;
        }
        std::size_t eq = line.find('=');
        if (line.empty() || line.front() == ';' || line.front() == '#' || eq == std::string_view::npos ||
            trim(line.substr(0, eq)).empty()) {
            ini.sections.back().lines.push_back({"", std::string(trim(raw))});
            continue;
        }
        ini.sections.back().lines.push_back(
            {std::string(trim(line.substr(0, eq))), std::string(trim(line.substr(eq + 1)))});
    }
    return ini;
}

std::string INI_TEKST(const IniFile& ini) {
    std::string out;
    for (std::size_t i = 0; i < ini.sections.size(); ++i) {
        const IniSection& s = ini.sections[i];
        if (i > 0) out += "[" + s.name + "]\r\n";  // the first holds what stood before any header
        for (const IniLine& l : s.lines) out += (l.key.empty() ? l.value : l.key + "=" + l.value) + "\r\n";
    }
    return out;
}

IniFile INI_OTWORZ(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    IniFile ini = INI_PARSUJ(std::string(std::istreambuf_iterator<char>(in), {}));
    ini.path = path;
    return ini;
}

std::string INI_CZYTAJ(const IniFile& ini, std::string_view section, std::string_view key) {
    if (const IniSection* s = find_section(ini, section))
        for (const IniLine& l : s->lines)
            if (!l.key.empty() && same(l.key, key)) return l.value;
    return {};
}

void INI_ZAPISZ(IniFile& ini, std::string_view section, std::string_view key, std::string_view value) {
    IniSection* s = find_section(ini, section);
    if (!s) {
        ini.sections.push_back({std::string(section), {}});
        s = &ini.sections.back();
    }
    for (IniLine& l : s->lines)
        if (!l.key.empty() && same(l.key, key)) {
            l.value = value;
            return;
        }
    s->lines.push_back({std::string(key), std::string(value)});
}

void INI_USUN(IniFile& ini, std::string_view section, std::string_view key) {
    if (IniSection* s = find_section(ini, section))
        std::erase_if(s->lines, [&](const IniLine& l) { return !l.key.empty() && same(l.key, key); });
}

bool INI_JEST_SEKCJA(const IniFile& ini, std::string_view section) {
    return !section.empty() && find_section(ini, section) != nullptr;
}

void INI_USUN_SEKCJE(IniFile& ini, std::string_view section) {
    if (section.empty()) return;
    std::erase_if(ini.sections, [&](const IniSection& s) { return same(s.name, section); });
}

bool INI_ZATWIERDZ(const IniFile& ini) {
    fs::path tmp = ini.path;
    tmp += ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        std::string text = INI_TEKST(ini);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out.flush()) {
            std::error_code ec;
            fs::remove(tmp, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(tmp, ini.path, ec);
    if (ec) fs::remove(tmp, ec);
    return !ec;
}

}  // namespace sklad
