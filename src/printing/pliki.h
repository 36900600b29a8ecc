#pragma once
// Files of printing by the names the program writes ("rob\wydruk01.prn", "PDF\FV_1.PDF"): read,
// written and split into lines. Spool-file lines end with CR LF, a lone CR or a lone LF.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sklad {

// The host path of a program path (drives.h: backslashes, lower case, drive folders).
std::filesystem::path SCIEZKA(std::string_view file);
bool PLIK_JEST(std::string_view file);
// The whole file; nullopt when it cannot be read.
std::optional<std::string> MEMOREAD(std::string_view file);
// Replaces the file with `bytes`, creating its folder; false when it cannot be written.
bool MEMOWRIT(std::string_view file, std::string_view bytes);
// Erases the file; true when it is gone afterwards.
bool FERASE(std::string_view file);

struct Wiersz {
    std::size_t start = 0;   // the text: bytes [start, start + length)
    std::size_t length = 0;
    std::size_t next = 0;    // where the next line begins (after the line end)
};
std::vector<Wiersz> WIERSZE(std::string_view bytes);

}  // namespace sklad
