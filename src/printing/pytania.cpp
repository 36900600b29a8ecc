#include "printing/pytania.h"

#include "common/console.h"
#include "common/dialogs.h"
#include "common/drives.h"
#include "common/forms.h"
#include "printing/pliki.h"
#include "printing/tekst.h"

namespace sklad {

std::string PYTAJ(int row, int col, std::string_view prompt, std::string_view preset, int width, int shown,
                  bool upper) {
    std::string value(preset.substr(0, static_cast<std::size_t>(width)));
    value.resize(static_cast<std::size_t>(width), ' ');
    const ScreenImage under = SAVESCREEN(row, 0, row, 79);
    DISPOUTAT(row, 0, std::string(80, ' '));
    DISPOUTAT(row, col, prompt);
    std::string picture;
    if (upper) picture += "!";
    if (shown > 0 && shown < width) picture += "S" + std::to_string(shown);
    if (!picture.empty()) picture = "@" + picture;
    const int cursor = SETCURSOR(SC_NORMAL);
    __GET(row, col + static_cast<int>(prompt.size()) + 1, "PYTANIE", [&value] { return platform::Value(value); },
          [&value](const platform::Value& v) {
              if (auto s = std::get_if<std::string>(&v)) value = *s;
          },
          picture);
    READMODAL();
    SETCURSOR(cursor);
    RESTSCREEN(row, 0, row, 79, under);
    return ALLTRIM(value);
}

std::string PLIK_EKSPORTU(std::string_view folder, std::string_view name, std::string_view extension) {
    std::string n = ALLTRIM(name);
    bool bare = !n.empty() && n.find_first_of("\\/:") == std::string::npos && n.find("..") == std::string::npos;
    for (char c : n) bare = bare && static_cast<unsigned char>(c) >= 32;
    if (!bare) {
        _OKNO_("Podaj sama nazwe pliku, bez folderu", 3);
        return {};
    }
    if (n.size() < extension.size() || UPPER(n.substr(n.size() - extension.size())) != UPPER(extension))
        n += extension;
    std::string file = std::string(folder) + "\\" + n;
    if (PLIK_JEST(file) && !OKNO("Plik istnieje. Zastapic go ?", "N")) return {};
    if (!FUN_FOLDER(folder)) return {};
    return file;
}

}  // namespace sklad
