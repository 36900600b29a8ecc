// Merging stock cards that share a warehouse and an item code.
#include <algorithm>
#include <vector>

#include "common/console.h"
#include "common/rounding.h"
#include "data/access.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "platform/table/table.h"

namespace sklad {

namespace {

// Quantities and values that a duplicate card adds to the card it is merged into.
constexpr const char* kSummed[] = {"N_BO_I", "N_BO_W", "N_P_I", "N_R_I",  "B_BO_I", "B_BO_W",
                                   "B_P_I",  "B_P_W",  "B_R_I", "B_R_I_SD", "B_R_W", "ILOSC"};

// Whether any two live cards share warehouse and code: one pass over the raw records, so that
// a period without duplicates is not walked card by card.
bool any_duplicates(const platform::table::Table& t) {
    const auto& dbf = t.dbf();
    const auto& layout = dbf.layout();
    const int mag = layout.index_of("MAG"), indeks = layout.index_of("INDEKS");
    const std::size_t len = layout.record_length();
    const uint32_t count = dbf.count();
    const uint32_t chunk = static_cast<uint32_t>(std::max<std::size_t>(1, (1u << 20) / len));
    std::string buf(std::size_t(chunk) * len, '\0');
    std::vector<std::string> keys;
    keys.reserve(count);
    for (uint32_t first = 1; first <= count; first += chunk) {
        const uint32_t n = dbf.read_many(first, std::min(chunk, count - first + 1), buf.data());
        for (uint32_t k = 0; k < n; ++k) {
            const char* rec = buf.data() + std::size_t(k) * len;
            if (rec[0] == '*') continue;
            keys.push_back(std::string(layout.raw(rec, mag)) + std::string(layout.raw(rec, indeks)));
        }
    }
    std::sort(keys.begin(), keys.end());
    return std::adjacent_find(keys.begin(), keys.end()) != keys.end();
}

void merge(long into, long duplicate) {
    DBGOTO(duplicate);
    QOUT(FC("MAG") + " " + FC("INDEKS") + " " + FC("NAZWA"));
    std::vector<std::pair<std::string, Decimal>> adds;
    for (const char* f : kSummed)
        if (FIELDPOS(f) > 0) adds.push_back({f, FN(f)});
    const Decimal dup_opening = FN("B_BO_I"), dup_cost = FN("CENA_01");
    DBDELETE();

    DBGOTO(into);
    const Decimal opening = FN("B_BO_I");
    if (!(opening + dup_opening).is_zero())
        FIELDPUT("CENA_01", NEWROUND((FN("CENA_01") * opening + dup_cost * dup_opening) / (opening + dup_opening), 4));
    for (const auto& [field, value] : adds) FIELDPUT(field, FN(field) + value);
}

}  // namespace

void AS_DUBLOWANE() {
    const int area = SELECT("as");
    if (area == 0) return;
    const int before = SELECT();
    DBSELECTAREA(area);
    if (FIELDPOS("KOD13") == 0 || INDEXKEY(1).empty() || !any_duplicates(WORKAREAS().table())) {
        DBSELECTAREA(before);
        return;
    }
    // The whole table is locked so that a card and its duplicate change together.
    if (!FIL_LOCK(10)) {
        DBSELECTAREA(before);
        return;
    }
    const int order = ORDSETFOCUS(1);
    std::vector<std::pair<long, long>> pairs;  // card kept, duplicate
    std::string previous;
    long kept = 0;
    for (DBGOTOP(); !EOF(); DBSKIP()) {
        const std::string key = FC("MAG") + FC("INDEKS");
        if (kept != 0 && key == previous) {
            pairs.push_back({kept, RECNO()});
        } else {
            kept = RECNO();
            previous = key;
        }
    }
    for (const auto& [into, duplicate] : pairs) merge(into, duplicate);
    DBCOMMIT();
    DBUNLOCK();
    ORDSETFOCUS(order);
    DBGOTOP();
    DBSELECTAREA(before);
}

}  // namespace sklad
