// Registering a copy (IN_NET) and releasing it (OUT_NET): the slots of FIRMA->ST.
#include "shell/workstation.h"

#include "common/console.h"
#include "common/dialogs.h"
#include "common/format.h"
#include "data/access.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "data/table_upgrade.h"
#include "platform/table/errors.h"
#include "shell/operator_log.h"
#include "shell/settings.h"

namespace sklad {

namespace fs = std::filesystem;

namespace {

constexpr int kFirmArea = 1;

// Area 1 selected for the life of the object; the caller's area afterwards.
class FirmArea {
  public:
    FirmArea() : before_(SELECT()) { DBSELECTAREA(kFirmArea); }
    ~FirmArea() { DBSELECTAREA(before_); }
    FirmArea(const FirmArea&) = delete;
    FirmArea& operator=(const FirmArea&) = delete;

  private:
    int before_;
};

bool firm_open() { return ALIAS(kFirmArea) == "FIRMA"; }

// "mm.yy" of today.
std::string this_month() {
    const Date today = DATE();
    return STR2(today.month()) + "." + STR2(today.year() % 100);
}

// The period an "mm.yy" argument asks for, when its folder holds stock cards; "" otherwise. An
// argument of that form without data is shown twice before it is dropped.
std::string period_argument(std::string_view argument) {
    const std::string hh = HH_Z_BMR(argument);
    if (hh.empty()) return "";
    std::error_code ec;
    if (fs::exists(TABLE_FILE(M_DBF + hh + "\\as"), ec)) return std::string(argument);
    for (int i = 0; i < 2; ++i) _OKNO_(std::string(argument) + " - to jakas pomylka!!!");
    return "";
}

int st_width() {
    for (const FieldDef& f : DBSTRUCT())
        if (f.name == "ST") return f.width;
    return 0;
}

// The slot field written and committed on the locked record, which is then unlocked.
void write_slots(const std::string& st, const std::string& period) {
    FIELDPUT("ST", Value(st));
    if (!period.empty()) FIELDPUT("BMR", Value(period));
    DBCOMMIT();
    DBUNLOCK();
}

int among_others(std::string_view argument);

// The firm table is open exclusively in area 1 (selected): no other copy runs.
int alone(std::string_view argument) {
    DBGOTOP();
    if (EOF()) {
        DBAPPEND();
        FIELDPUT("BMR", Value(this_month()));
        FIELDPUT("FK", Value(std::string("C:\\FF")));
        DBCOMMIT();
    }

    if (FIRMA_DO_PRZEBUDOWY(DBSTRUCT(), argument)) {
        PRZEBUDUJ(STRUKTURA_FIRMA("firma", LICZBA_STACJI()));
        // The table is shut for a moment while it is replaced; a copy that got in meanwhile
        // makes this one an ordinary newcomer.
        if (!FIRMA_WYLACZNIE() && !NET_USE("firma", "firma", true, 1)) return among_others(argument);
    }
    const int width = st_width();
    if (width == 0) {
        _OKNO_("Plik firma niedostepny", 5.0);
        return 0;
    }

    DBGOTOP();
    const std::string left = ZAJETE_STACJE(FC("ST"));
    if (!left.empty()) {
        DISPOUTAT(20, 30, left + " - zle wyszedl z programu");
        DOKLEJ_TXT("bledy.txt", DATE().dmy() + ", " + TIME().substr(0, 5) + " \xB3 " + left);
        INDEKSOWAC = true;
    } else {
        INDEKSOWAC = argument.empty();
    }
    KOREKTA__AS = false;

    const std::string period = period_argument(argument);
    if (!REC_LOCK(10)) return 0;
    write_slots("?" + std::string(static_cast<std::size_t>(width - 1), '0'), period);
    if (argument.substr(0, 1) == "3") INDEKSOWAC = true;
    PIERWSZE_WEJSCIE = true;
    return 1;
}

// Other copies run: the first free slot is taken. Choosing and marking it is one step on the
// record as it is under the lock, so two copies starting together never take the same slot.
int among_others(std::string_view argument) {
    DBCLOSEAREA();
    if (!NET_USE("firma", "firma", false, 1)) {
        _OKNO_("2.Mam problemy z wejsciem", 5.0);
        return 0;
    }
    if (FIELDPOS("ST") == 0) {
        _OKNO_("Prosze wyjsc z programow ..", 5.0);
        return 0;
    }
    DBGOTOP();
    if (EOF()) {
        _OKNO_("1.Mam problemy z wejsciem", 5.0);
        return 0;
    }
    DISPOUTAT(21, 30, ZAJETE_STACJE(FC("ST")) + " - PRACUJE");

    const std::string period = period_argument(argument);
    if (!REC_LOCK(20)) {
        _OKNO_("1.Mam problemy z wejsciem", 5.0);
        return 0;
    }
    std::string st = FC("ST");
    std::size_t slot = st.find('0');
    if (slot == std::string::npos) slot = st.find(' ');
    if (slot == std::string::npos) {
        DBUNLOCK();
        _OKNO_("Wszystkie stacje zajete", 5.0);
        return 0;
    }
    st[slot] = '?';
    write_slots(st, period);
    return static_cast<int>(slot) + 1;
}

}  // namespace

int IN_NET(std::string_view argument) {
    if (FILE_X("VATJEDEN.TXT") && !JEDNA_KOPIA_NA_KOMPUTERZE()) return 0;
    FirmArea area;
    try {
        DBCLOSEAREA();
        UTWORZ_FIRMA();
        DBSELECTAREA(kFirmArea);
        const int number = NET_USE("firma", "firma", true, 1) ? alone(argument) : among_others(argument);
        if (number > 0) {
            STACJA = number;
            STACJA_ZAJETA = true;
        }
        return number;
    } catch (const platform::table::TableError& e) {
        _OKNO_(std::string("Plik firma niedostepny: ") + e.what(), 5.0);
        return 0;
    }
}

bool OUT_NET() {
    if (STACJA_ZAJETA && firm_open()) {
        FirmArea area;
        DBGOTOP();
        if (!EOF() && FIELDPOS("ST") > 0 && REC_LOCK(20)) {
            std::string st = FC("ST");
            if (STACJA >= 1 && static_cast<std::size_t>(STACJA) <= st.size()) st[STACJA - 1] = '0';
            write_slots(st, "");
            STACJA_ZAJETA = false;
        }
    }
    ZAPISZ_PARAMETR_TXT();
    return true;
}

bool ST_OPERATOR(std::string_view operator_number) {
    if (!STACJA_ZAJETA || !firm_open() || operator_number.empty()) return false;
    FirmArea area;
    DBGOTOP();
    if (EOF() || FIELDPOS("ST") == 0 || !REC_LOCK(10)) return false;
    std::string st = FC("ST");
    if (STACJA >= 1 && static_cast<std::size_t>(STACJA) <= st.size())
        st[STACJA - 1] = operator_number == "0" ? ST_SZEF : operator_number.front();
    write_slots(st, "");
    return true;
}

bool FIRMA_ST_2(std::string_view /*sign*/) { return true; }

std::string NR_STACJI() { return STR2(STACJA); }

std::string PLIK_STACJI(std::string_view base, std::string_view extension) {
    return "rob\\" + std::string(base) + NR_STACJI() + std::string(extension);
}

}  // namespace sklad
