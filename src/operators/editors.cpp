// The administrators' editors of the operator list: name, rights, profiles, the extras list, and
// adding an operator.
#include <set>
#include <vector>

#include "common/console.h"
#include "common/dialogs.h"
#include "common/forms.h"
#include "common/format.h"
#include "data/access.h"
#include "data/engine.h"
#include "operators/operators.h"
#include "operators/record.h"
#include "platform/text/cp852.h"
#include "shell/workstation.h"

namespace sklad {

using namespace operators_detail;

namespace {

const std::vector<std::string>& teksty_praw() {
    static const std::vector<std::string> t = {
        "Przydzielanie-odbieranie uprawnien",   "Przegladanie raportow kasowych",
        "Przegladanie rejestrow",               "Przegladanie rotacji",
        "Przegladanie obrotow z kontrahentami", "Przegladanie zyskownosci",
        "Poprawa dowodow",                      "Kartoteki dostawcow, edycja PZ",
        "Marza na kartotekach",                 "Zmiana okresu obrachunkowego",
        "Zmiana cen sprzedazy",                 "Kopiowanie na dyskietke",
        "Edycja dowodow",                       "Edycja dowodow z dowolna data",
        "Pozwolic na sprzedaz niesolidnym odb", "Pozwolic na edycje cennika",
        std::string("Pozwolic sprzedawac poniżej ceny min"_852),
    };
    return t;
}

const std::vector<std::string>& teksty_profili() {
    static const std::vector<std::string> t = {
        "Tylko sprzedaz ze skanerem",           "Tylko kartoteki magazynowe",
        "Tylko kartoteki magazynowe i rotacja", "Tylko poprawa dowodow PZ (do 14 dni)",
        "Tylko analiza sprzedazy kontrahentom", "Tylko kartoteki magazynowe i dowody",
        "Tylko poprawa dowodow magazynowych",   "Tylko KASA",
    };
    return t;
}

// A box of one-letter "T"/"N" fields beside their texts, from row `top` at column 38. Editable:
// read until Enter or Esc; otherwise shown for 4 seconds. Returns false when left with Esc.
bool litery(int top, const std::vector<std::string>& teksty, std::string& shown, bool editable) {
    const int bottom = top + 3 + static_cast<int>(teksty.size());
    DISPBOX(top, 38, bottom, 79, 1);
    SCROLL(top + 1, 39, bottom - 1, 78);
    DISPOUTAT(top + 1, 40, trim(FC("NAZWISKO")));
    DISPOUTAT(top + 2, 39, std::string(40, "─"_852[0]));
    for (std::size_t i = 0; i < teksty.size(); ++i) {
        const int row = top + 3 + static_cast<int>(i);
        DISPOUTAT(row, 39, pad(teksty[i], 36));
        char* letter = &shown[i];
        __GET(row, 76, "PRAWO", [letter] { return Value(std::string(1, *letter)); },
              [letter](const Value& v) {
                  const auto* s = std::get_if<std::string>(&v);
                  if (s != nullptr && !s->empty()) *letter = s->front();
              },
              "!", [letter] { return T_N(std::string(1, *letter)); });
    }
    if (!editable) {
        CLEAR_GETS();
        return INKEY(4) != K_ESC;
    }
    READMODAL();
    return LASTKEY() != K_ESC;
}

// The letters an editor shows for a stored string: "T" or "N" for each of `n` positions, a
// position holding anything else shown as `other`.
std::string pokazane(const std::string& stored, std::size_t n, char other) {
    std::string shown(n, other);
    for (std::size_t i = 0; i < n && i < stored.size(); ++i)
        if (stored[i] == 'T' || stored[i] == 'N') shown[i] = stored[i];
    return shown;
}

// The next operator number after `last` that nobody has: after a digit "A", otherwise the next
// character in code order; the marks a workstation slot uses for other things are passed over.
std::string nastepny_numer(const std::string& last, const std::set<char>& used) {
    unsigned char c = last.empty() || last == " " ? '0' : static_cast<unsigned char>(last.front());
    c = c >= '0' && c <= '9' ? 'A' : static_cast<unsigned char>(c + 1);
    while (used.count(static_cast<char>(c)) || c == '?' || c == ' ' || c == '0' || static_cast<char>(c) == ST_SZEF)
        ++c;
    return std::string(1, static_cast<char>(c));
}

}  // namespace

bool EDNAZWISKA(BrowseList& list, std::string_view nowy_nr) {
    ton(1800);
    const int row = wiersz(list);
    if (!nowy_nr.empty()) DISPOUTAT(row, 3, nowy_nr);
    std::string name = pad(FC("NAZWISKO"), 30);
    __GET(row, 8, "NAZWISKO", [&name] { return Value(name); },
          [&name](const Value& v) {
              if (const auto* s = std::get_if<std::string>(&v)) name = *s;
          },
          "!" + std::string(29, 'X'));
    SETCURSOR(SC_NORMAL);
    READMODAL();
    SETCURSOR(SC_NONE);
    if (LASTKEY() == K_ESC) return true;
    const std::string trimmed = trim(name);
    const bool own = ZALOGOWANY() && FC("NR") == M_NR;
    bool stored = false;
    if (trimmed.size() > 6) {
        stored = zapisz({{"NAZWISKO", Value(pad(name, 30))}}, 20);
    } else if (trimmed.empty() && FC("NR") != "0") {
        // An emptied name retires the operator: no password, no right, no profile.
        stored = zapisz({{"NAZWISKO", Value(std::string(30, ' '))},
                         {"HASLO", Value(MOJ_ENCODE(std::string(10, ' ')))},
                         {"PRAWA", Value(std::string(20, 'N'))},
                         {"PRAWA1", Value(std::string(20, 'N'))}},
                        20);
    }
    if (stored && own) M_NAZWISKO = pad(name, 30);
    return true;
}

bool EDPRAW(BrowseList& /*list*/, bool tylko_pokaz) {
    const bool szef = FC("NR") == "0";
    std::string prawa = pad(pole("PRAWA"), 20);
    // Right 17 came later: the supervisor has it, everybody else until it is granted does not.
    if (prawa[16] != 'T' && prawa[16] != 'N') {
        prawa[16] = szef ? 'T' : 'N';
        if (!zapisz({{"PRAWA", Value(prawa)}}, 1)) prawa = pad(pole("PRAWA"), 20);
    }
    std::string shown = pokazane(prawa, 17, 'T');
    // Esc leaves the rights as they were, whatever they hold: a string shown as "T" everywhere
    // must not become every right by a mere Esc.
    if (litery(4, teksty_praw(), shown, !tylko_pokaz && !szef)) zapisz({{"PRAWA", Value(pad(shown, 20))}}, 20);
    return true;
}

bool EDPRAW1(BrowseList& /*list*/, bool tylko_pokaz) {
    const bool szef = FC("NR") == "0";
    const std::string stored = pad(pole("PRAWA1"), 20);
    std::string shown = pokazane(stored, 12, 'N').substr(0, 8);
    if (!litery(6, teksty_profili(), shown, !tylko_pokaz && !szef)) return true;
    std::string profil = stored;  // positions 9 to 12 are kept as they are
    profil.replace(0, 8, shown);
    if (shown[7] == 'T' && stored[7] != 'T') {
        // The sales desk: only the cash reports remain.
        zapisz({{"PRAWA1", Value(profil)}, {"PRAWA", Value("NT" + std::string(18, 'N'))}}, 20);
    } else {
        zapisz({{"PRAWA1", Value(profil)}}, 20);
    }
    return true;
}

void USTAW_PRAWA2() {
    const int width = FIELDPOS("PRAWA2") > 0 ? static_cast<int>(FC("PRAWA2").size()) : 43;
    std::string value = pad(pole("PRAWA2"), static_cast<std::size_t>(width));
    DISPOUTAT(20, 0, std::string(80, ' '));
    DISPOUTAT(20, 0, "Prawa2:");
    __GET(20, 8, "PRAWA2", [&value] { return Value(value); },
          [&value](const Value& v) {
              if (const auto* s = std::get_if<std::string>(&v)) value = *s;
          },
          "@!");
    SETCURSOR(SC_NORMAL);
    READMODAL();
    SETCURSOR(SC_NONE);
    if (LASTKEY() == K_ESC) return;
    const bool szef = FC("NR") == "0";
    if (szef && value.find("RAMPA") != std::string::npos) {
        _OKNO_("\"RAMPA a nr=0\" - sam się zablokujesz"_852, 3.0);
        return;
    }
    if (zapisz({{"PRAWA2", Value(value)}}, 20) && szef) M_PRAWA2 = trim(value);
}

bool DOPISZ_OPERATORA(BrowseList& list) {
    // The table lock keeps two administrators adding at once from drawing the same number.
    if (!FIL_LOCK(10)) return false;
    std::set<char> used;
    std::string last;
    for (DBGOTOP(); !EOF(); DBSKIP()) {
        last = FC("NR");
        used.insert(last.front());
    }
    const std::string nr = nastepny_numer(last, used);
    const bool added = DBAPPEND();
    if (added) {
        // A new operator has no right until an administrator grants one: blank positions grant.
        FIELDPUT("NR", Value(nr));
        FIELDPUT("HASLO", Value(MOJ_ENCODE(std::string(10, ' '))));
        FIELDPUT("PRAWA", Value(std::string(20, 'N')));
        if (FIELDPOS("PRAWA1") > 0) FIELDPUT("PRAWA1", Value(std::string(20, 'N')));
        if (FIELDPOS("NR_KASY") > 0) FIELDPUT("NR_KASY", Value(std::string("1")));
        DBCOMMIT();
    }
    DBUNLOCK();
    if (!added) return false;
    FRESHORDER(list);
    EDNAZWISKA(list, nr);
    return true;
}

}  // namespace sklad
