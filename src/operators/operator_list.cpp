// The operator list: a browse list over prawa where operators log in and out and administrators
// keep names, rights, profiles and passwords.
#include "common/colours.h"
#include "common/console.h"
#include "common/dialogs.h"
#include "data/access.h"
#include "data/engine.h"
#include "operators/operators.h"
#include "operators/record.h"
#include "platform/text/cp852.h"
#include "shell/workstation.h"

namespace sklad {

using namespace operators_detail;

namespace {

std::string kolor_ramki() {
    if (TOJESTKASA) return "+W/GR,W/GR";
    if (FILE_X("SMALL.TXT")) return "+W/G";
    if (FILE_X("OPAK.XXX")) return "+W/RG";
    return "GR+/N,W/GR";
}

// Each cell carries one character past its column's width, which is never shown: "*" on the
// logged-in operator's row, so that the whole row takes its own colour.
std::string znacznik() { return ZALOGOWANY() && FC("NR") == M_NR ? "*" : " "; }

std::pair<int, int> kolor_wiersza(const Value& v) {
    const auto* text = std::get_if<std::string>(&v);
    return text != nullptr && !text->empty() && text->back() == '*' ? std::pair{3, 3} : std::pair{1, 1};
}

BrowseColumn kolumna(std::string heading, int width, std::function<std::string()> text) {
    BrowseColumn c(std::move(heading), [text = std::move(text), width] {
        return Value(pad(text(), static_cast<std::size_t>(width)) + znacznik());
    });
    c.width = width;
    c.colour_block = kolor_wiersza;
    return c;
}

BrowseList lista() {
    BrowseList l = BROWSE_LIST(7, 1, 18, 52, false);
    Browse& b = *l.browse;
    b.set_colour_spec(std::string(COLOUR_OPERATORS));
    b.set_head_sep(std::string("─"_852));
    // Number at column 3, name at column 8, the password column from 39: the editors write there.
    b.add_column(kolumna("Nr", 6, [] { return "  " + FC("NR"); }));
    const bool konta = FILE_X("KP1_KW1.TXT") && FIELDPOS("KOMU") > 0;
    b.add_column(kolumna("Nazwisko imie", 30, [konta] {
        return konta ? pad(FC("NAZWISKO"), 21) + "|" + FC("KOMU") : FC("NAZWISKO");
    }));
    b.add_column(kolumna(std::string("Hasło"_852), 10, [] { return std::string(9, ' ') + pad(pole("SLUPEK"), 1); }));
    l.lit = {4, 4};
    l.unlit = {2, 2};
    l.frame_colour = kolor_ramki();
    return l;
}

// Rows 20 and 21: the keys that work on the current record.
void klawisze() {
    std::string row20 = " Enter-Zalogowanie    ";
    if (ZALOGOWANY()) row20 += "F10-Wylogowanie";
    row20 += "    Esc-Wyjscie  ";
    std::string row21;
    if (!EOF()) {
        if (MOZE_ADMINISTROWAC(pole("PRAWA"))) {
            row21 += " F4-Edycja nazwiska";
            if (!trim(FC("NAZWISKO")).empty()) row21 += "   Alt_F4-Prawa   ";
        }
        if (ZALOGOWANY() && FC("NR") == M_NR) row21 += "F6-Zmiana hasła  "_852;
    }
    DISPOUTAT(20, 0, pad(row20, 80));
    DISPOUTAT(21, 0, pad(row21, 80));
}

// Alt+F1: the firm record's workstation slots, position digits over their occupants.
void pokaz_stacje() {
    const int firma = SELECT("firma");
    if (firma == 0) return;
    const int was = SELECT();
    DBSELECTAREA(firma);
    DBGOTOP();
    const std::string st = EOF() ? std::string() : pole("ST");
    DBSELECTAREA(was);
    std::string digits, who;
    for (std::size_t i = 0; i < st.size() && i < 80; ++i) {
        digits += static_cast<char>('0' + (i + 1) % 10);
        who += st[i] == '0' || st[i] == ' ' ? ' ' : st[i] == ST_SZEF ? '0' : st[i];
    }
    const ScreenImage rows = SAVESCREEN(22, 0, 23, 79);
    DISPOUTAT(22, 0, pad(digits, 80));
    DISPOUTAT(23, 0, pad(who, 80));
    INKEY(15);
    RESTSCREEN(22, 0, 23, 79, rows);
}

// On leaving with somebody logged in: what the editors may have changed on his own record.
void wczytaj_zalogowanego() {
    if (!__DBLOCATE([] { return FC("NR") == M_NR; })) return;
    if (FIELDPOS("DRUKARKA") > 0) M_DRUKARKA = FC("DRUKARKA");
    ARC_MAGAZYN = pole("MAGAZYN");
    ARC_KOMU = pole("KOMU");
    ARC_RD = FIELDPOS("RD") > 0 ? FC("RD") : std::string(3, ' ');
    if (!trim(pole("SMTP")).empty()) M_SMTP = trim(pole("SMTP"));
    M_PRAWA2 = FIELDPOS("PRAWA2") > 0 ? trim(FC("PRAWA2")) : std::string(30, ' ');
}

std::string wagi() {
    std::string nr;
    for (DBGOTOP(); !EOF(); DBSKIP())
        if (pole("NAZWISKO").find("WAGA") != std::string::npos || pole("DRUKARKA").find("WAGA") != std::string::npos)
            nr += FC("NR");
    return nr;
}

// A default kind the document-kind table does not know is dropped.
void sprawdz_rd() {
    const int slow = SELECT("slow");
    if (slow == 0 || trim(ARC_RD).empty()) return;
    const int was = SELECT();
    DBSELECTAREA(slow);
    const long at = RECNO();
    const int order = ORDSETFOCUS(1);
    if (!DBSEEK(Value(ARC_RD))) ARC_RD = std::string(3, ' ');
    ORDSETFOCUS(order);
    DBGOTO(at);
    DBSELECTAREA(was);
}

// The list's own keys on the current record.
int klawisz(BrowseList& l, int key) {
    const bool rekord = !EOF();
    const bool moze = rekord && MOZE_ADMINISTROWAC(pole("PRAWA"));
    const bool wlasny = rekord && ZALOGOWANY() && FC("NR") == M_NR;
    const bool nazwany = rekord && !trim(FC("NAZWISKO")).empty();
    const ScreenImage screen = SAVESCREEN();
    auto po = [&](int answer) {
        RESTSCREEN(screen);
        return answer;
    };
    // Alt+F4 and Ctrl+F4: the editor for an administrator, display only on an administrator's own
    // record, the supervisor's own rights are all there are.
    auto edytor = [&](bool (*ed)(BrowseList&, bool)) {
        if (moze && nazwany) {
            ed(l, false);
        } else if (wlasny && ADMINISTRATOR() && !SZEF()) {
            ed(l, true);
        } else if (SZEF()) {
            ton(1800);
            _OKNO_("Jestes szefem - masz wszelkie prawa");
        }
        return po(BL_REFRESH);
    };
    switch (key) {
        case K_ENTER: return ZALOGOWANIE(l) ? BL_LEAVE : po(BL_REFRESH);
        case K_F10: WYLOGOWAC(); return po(BL_REFRESH);
        case K_F4:
            if (moze) EDNAZWISKA(l);
            return po(BL_REFRESH);
        case K_ALT_F4: return edytor(EDPRAW);
        case K_CTRL_F4: return FIELDPOS("PRAWA1") > 0 ? edytor(EDPRAW1) : BL_CONT;
        case K_F5:
            if (ADMINISTRATOR()) DOPISZ_OPERATORA(l);
            return po(BL_REFRESH);
        case K_F3:
            // The workstation profile decides printers and fiscal devices: administrators only.
            if (FIELDPOS("DRUKARKA") > 0 && (moze || (wlasny && ADMINISTRATOR()))) USTAL_DRUKARKE();
            return po(BL_REFRESH);
        case K_SH_F4:
            if (SZEF() && rekord) USTAW_PRAWA2();
            return po(BL_REFRESH);
        case K_F6:
            if (wlasny && ZMIANAHASLA(l)) return BL_LEAVE;
            return po(BL_REFRESH);
        case K_SPACE:
            if (SZEF() && rekord && FIELDPOS("SLUPEK") > 0)
                zapisz({{"SLUPEK", Value(std::string(FC("SLUPEK") == "S" ? " " : "S"))}}, 10);
            return BL_REFRESH;
        case K_ALT_F6:
            if (SZEF() && rekord && FC("NR") == "0") ZMIANABOSSA();
            return po(BL_REFRESH);
        case K_ALT_F1: pokaz_stacje(); return BL_CONT;
        default: return BL_UNKNOWN;
    }
}

}  // namespace

bool TB_PRAWA() {
    const int was = SELECT();
    if (UTWORZ_PRAWA()) {
        _OKNO_("Utworzono zbior operatorow prawa.dbf", 5.0);
        _OKNO_("Szef 0 bez hasła: Enter, F6 - nowe hasło"_852, 5.0);
    }
    DBSELECTAREA(OBSZAR_PRAWA);
    if (!NET_USE("prawa", "prawa", false, 20)) {
        _OKNO_("Plik prawa niedostepny", 2.0);
        DBSELECTAREA(was);
        return false;
    }
    WEZ_HASLO_SZEFA();
    if (PRAWA_DO_PRZEBUDOWY(DBSTRUCT()) && !PRZEBUDUJ_PRAWA()) {
        DBSELECTAREA(was);
        return false;
    }
    DBGOTOP();
    const ScreenImage screen = SAVESCREEN();
    BrowseList l = lista();
    l.shown = klawisze;
    l.keys = [&l](int key) { return klawisz(l, key); };
    BROWSE_LOOP(l);
    RESTSCREEN(screen);

    DBSELECTAREA(OBSZAR_PRAWA);
    if (ZALOGOWANY()) wczytaj_zalogowanego();
    GDZIE_WAGA = wagi();
    DBCLOSEAREA();
    if (ZALOGOWANY()) sprawdz_rd();
    DBSELECTAREA(was);
    return true;
}

}  // namespace sklad
