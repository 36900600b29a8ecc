#include "common/drives.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "common/dialogs.h"

namespace sklad {

namespace {

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool has_drive(std::string_view p) { return p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0])); }

std::filesystem::path home() {
    const char* h = std::getenv("HOME");
    return h && *h ? std::filesystem::path(h) : std::filesystem::path("/tmp");
}

// Relative part: backslashes to slashes, names in lower case, no way up and out of the drive.
std::filesystem::path relative_part(std::string_view p, bool drop_blanks) {
    std::filesystem::path out;
    std::string name;
    auto flush = [&] {
        if (!name.empty() && name != "." && name != "..") out /= name;
        name.clear();
    };
    for (char c : p) {
        if (c == '\\' || c == '/') {
            flush();
        } else if (!(drop_blanks && c == ' ')) {
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    flush();
    return out;
}

}  // namespace

std::optional<std::filesystem::path> DRIVE_FOLDER(char letter) {
    letter = upper(letter);
    std::string var = std::string("SKLAD_DRIVE_") + letter;
    if (const char* v = std::getenv(var.c_str()); v && *v) return std::filesystem::path(v);
    std::ifstream f(home() / ".config" / "sklad" / "drives");
    for (std::string line; std::getline(f, line);) {
        if (line.size() >= 3 && upper(line[0]) == letter && line[1] == '=') return std::filesystem::path(line.substr(2));
    }
    if (letter == 'C') return home() / "sklad-c";
    return std::nullopt;
}

bool DRIVE_READY(char letter) {
    auto folder = DRIVE_FOLDER(letter);
    std::error_code ec;
    return folder && std::filesystem::is_directory(*folder, ec);
}

std::filesystem::path HOST_PATH(std::string_view path) {
    if (!has_drive(path)) return relative_part(path, false);
    auto folder = DRIVE_FOLDER(path[0]);
    if (!folder) return {};
    return *folder / relative_part(path.substr(2), false);
}

bool FUN_FOLDER(std::string_view path) {
    if (path.empty()) return true;
    if (path.front() == '\\') path.remove_prefix(1);
    if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    std::filesystem::path target;
    if (has_drive(path)) {
        if (!DRIVE_READY(path[0]) && upper(path[0]) != 'C') {
            _OKNO_("Dysk " + std::string(1, upper(path[0])) + " nie gotowy", 2.0);
            return false;
        }
        target = *DRIVE_FOLDER(path[0]) / relative_part(path.substr(2), true);
    } else {
        target = relative_part(path, true);
    }
    std::error_code ec;
    std::filesystem::create_directories(target, ec);  // a folder that cannot be made is not reported
    return true;
}

}  // namespace sklad
