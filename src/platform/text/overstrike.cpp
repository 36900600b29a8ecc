#include "platform/text/overstrike.h"

#include "platform/text/cp852.h"

namespace platform::text {

namespace {

struct Entry {
    std::string_view letter;  // code page 852
    char base, mark;
    bool writes;  // the form this letter is written with (others are only read)
};

const Entry kTable[] = {
    {"ą"_852, 'a', ',', true},  {"Ą"_852, 'A', ',', true},  {"ę"_852, 'e', ',', true},  {"Ę"_852, 'E', ',', true},
    {"ć"_852, 'c', '\'', true}, {"Ć"_852, 'C', '\'', true}, {"ń"_852, 'n', '\'', true}, {"Ń"_852, 'N', '\'', true},
    {"ó"_852, 'o', '\'', true}, {"Ó"_852, 'O', '\'', true}, {"ś"_852, 's', '\'', true}, {"Ś"_852, 'S', '\'', true},
    {"ź"_852, 'z', '\'', true}, {"Ź"_852, 'Z', '\'', true}, {"ż"_852, 'z', '\'', true}, {"Ż"_852, 'Z', '-', true},
    {"Ż"_852, 'Z', '.', false}, {"ł"_852, 'l', '/', true},  {"Ł"_852, 'L', '/', true},
};

}  // namespace

std::optional<Overstrike> overstrike_form(char cp852) {
    for (const Entry& e : kTable)
        if (e.writes && e.letter[0] == cp852) return Overstrike{e.base, e.mark};
    return std::nullopt;
}

std::optional<char> compose_overstrike(char base, char mark) {
    for (const Entry& e : kTable)
        if (e.base == base && e.mark == mark) return e.letter[0];  // ź comes before ż: z' reads as ź
    return std::nullopt;
}

std::string compose_overstrikes(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i + 2 < text.size() && text[i + 1] == '\b') {
            if (auto c = compose_overstrike(text[i], text[i + 2])) {
                out += *c;
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace platform::text
