#include "printing/kody.h"

#include <algorithm>
#include <cctype>

#include "common/console.h"
#include "printing/session.h"
#include "shell/settings.h"

namespace sklad {

namespace {

bool begins(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }
bool holds(std::string_view text, std::string_view token) { return text.find(token) != std::string_view::npos; }

}  // namespace

bool JEST_PCL() { return begins(M_DRUKARKA, "PACKARD"); }
bool JEST_PACKARDL() { return begins(M_DRUKARKA, "PACKARDL"); }
bool JEST_DUPLEX() { return JEST_PCL() && holds(M_DRUKARKA, "LASER"); }
bool BEZ_CHR12() { return holds(M_DRUKARKA, "-CHR(12)"); }
bool JEST_DF() { return holds(M_DRUKARKA, "COM") || holds(M_DRUKARKA, "DF_IP"); }

std::optional<char> DYSK_PDF(std::string_view text) {
    for (std::size_t at = text.find(":\\PDF"); at != std::string_view::npos; at = text.find(":\\PDF", at + 1)) {
        if (at > 0 && std::isalpha(static_cast<unsigned char>(text[at - 1])))
            return static_cast<char>(std::toupper(static_cast<unsigned char>(text[at - 1])));
    }
    return std::nullopt;
}

std::string PCL_FONT(int pitch, int points, int weight) {
    const std::string e(1, ESC);
    return e + "&l0O" + e + "(10U" + e + "(s0P" + e + "(s" + std::to_string(pitch) + "H" + e + "(s" +
           std::to_string(points) + "V" + e + "(s0S" + e + "(s" + std::to_string(weight) + "B" + e + "(s4101T" + e +
           "(s2Q";
}

std::string PCL_NORMALNY() { return PCL_FONT(JEST_PACKARDL() ? 12 : 20, 10); }
std::string PCL_MALY() { return PCL_FONT(20, 6); }
std::string PCL_BARDZO_MALY() { return PCL_FONT(22, 4); }
std::string PCL_NAGLOWEK() { return PCL_FONT(6, JEST_PACKARDL() ? 20 : 14); }
std::string PCL_POGRUBIONY() { return PCL_FONT(12, 12, 4); }

std::string ESCP_ODSTEP(char n) { return {ESC, '3', n}; }
std::string ESCP_TRYB(char n) { return {ESC, '!', n}; }
std::string ESCP_PODKRESLENIE(bool on) { return {ESC, '-', on ? '1' : '0'}; }

std::string DRUK() {
    QQOUT(ESCP_ODSTEP('\x1c'));
    return ESCP_TRYB('\x01');
}

std::string DRUK(int spacing, int mode) {
    QQOUT(ESCP_ODSTEP(static_cast<char>(spacing)) + ESCP_TRYB(static_cast<char>(mode)));
    return ESCP_TRYB(static_cast<char>(mode));
}

std::string FONT_NORMALNY() { return JEST_PCL() ? PCL_NORMALNY() : ESCP_ODSTEP(' ') + ESCP_TRYB('\x05'); }
std::string FONT_NAGLOWEK() { return JEST_PCL() ? PCL_NAGLOWEK() : ESCP_TRYB('!'); }

void KONIEC_DRUK() {
    for (int i = 0; i < std::max(J_PAPIER, 2); ++i) QOUT();
    if (JEST_PCL()) {
        QQOUT(std::string(1, FF));
        QOUT();
    }
}

}  // namespace sklad
