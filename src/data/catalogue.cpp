// The catalogue of core tables: areas, aliases, folders, layouts and index keys.
#include "data/catalogue.h"

#include <strings.h>

#include <stdexcept>

#include <filesystem>

#include "common/dialogs.h"
#include "common/memvar.h"
#include "data/access.h"
#include "data/engine.h"

namespace sklad {

namespace {

bool same_text(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool begins_with(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && same_text(text.substr(0, start.size()), start);
}

using Keys = std::vector<IndexFile>;

std::function<Keys(const Fields&)> fixed(Keys keys) {
    return [keys = std::move(keys)](const Fields&) { return keys; };
}

bool always() { return true; }
bool never() { return false; }

std::vector<CatalogueTable> make_catalogue() {
    std::vector<CatalogueTable> c;
    c.push_back({2, "as", "as", Folder::Period, STRUKTURA_AS, INDEKSY_AS, always});
    c.push_back({19, "opak", "opak", Folder::Working, {}, fixed({{"opak", "mag"}}), never});
    c.push_back({32, "wal", "wal", Folder::Working, STRUKTURA_WAL,
                 fixed({{"wal", "waluta+DESCEND(DTOS(data))"}, {"wal2", "DESCEND(DTOS(data))+waluta"}}), never});
    c.push_back({12, "p23", "p23", Folder::Period, {}, fixed({{"p23", "waluta"}}), never});
    c.push_back({3, "zo", "zo", Folder::Period, STRUKTURA_ZO,
                 fixed({{"zo", "odb"}, {"zo_nip", "regon+STR(RECNO(),4)"}}), always});
    c.push_back({103, "zd", "zd", Folder::Period, STRUKTURA_ZD, fixed({{"zd", "odb"}}), always});
    c.push_back({104, "zp", "zp", Folder::Period, STRUKTURA_ZP, fixed({{"zp", "odb"}}), always});
    c.push_back({203, "zf", "zf", Folder::Period, STRUKTURA_ZF, fixed({{"zf", "odb"}}), always});
    c.push_back({204, "zn", "zn", Folder::Working, STRUKTURA_ZN, fixed({{"zn", "odb"}}), always});
    c.push_back({5, "dow", "dow", Folder::Period, STRUKTURA_DOW,
                 fixed({{"dow1", "rd+nrd+lp"},
                        {"dow2", "DTOS(data)+IIF(r_p=\"P\",\"A\",r_p)+s_z+rd+nrd+lp"},
                        {"dow3", "DTOS(data)+mag+indeks"}}),
                 always});
    c.push_back({15, "dow_qr", "dow_qr", Folder::Period, STRUKTURA_DOW_QR,
                 fixed({{"dow_qr1", "rd+nrd+mag+indeks+STR(RECNO(),6)"}}), [] { return FILE_X("KOD_QR.TXT"); }});
    c.push_back({6, "dowod", "dowod", Folder::Period, STRUKTURA_DOWOD,
                 fixed({{"dowod1", "rd+nrd+STR(RECNO(),6)"}, {"dowod2", "DTOS(data)+r_p+s_z+rd+nrd+STR(RECNO(),6)"}}),
                 always});
    c.push_back({9, "slow", "slow", Folder::Period, STRUKTURA_SLOW, fixed({{"slow", "rd"}}), always});
    c.push_back({7, "fa_N", "fa_N", Folder::Period, STRUKTURA_FA_N,
                 fixed({{"fa_N", "rd+nrd+STR(RECNO(),6)"},
                        {"fa_N_", "kto+odb+IIF(mag<>\"0\",rd+\"-\"+nrd,SUBSTR(tresc,1,12))+STR(obwn+obma,15,2)+STR(RECNO(),6)"}}),
                 always});
    c.push_back({8, "fa_nx", "fa_nx", Folder::Period, STRUKTURA_FA_NX,
                 fixed({{"fa_nx", "DTOS(r_data)+r_czas+fa_nx->zap+STR(RECNO(),6)"}}), always});
    c.push_back({10, "pk", "pk", Folder::Period, STRUKTURA_PK, fixed({{"pk", "nrkon"}}), always});
    return c;
}

}  // namespace

const std::vector<CatalogueTable>& CATALOGUE() {
    static const std::vector<CatalogueTable> catalogue = make_catalogue();
    return catalogue;
}

const CatalogueTable& CATALOGUE(std::string_view alias) {
    for (const CatalogueTable& t : CATALOGUE())
        if (same_text(t.alias, alias)) return t;
    throw std::out_of_range("no table " + std::string(alias) + " in the catalogue");
}

std::string TABLE_PATH(const CatalogueTable& t, std::string_view period) {
    if (t.folder == Folder::Working) return t.file;
    return M_DBF + std::string(period) + "\\" + t.file;
}

std::string INDEX_PATH(const CatalogueTable& t, const IndexFile& index, std::string_view period) {
    if (t.folder == Folder::Working) return index.file;
    return M_DBF + std::string(period) + "\\" + index.file;
}

std::string HH_Z_BMR(std::string_view bmr) {
    auto digits = [&](std::size_t at) { return bmr[at] >= '0' && bmr[at] <= '9' && bmr[at + 1] >= '0' && bmr[at + 1] <= '9'; };
    if (bmr.size() != 5 || bmr[2] != '.' || !digits(0) || !digits(3)) return "";
    const int month = (bmr[0] - '0') * 10 + (bmr[1] - '0');
    if (month < 1 || month > 12) return "";
    return std::string(bmr.substr(3, 2)) + "\\" + std::string(bmr.substr(0, 2));
}

void ZAMKNIJ_OKRES() {
    for (int area = 2; area <= 250; ++area)
        if (area != 149) WORKAREAS().close(area);
}

bool NIEDOSTEPNY(std::string_view path) {
    _OKNO_("Plik " + std::string(path) + " niedostepny", 2.0);
    return false;
}

bool TABLE_EXISTS(std::string_view path, std::string_view extension) {
    std::error_code ec;
    return std::filesystem::exists(TABLE_FILE(path, extension), ec);
}

std::vector<IndexFile> INDEKSY_AS(const Fields& fields) {
    Keys keys{{"as", "mag+indeks"}};
    const std::string by_name = FILE_X("BUTY.TXT") ? "indeks+mag" : "nazwa";
    if (HAS_FIELD(fields, "KOD13")) keys.push_back({"", "DESCEND(kod13)"});
    keys.push_back({"", by_name});
    if (FILE_X("SUR.TXT") && HAS_FIELD(fields, "SUR")) {
        keys.push_back({"", FILE_X("SUR_MAG.TXT") ? "sur+mag+indeks" : "mag+sur+DTOS(data_pz)+STR(RECNO(),6)"});
    } else if (FILE_X("AS_GRUPA.TXT") && HAS_FIELD(fields, "T_W_O_K")) {
        keys.push_back({"", "t_w_o_k+mag+indeks"});
        if (FILE_X("AS_ATEST.TXT")) keys.push_back({"", "atest+mag+indeks"});
    } else if (FILE_X("AS_CENA.TXT")) {
        keys.push_back({"", "mag+STR(cena2,7,2)"});
    }
    for (std::size_t i = 1; i < keys.size(); ++i) keys[i].file = "as" + std::to_string(i + 1);
    return keys;
}

IndexFile INDEKS_DD(std::string_view table_path) {
    const bool by_price = SETTING_TEXT("J_RABAT_AS", "T") == "N" || FILE_X("DD_CENA.TXT");
    return {std::string(table_path), by_price ? "mag+indeks+STR(cena,10,2)+lp" : "mag+indeks+lp"};
}

int AS_GRUPA_ORDER() {
    const int area = SELECT("as");
    if (area == 0) return 0;
    const int before = SELECT();
    DBSELECTAREA(area);
    int found = 0;
    for (int order = 5; order >= 3 && found == 0; --order) {
        const std::string key = INDEXKEY(order);
        if (begins_with(key, "T_W_O_K") || begins_with(key, "ATEST") || same_text(key, "MAG+STR(CENA2,7,2)")) found = order;
    }
    DBSELECTAREA(before);
    return found;
}

// The settings list declares the J_ variables; until a setting is there its default holds.
std::string SETTING_TEXT(std::string_view name, std::string_view fallback) {
    const std::optional<Value> v = MEMVAR_GET(name);
    if (v)
        if (const auto* s = std::get_if<std::string>(&*v)) return *s;
    return std::string(fallback);
}

long long SETTING_NUMBER(std::string_view name, long long fallback) {
    const std::optional<Value> v = MEMVAR_GET(name);
    if (v)
        if (const auto* d = std::get_if<Decimal>(&*v)) return d->to_int();
    return fallback;
}

}  // namespace sklad
