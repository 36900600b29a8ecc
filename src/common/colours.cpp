#include "common/colours.h"

#include "common/console.h"
#include "common/memvar.h"
#include "data/access.h"

namespace sklad {

namespace {

enum class Look { Colour, SalesDesk, Small, Mono };

Look look() {
    if (!ISCOLOR()) return Look::Mono;
    if (FILE_X("SMALL.TXT")) return Look::Small;
    auto kasa = MEMVAR_GET("TOJESTKASA");
    if (kasa && std::holds_alternative<bool>(*kasa) && std::get<bool>(*kasa)) return Look::SalesDesk;
    return Look::Colour;
}

}  // namespace

std::string COLOUR_FRAME() {
    switch (look()) {
        case Look::Mono: return "N/W,W/N";
        case Look::Small: return "W+/G";
        case Look::SalesDesk: return "W+/GR";
        case Look::Colour: break;
    }
    return "W+/B";
}

std::string COLOUR_ROW() {
    switch (look()) {
        case Look::Mono:
        case Look::Small: return "N/W";
        case Look::SalesDesk: return "W+/GR";
        case Look::Colour: break;
    }
    return "W+/R";
}

std::string COLOUR_PICKER() {
    switch (look()) {
        case Look::Mono: return "N/W,W/N";
        case Look::Small: return "G/W,W+/G";
        case Look::SalesDesk: return "GR/W,W+/GR";
        case Look::Colour: break;
    }
    return "B/W,W+/B";
}

void KEY_LINE(std::string_view text, bool filter) {
    std::string line(text.substr(0, 80));
    line.resize(80, ' ');
    DISPOUTAT(24, 0, line, "W/N");
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ' ' || (i > 0 && line[i - 1] != ' ')) continue;
        std::size_t end = line.find_first_of(" -", i);
        if (end != std::string::npos && line[end] == '-' && end > i)
            DISPOUTAT(24, static_cast<int>(i), line.substr(i, end - i), COLOUR_KEY_NAME);
    }
    if (filter) {
        std::size_t at = line.find("Filtr");
        if (at != std::string::npos) DISPOUTAT(24, static_cast<int>(at), "Filtr", COLOUR_FILTER_MARK);
    }
}

}  // namespace sklad
