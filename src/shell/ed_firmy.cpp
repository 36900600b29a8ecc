// The firm data editor over the one record of the firm table.
#include <map>
#include <vector>

#include "common/console.h"
#include "common/forms.h"
#include "data/access.h"
#include "data/engine.h"
#include "platform/text/cp852.h"
#include "shell/editors.h"

namespace sklad {

namespace {

struct Pole {
    const char* field;
    int row, prompt_col;
    const char* prompt;
    int field_col;
    const char* picture;
};

// clang-format off
const Pole kPage1[] = {
    {"NODB",     2, 0, "Nazwa firmy (wiersz_1):", 24, "@S50"},
    {"NODB1",    3, 0, " -- || --   (wiersz_2):", 24, "@S50"},
    {"NODB2",    4, 0, " -- || --   (wiersz_3):", 24, "@S50"},
    {"NODB3",    5, 0, " -- || --   (wiersz_4):", 24, "@S50"},
    {"NODB4",    6, 0, " -- || --   (wiersz_5):", 24, "@S50"},
    {"KODB",     7, 0, "Kod pocztowy          :", 24, "99-999"},
    {"MODB",     8, 0, "Miejscowosc           :", 24, ""},
    {"UODB",     9, 0, "Ulica                 :", 24, ""},
    {"REGON",   10, 0, "Nr identyfikacyjny    :", 24, "@!"},
    {"NIP_KRAJ",10, 42, "Kraj   :",               51, "@!"},
    {"ODDZIAL", 11, 0, "Oddzial               :", 24, ""},
    {"BDO",     11, 50, "BDO:",                   55, "@!"},
    {"TEL",     12, 0, "Telefon               :", 24, ""},
    {"BODB",    13, 0, "Nazwa banku   (1)     :", 24, ""},
    {"NRBO",    14, 0, "Numer konta   (1)     :", 24, ""},
    {"BODB1",   15, 0, "Nazwa banku   (2)     :", 24, ""},
    {"NRBO1",   16, 0, "Numer konta   (2)     :", 24, ""},
    {"BODB2",   17, 0, "Nazwa banku   (3)     :", 24, ""},
    {"NRBO2",   18, 0, "Numer konta   (3)     :", 24, ""},
    {"BODB3",   19, 0, "Nazwa banku   (4)     :", 24, ""},
    {"NRBO3",   20, 0, "Numer konta   (4)     :", 24, ""},
    {"BODB4",   21, 0, "Nazwa banku   (5)     :", 24, ""},
    {"NRBO4",   22, 0, "Numer konta   (5)     :", 24, ""},
};
const Pole kPage2[] = {
    {"KRS_NR",   5, 0, "KRS nr           :", 19, ""},
    {"KRS_SAD",  6, 0, "KRS nazwa sadu   :",  0, ""},
    {"KAPITAL",  9, 0, "Kapital zakladowy:", 19, "999999999999"},
    {"REGON0",  10, 0, "Regon            :", 19, ""},
    {"SMTP",    12, 0, "Serwer poczty wychodzacej:", 27, ""},
    {"KOD_POD", 15, 0, "Kod podmiotu     :", 19, "@!"},
};
// clang-format on

using Values = std::map<std::string, Value>;

// Shows a page's prompts and reads the fields the record has; the name under which KRS_SAD is
// edited sits on the row below its prompt.
void read_page(const Pole* begin, const Pole* end, Values& work) {
    for (const Pole* p = begin; p != end; ++p) {
        if (!work.count(p->field)) continue;
        DISPOUTAT(p->row, p->prompt_col, p->prompt);
        const int row = std::string_view(p->field) == "KRS_SAD" ? p->row + 1 : p->row;
        Value* v = &work[p->field];
        __GET(row, p->field_col, p->field, [v] { return *v; }, [v](const Value& x) { *v = x; }, p->picture);
    }
    READMODAL();
}

void load(const Pole* begin, const Pole* end, Values& work) {
    for (const Pole* p = begin; p != end; ++p)
        if (FIELDPOS(p->field) > 0) work[p->field] = FIELDGET(p->field);
}

}  // namespace

bool ED_FIRMY() {
    const int area = SELECT("firma");
    if (area == 0) return true;
    const int was = SELECT();
    DBSELECTAREA(area);
    DBGOTOP();
    if (EOF()) {
        DBSELECTAREA(was);
        return true;
    }
    Values loaded;
    load(std::begin(kPage1), std::end(kPage1), loaded);
    const bool krs = FILE_X("KRS.TXT") && FIELDPOS("KRS_SAD") > 0;
    if (krs) load(std::begin(kPage2), std::end(kPage2), loaded);
    DBSELECTAREA(was);

    const ScreenImage screen = SAVESCREEN();
    Values work = loaded;
    CLS();
    DISPOUTAT(0, 24, "    EDYCJA DANYCH O FIRMIE    ");
    DISPOUTAT(24, 0, "Esc - wyjscie");
    read_page(std::begin(kPage1), std::end(kPage1), work);
    if (krs && LASTKEY() != K_ESC) {
        CLS();
        DISPOUTAT(0, 24, "    EDYCJA DANYCH O FIRMIE c.d.");
        DISPOUTAT(2, 0, "Krajowy Rejestr Sadowy");
        DISPOUTAT(3, 0, std::string(22, "─"_852[0]));
        DISPOUTAT(13, 27, "np. poczta.firma.pl");
        DISPOUTAT(24, 0, "Esc - wyjscie");
        read_page(std::begin(kPage2), std::end(kPage2), work);
    }
    if (LASTKEY() == K_ESC && loaded.count("SMTP")) work["SMTP"] = loaded["SMTP"];

    // Only the fields the user changed are written, on the record as it is on disk now.
    DBSELECTAREA(area);
    DBGOTOP();
    bool changed = false;
    for (const auto& [field, value] : work) changed |= value != loaded[field];
    if (changed && !EOF() && REC_LOCK(15)) {
        for (const auto& [field, value] : work)
            if (value != loaded[field]) FIELDPUT(field, value);
        DBCOMMIT();
        DBUNLOCK();
    }
    DBSELECTAREA(was);
    RESTSCREEN(screen);
    return true;
}

}  // namespace sklad
