// Passwords: the operator's own password, the correction password J_BOSS, and the supervisor's
// authorisation of exceptions.
#include "common/console.h"
#include "common/dialogs.h"
#include "operators/operators.h"
#include "operators/record.h"
#include "platform/console/picture.h"
#include "platform/text/cp852.h"
#include "shell/settings.h"

namespace sklad {

using namespace operators_detail;

std::string HASLO_POPRAWY_DOMYSLNE() {
    const std::string now = J_BOSS;
    SETTING("J_BOSS")->reset();
    const std::string fallback = J_BOSS;
    J_BOSS = now;
    return trim(fallback);
}

bool HASLO_ZGODNE(std::string_view expected, std::string_view title) {
    const std::string wanted = pad(platform::console::to_upper(expected), 10);
    if (platform::console::to_upper(expected.substr(0, 3)) != "HAS") return HASLO(expected, title).ok;
    // The prompt only reads a password beginning with "HAS" (its callers check those themselves);
    // a supervisor password of that form must still be typed, with the same two attempts.
    if (HASLO("HAS", title).text == wanted) return true;
    TONE(1000, 1);
    return HASLO("HAS", "       ZŁE  HASŁO !"_852).text == wanted;
}

bool ZGODA_SZEFA(std::string_view title) {
    if (L_BOSS0 == M_BOSS0) return true;
    if (!HASLO_ZGODNE(M_BOSS0, title)) return false;
    L_BOSS0 = M_BOSS0;
    return true;
}

bool ZMIANAHASLA(BrowseList& list) {
    ton(1800);
    const int row = wiersz(list);
    const std::string typed = GET_HHHHH(row, 41);
    if (LASTKEY() == K_ESC) {
        _OKNO_("Nie zmieniam hasła"_852);
    } else if (typed == HASLO_REKORDU()) {
        _OKNO_("Baw sie czyms innym");
    } else {
        _OKNO_("Powtorz jeszcze raz");
        const std::string again = GET_HHHHH(row, 41);
        // Stored first, reported after: a change the lock refused is not announced as made.
        if (LASTKEY() != K_ESC && again == typed && zapisz({{"HASLO", Value(MOJ_ENCODE(typed, 10))}}, 20))
            _OKNO_("Hasło zostało zmienione"_852);
        else
            _OKNO_("Nie zmieniam hasła"_852);
    }
    const bool zamknij = !ADMINISTRATOR() && !trim(HASLO_REKORDU()).empty();
    WEZ_HASLO_SZEFA();
    return zamknij;
}

bool ZMIANABOSSA() {
    CZYTAJ_PARAMETR(ModelDrukarki::Z_PLIKU);
    J_BOSS = pad(J_BOSS, 10);
    DISPOUTAT(20, 0, pad(std::string("      Hasło poprawy np. "_852) + HASLO_POPRAWY_DOMYSLNE(), 80));
    const std::string typed = trim(GET_HHHHH(20, 29));
    // An empty entry keeps the password: falling back to the default would hand corrections to
    // anyone who knows the default every installation starts with.
    if (LASTKEY() == K_ESC || typed.empty()) {
        _OKNO_("Nie zmieniam hasła"_852);
        return true;
    }
    J_BOSS = typed;
    ZAPISZ_PARAMETR({"J_BOSS"});
    return true;
}

}  // namespace sklad
