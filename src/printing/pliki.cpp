#include "printing/pliki.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "common/drives.h"

namespace sklad {

namespace fs = std::filesystem;

fs::path SCIEZKA(std::string_view file) { return HOST_PATH(file); }

bool PLIK_JEST(std::string_view file) {
    std::error_code ec;
    fs::path p = SCIEZKA(file);
    return !p.empty() && fs::exists(p, ec);
}

std::optional<std::string> MEMOREAD(std::string_view file) {
    fs::path p = SCIEZKA(file);
    std::error_code ec;
    if (p.empty() || !fs::is_regular_file(p, ec)) return std::nullopt;
    std::ifstream in(p, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool MEMOWRIT(std::string_view file, std::string_view bytes) {
    fs::path p = SCIEZKA(file);
    if (p.empty()) return false;
    std::error_code ec;
    if (p.has_parent_path()) fs::create_directories(p.parent_path(), ec);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

bool FERASE(std::string_view file) {
    fs::path p = SCIEZKA(file);
    std::error_code ec;
    fs::remove(p, ec);
    return !fs::exists(p, ec) && !ec;
}

std::vector<Wiersz> WIERSZE(std::string_view bytes) {
    std::vector<Wiersz> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        std::size_t next = i + 1;
        if (bytes[i] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
        out.push_back({start, i - start, next});
        start = next;
        i = next - 1;
    }
    if (start < bytes.size()) out.push_back({start, bytes.size() - start, bytes.size()});
    return out;
}

}  // namespace sklad
