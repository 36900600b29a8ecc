#include <filesystem>
#include <fstream>

#include "common/console.h"
#include "common/dialogs.h"
#include "common/format.h"
#include "data/access.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "operators/rights.h"
#include "platform/text/cp852.h"
#include "shell/editors.h"
#include "operators/operators.h"
#include "shell/menu.h"
#include "shell/pending.h"
#include "shell/session.h"
#include "shell/settings.h"
#include "shell/shutdown.h"
#include "shell/workstation.h"

namespace sklad {

namespace {

// Entries 1 to 8 of the reports menu end in column 25 with a small triangle.
std::string arrowed(std::string_view text) {
    std::string s(text);
    s.resize(24, ' ');
    return s + static_cast<char>(16);
}

bool archive_open() { return !HH_ARC.empty(); }

void jpk() {
    if (HH > "20\\08" || HH > "20/08") {
        const bool quarter = FILE_X("kwartal.txt");
        if (OKNO(quarter ? "JPK_V7K (T) / JPK_VAT (N) ?" : "JPK_V7M (T) / JPK_VAT (N) ?", " "))
            JPK_V7M(quarter ? "2" : "1");
        else
            JPK_VAT();
    } else {
        JPK_VAT();
    }
}

}  // namespace

void RAPORTY() {
    RAMKA(1, 33, 11, 59);
    const bool p3 = PRAWA1(3), p5 = PRAWA1(5);
    auto needs = [](int right, void (*routine)()) {
        return [right, routine] {
            if (PRAWA(right)) routine();
        };
    };
    Submenu m{'R', K_RAPORTY, 34, 25, {}};
    m.esc_question = "CZY CHCESZ ZAKOŃCZYC PRACĘ ?"_852;
    m.entries = {
        {3, arrowed(" Raporty kasowe"), PRAWA(2) && !p3, needs(2, _RAPORTY)},
        {4, arrowed(" Rejestry VAT"), PRAWA(3) && !p3, needs(3, _REJESTRY)},
        {5, arrowed(" Rotacja towaru"), PRAWA(4), needs(4, _ROTACJA)},
        {6, arrowed(" Obroty z kontrahentami"), PRAWA(5), needs(5, _OBROTY)},
        {7, arrowed(" Zestawienie dowodów"_852), !p3 && !p5, _ZESTAWIENIE},
        {8, arrowed(" Zyskowność"_852), PRAWA(6) && !p3, needs(6, _ZYSKOWNOSC)},
        {9, arrowed(" Systemy premiowania"), PRAWA(6) && !p3, needs(6, _PREMIE)},
        {10, arrowed(" Raporty z archiwum"), !archive_open(), [] {
             if (!archive_open()) IN_ARC();
         }},
    };
    if (!FILE_X("PARA_XML.---")) {
        RAMKA(13, 33, 19, 59);
        std::vector<MenuEntry> tax = {
            {14, " JPK_VAT", true, jpk},
            {15, " Parametry dowodow do JPK", true, [] { DBU_RD(true); }},
            {16, " JPK_FAKTURY", true, [] { CDN_XML("FAKTURY"); }},
            {17, " JPK_MAGAZYN", true, [] { CDN_XML("MAGAZYN"); }},
            {18, " Export z JPK do VAT_R", true, [] { CDN_XML("VAT_R"); }},
        };
        m.entries.insert(m.entries.end(), tax.begin(), tax.end());
    }
    RUN_SUBMENU(m);
    if (SELECT("dd") != 0) {
        const int area = SELECT();
        DBSELECTAREA("dd");
        const bool lines = LASTREC() > 0;
        DBSELECTAREA(area);
        if (lines) NOWE_DD();
    }
}

namespace {

void zamkniecie_miesiaca();
void reorganizacja();
std::string next_period(const std::string& hh);

void uwagi_operatorow() {
    std::vector<std::string> prompts = {std::string(" Uwagi bieżące      "_852), " Archiwum           "};
    if (M_NR == "0") prompts.push_back(" Awarie             ");
    int c = MALE_MENU(17, 58, prompts);
    if (c == 1) {
        if (J_KANTY != "T") {
            _OKNO_("Brak uwag");
        } else if (!FILE_X("operator.txt")) {
            TONE(800, 1);
            _OKNO_("Brak zbioru ?");
        } else {
            MEMOEDIT_FILE("operator.txt", 0, 0, 24, 79, false);
        }
    } else if (c == 2) {
        if (J_NAZWA.find("(K)") != std::string::npos) NORTON("KANT\\*.*");
        NORTON("OPERATOR\\*.TXT");
    } else if (c == 3) {
        NORTON("REROZU\\*.TXT");
    }
}

// The restore is logged in the failure log of the period before it runs.
void odtwarzanie() {
    if (!PRAWA(12)) return;
    if (!HASLO("REROZU")) return;
    std::string yy = HH.substr(0, 2), mm = HH.size() >= 5 ? HH.substr(3, 2) : "";
    std::error_code ec;
    std::filesystem::create_directories("rerozu", ec);
    std::ofstream log("rerozu/20" + yy + "_" + mm + ".txt", std::ios::app | std::ios::binary);
    log << DATE().dmy() << " " << TIME().substr(0, 5) << ": " << M_NR << " " << M_NAZWISKO
        << " odtwarzal zbiory, SPECJALNE\r\n";
    log.close();
    UNARC_DBF();
}

void zerowanie() {
    // Erasing the data is whole-data work: only while no other copy runs.
    if (!WEZ_FIRMA_WYLACZNIE(10)) return;
    std::error_code ec;
    std::filesystem::copy_file("parametr.mem", "KONIEC.TXT", std::filesystem::copy_options::overwrite_existing, ec);
    ZEROWANIE();
    std::filesystem::remove("KONIEC.TXT", ec);
    ODDAJ_FIRMA();
}

void extra_entry(const std::string& text, int code) {
    std::string t = text;
    t.erase(t.find_last_not_of(' ') + 1);
    if (t == "ZEROWANIE" && !OKNO("Czy na pewno zerowac ?", " ")) return;
    KONIEC_PRACY("");
    SETCURSOR(SC_NORMAL);
    throw ProgramEnd{code};
}

}  // namespace

void SPECJALNE() {
    const bool p3 = PRAWA1(3);
    const bool supervisor = M_NR == "0";
    auto set = [](const std::string& s) { return s.find_first_not_of(' ') != std::string::npos; };
    const int extras = set(J_WITEK1) ? (set(J_WITEK2) ? (set(J_WITEK3) ? 3 : 2) : 1) : 0;
    const bool close_hidden = archive_open() || J_WITEK1.find("ZAMKNI") != std::string::npos ||
                              J_WITEK2.find("ZAMKNI") != std::string::npos || J_WITEK3.find("ZAMKNI") != std::string::npos;
    if (extras > 0)
        RAMKA(0, 42, 21 + extras, 79, 6, 8, 13, 20);
    else
        RAMKA(0, 42, 20, 79, 6, 8, 13);
    auto backup_entry = [=](std::function<void()> f) {
        return [f] {
            if (PRAWA(12)) f();
        };
    };
    Submenu m{'S', K_SPECJALNE, 43, 36, {}};
    m.entries = {
        {2, " Edycja bazy BLAT", true, [=] {
             if (!supervisor)
                 _OKNO_("Zbyt male prawa,  nr # 0", 5.0);
             else
                 ZROB_BLAT_DBF();
         }},
        {3, std::string(" Kopiowanie zbiorów na PENa"_852), PRAWA(12) && !p3 && !archive_open(), [] {
             CZYT_REFA();
             if (!PRAWA(12)) return;
             if (ARC_MAGAZYN.find_first_not_of(' ') != std::string::npos)
                 ARC_DBF_AKWIZ(ARC_MAGAZYN);
             else
                 ARC_DBF();
         }},
        {4, std::string("*Odtwarzanie zbiorów z PENa"_852), PRAWA(12) && !p3 && !archive_open(), odtwarzanie},
        {5, std::string(" Kopiowanie zbiorów dla systemu F-K"_852), PRAWA(12) && !p3 && !archive_open(), backup_entry(KOP_DLA_FK)},
        {7, "*Zamkniecie okresu obrachunkowego", !p3 && !close_hidden, zamkniecie_miesiaca},
        {9, " Ustawienie BO kasy", !p3, [] { USTAW_DATE(2); }},
        {10, " Ustawienie zegara  /daty i czasu/", !p3, [] {
             if (PRAWA(14)) {
                 USTAW_CZAS();
             } else {
                 TONE(800, 1);
                 TONE(800, 1);
                 _OKNO_("NIE MASZ PRAWA !!!");
             }
         }},
        {11, " Edycja danych o firmie", !p3, [=] {
             if (!supervisor) return;
             if (ED_FIRMY()) {
                 EKRAN_GLOWNY();
                 XYZ = SAVESCREEN();
             }
         }},
        {14, std::string("*Zmiana bieżacego okresu obrach."_852), PRAWA(10) && !p3, [] {
             if (!PRAWA(10)) return;
             bool changed = ZM_BMR();
             HH_ARC = "";
             if (changed) {
                 EKRAN_GLOWNY();
                 XYZ = SAVESCREEN();
             }
         }},
        {15, "*Opcja administratora - zerowanie", supervisor && !archive_open(), [=] {
             if (supervisor && !archive_open()) zerowanie();
         }},
        {16, " Reorganizacja zbiorow /uzgodnienia/", !p3 && !archive_open(), [] {
             if (!archive_open()) reorganizacja();
         }},
        {17, std::string(" Uwagi o pracy operatorów"_852), PRAWA(1) && J_KANTY == "T", [] {
             if (PRAWA(1) && J_KANTY == "T")
                 uwagi_operatorow();
             else if (J_KANTY != "T")
                 _OKNO_("Brak uwag");
         }},
        {18, " Edytor wydrukow", true, [] {
             if (PRAWA(7))
                 MEDIT(PLIK);
             else
                 _OKNO_(M_NAZWISKO + " - brak prawa poprawy");
         }},
        {19, std::string(" Scalanie paragonów (SD)"_852), !archive_open() && !TOJESTKASA, [] {
             if (!archive_open() && !TOJESTKASA) SD_SCAL();
         }},
    };
    const std::string* witek[3] = {&J_WITEK1, &J_WITEK2, &J_WITEK3};
    for (int i = 0; i < extras; ++i) {
        std::string text = " " + *witek[i];
        m.entries.push_back({21 + i, text, true, [t = *witek[i], code = 101 + i] { extra_entry(t, code); }});
    }
    RUN_SUBMENU(m);
}

namespace {

// "24\12" -> "25\01", keeping the separator the period is written with.
std::string next_period(const std::string& hh) {
    if (hh.size() < 5) return hh;
    int mm = (hh[3] - '0') * 10 + (hh[4] - '0');
    int yy = (hh[0] - '0') * 10 + (hh[1] - '0');
    if (++mm > 12) mm = 1, yy = (yy + 1) % 100;
    std::string y = std::to_string(yy), m = std::to_string(mm);
    if (y.size() < 2) y = "0" + y;
    if (m.size() < 2) m = "0" + m;
    return y + hh[2] + m;
}

void zamkniecie_miesiaca() {
    // The last day of the period must be at least three days behind today.
    platform::Date last = *platform::Date::from_dmy(K_MIES_FK(HH));
    platform::Date guard = DATE() + 3;
    if (!(last < guard)) {
        for (int i = 0; i < 4; ++i) TONE(800, 1);
        _OKNO_("NIE ZAMYKAJ JESZCZE MIESIACA !", 5.0);
        if (LASTKEY() == K_ESC) return;
        _OKNO_("Szukasz kłopotów czy masz złą datę ?"_852);
        if (LASTKEY() == K_ESC) return;
        const bool corrected = USTAW_CZAS();
        if (LASTKEY() == K_ESC) return;
        if (!corrected && !(last < DATE() + 3)) {
            for (int i = 0; i < 4; ++i) TONE(800, 1);
            _OKNO_("NAROBISZ JAJ !!!  BAW SIE CZYMŚ INNYM !"_852, 5.0);
            std::string name = M_NAZWISKO;
            name.erase(name.find_last_not_of(' ') + 1);
            _OKNO_(name + std::string(" szukasz kłopotów !"_852), 7.0);
            _OKNO_("ESC - Wyjscie", 7.0);
            if (LASTKEY() == K_ESC) return;
        }
        M_CLOSE();
    } else {
        CREATE_M_NEW(HH);
        if (FILE_X(TABLE_PATH(CATALOGUE("as"), next_period(HH)) + ".dbf") &&
            OKNO("Zamknąć tylko rozrachunki ?"_852, " ")) {
            M_CLOSE_FA_N();
        } else {
            std::error_code ec;
            std::filesystem::remove("tylko.fan", ec);
            M_CLOSE();
        }
    }
    EKRAN_GLOWNY();
    XYZ = SAVESCREEN();
}

void reorganizacja() {
    if (!OKNO("Czy masz na to czas ?", " ")) return;
    std::error_code ec;
    std::filesystem::remove("tylko.fan", ec);
    std::filesystem::copy_file("parametr.mem", "KONIEC.TXT", std::filesystem::copy_options::overwrite_existing, ec);
    if (!WEZ_FIRMA_WYLACZNIE(10)) {
        // Said why and reopened the firm table shared; without it this copy cannot go on.
        if (SELECT("firma") == 0) {
            KONIEC_PRACY("");
            throw ProgramEnd{0};
        }
    } else {
        KOREKTA__AS = true;
        INIT_NTX("z korekta As");
        KOREKTA__AS = false;
        if (FIRMA_WYLACZNIE()) ODDAJ_FIRMA();
    }
    std::filesystem::remove("KONIEC.TXT", ec);
}

}  // namespace

}  // namespace sklad
