#include "common/slownie.h"

#include "platform/text/cp852.h"
#include "platform/text/overstrike.h"

namespace sklad {

using platform::Decimal;

std::string L(char letter) {
    if (auto f = platform::text::overstrike_form(letter)) return {f->base, '\b', f->mark};
    return std::string(1, letter);
}

std::string L_TEXT(std::string_view text) {
    std::string out;
    for (char c : text) out += L(c);
    return out;
}

std::string USUN_CHR8(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\b') {
            ++i;  // the mark after the backspace goes too
            continue;
        }
        out += text[i];
    }
    return out;
}

namespace {

const std::string_view kHundreds[] = {"", "sto", "dwieście"_852, "trzysta", "czterysta",
                                      "pięćset"_852, "sześćset"_852, "siedemset", "osiemset", "dziewięćset"_852};
const std::string_view kTeens[] = {"dziesięć"_852,     "jedenaście"_852,   "dwanaście"_852,
                                   "trzynaście"_852,   "czternaście"_852,  "piętnaście"_852,
                                   "szesnaście"_852,   "siedemnaście"_852, "osiemnaście"_852,
                                   "dziewiętnaście"_852};
const std::string_view kTens[] = {"", "", "dwadzieścia"_852, "trzydzieści"_852, "czterdzieści"_852,
                                  "pięćdziesiąt"_852, "sześćdziesiąt"_852, "siedemdziesiąt"_852,
                                  "osiemdziesiąt"_852, "dziewięćdziesiąt"_852};
const std::string_view kUnits[] = {"", "jeden", "dwa", "trzy", "cztery",
                                   "pięć"_852, "sześć"_852, "siedem", "osiem", "dziewięć"_852};

struct Nouns {
    std::string_view one, few, many;
};

std::string group_words(int g) {
    int h = g / 100, t = g / 10 % 10, u = g % 10;
    std::string s;
    auto word = [&s](std::string_view w) {
        s += w;
        s += ' ';
    };
    if (h > 0) word(kHundreds[h]);
    if (t == 1) {
        word(kTeens[u]);
    } else {
        if (t > 1) word(kTens[t]);
        if (u > 0) word(kUnits[u]);
    }
    return s;
}

std::string noun(int g, const Nouns& n) {
    int t = g / 10 % 10, u = g % 10;
    std::string_view w = g == 1 ? n.one : (t != 1 && u >= 2 && u <= 4) ? n.few : n.many;
    return std::string(w) + ' ';
}

std::string trim(std::string s) {
    auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

}  // namespace

std::string SLOWNIE(Decimal amount) {
    const bool refund = amount.negative();
    // Rounded to grosze first, so that 1.999 reads "dwa" and never "jeden 100/100".
    Decimal a = amount.abs().round(2);
    long long n = a.to_int();
    int cents = static_cast<int>(((a - Decimal(n)) * Decimal(100)).round(0).to_int());
    std::string cents_text = cents != 0 ? " " + std::to_string(cents) + "/100" : "";

    std::string s;
    if (n > 999999999) {
        s = trim(Decimal(n).str(10, 0) + " " + cents_text);
    } else {
        static const Nouns millions{"milion", "miliony", "milionów"_852};
        static const Nouns thousands{"tysiąc"_852, "tysiące"_852, "tysięcy"_852};
        int m = static_cast<int>(n / 1000000), t = static_cast<int>(n / 1000 % 1000), u = static_cast<int>(n % 1000);
        if (m > 0) s += group_words(m) + noun(m, millions);
        if (t > 0) s += group_words(t) + noun(t, thousands);
        s += group_words(u);
        s += cents_text;
    }
    if (refund) s = "KWOTA DO ZWROTU " + s;
    return L_TEXT(s);
}

}  // namespace sklad
