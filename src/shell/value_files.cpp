#include "shell/value_files.h"

#include <fstream>
#include <iterator>

#include "common/console.h"
#include "data/access.h"

namespace sklad {

namespace settings_detail {

namespace {

std::string folded(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == ' ') continue;
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

}  // namespace

std::optional<std::filesystem::path> find_file(std::string_view name) {
    const std::string wanted = folded(name);
    if (wanted.empty()) return std::nullopt;
    std::error_code ec;
    if (std::filesystem::is_regular_file(wanted, ec)) return std::filesystem::path(wanted);
    for (std::filesystem::directory_iterator it(".", ec), end; !ec && it != end; it.increment(ec)) {
        if (folded(it->path().filename().string()) == wanted && it->is_regular_file(ec))
            return it->path().filename();
    }
    return std::nullopt;
}

std::optional<std::string> read_file(const std::filesystem::path& p, std::size_t limit) {
    std::ifstream in(p, std::ios::binary);
    if (!in) return std::nullopt;
    std::string data;
    data.resize(limit);
    in.read(data.data(), static_cast<std::streamsize>(limit));
    data.resize(static_cast<std::size_t>(in.gcount()));
    return data;
}

}  // namespace settings_detail

namespace {

using settings_detail::find_file;
using settings_detail::read_file;

std::string without(std::string s, std::string_view drop) {
    std::erase_if(s, [&](char c) { return drop.find(c) != std::string_view::npos; });
    return s;
}

}  // namespace

void CZYTAJ_POMINAC() {
    M_RD_POMIN = "";
    if (auto p = find_file("POMINAC.TXT"))
        if (auto text = read_file(*p, 64 * 1024)) M_RD_POMIN = "," + without(*text, " \r\n\f") + ",";
    if (FILE_X("KP_.---") || FILE_X("KW_.---")) M_RD_POMIN += ",KP_,KW_,";
}

void CZYTAJ_BANKBOLD() {
    M_BANKBOLD = "";
    auto p = find_file("BANKBOLD.TXT");
    if (!p) return;
    auto text = read_file(*p, 21);
    if (!text || text->size() > 20) return;
    // Line ends are trimmed with the blanks: a bold bank line must stay on one printed line.
    const std::string_view trim = " \r\n\f\t";
    auto first = text->find_first_not_of(trim);
    if (first == std::string::npos) return;
    M_BANKBOLD = text->substr(first, text->find_last_not_of(trim) - first + 1);
}

void CZYTAJ_DATA_RR() {
    const Date fallback = Date::from_ymd(2001, 1, 1);
    M_DATA_RR = fallback;
    auto p = find_file("DATA.RR");
    if (!p) return;
    auto text = read_file(*p, 4096);
    if (!text) return;
    const std::string date = without(*text, " \r\n\f").substr(0, 10);
    auto d = Date::from_dmy(date);
    if (d && !d->empty() && *d <= DATE()) M_DATA_RR = *d;
}

}  // namespace sklad
