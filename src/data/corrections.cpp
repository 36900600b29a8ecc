// One-off corrections the full rebuild makes to a table before indexing it. The table is open
// exclusively; one pass over the raw records finds what needs changing, so a large table that
// needs nothing costs one read.
#include <filesystem>
#include <functional>

#include "common/console.h"
#include "common/dialogs.h"
#include "data/access.h"
#include "data/engine.h"
#include "data/rebuild_steps.h"
#include "platform/table/table.h"

namespace sklad {

namespace fs = std::filesystem;
using platform::table::Table;

namespace {

std::string trim_right(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

struct Fix {
    std::function<bool(const char* record)> needed;
    std::function<void(Table&)> apply;
    std::string message;  // shown once when any record needs it
};

// One pass over the records finds those that need a fix; then each is changed in place.
void apply_fixes(Table& t, const std::vector<Fix>& fixes) {
    if (fixes.empty()) return;
    t.flush();
    const auto& dbf = t.dbf();
    const std::size_t len = dbf.layout().record_length();
    const uint32_t count = dbf.count();
    const uint32_t chunk = static_cast<uint32_t>(std::max<std::size_t>(1, (1u << 20) / len));
    std::string buf(std::size_t(chunk) * len, '\0');
    std::vector<std::pair<uint32_t, uint32_t>> hits;  // record, one bit per fix
    for (uint32_t first = 1; first <= count; first += chunk) {
        const uint32_t n = dbf.read_many(first, std::min(chunk, count - first + 1), buf.data());
        for (uint32_t k = 0; k < n; ++k) {
            uint32_t mask = 0;
            for (std::size_t i = 0; i < fixes.size(); ++i)
                if (fixes[i].needed(buf.data() + std::size_t(k) * len)) mask |= 1u << i;
            if (mask) hits.push_back({first + k, mask});
        }
    }
    uint32_t all = 0;
    for (const auto& h : hits) all |= h.second;
    for (std::size_t i = 0; i < fixes.size(); ++i)
        if ((all >> i & 1) && !fixes[i].message.empty()) _OKNO_(fixes[i].message, "...");
    for (const auto& [recno, mask] : hits) {
        t.go_to(recno);
        for (std::size_t i = 0; i < fixes.size(); ++i)
            if (mask >> i & 1) fixes[i].apply(t);
    }
    t.flush();
}

// Dates of the years 1900 to 1909 were written by a program that knew only two digits of the year.
Fix dates_of_1900s(const Table& t, std::string_view path) {
    std::vector<int> dates;
    for (int i = 0; i < t.field_count(); ++i)
        if (t.fields()[std::size_t(i)].type == FieldType::Date) dates.push_back(i);
    const auto& layout = t.dbf().layout();
    auto early = [&layout](const char* rec, int i) { return layout.raw(rec, i).substr(0, 3) == "190"; };
    return {[=](const char* rec) {
                for (int i : dates)
                    if (early(rec, i)) return true;
                return false;
            },
            [=](Table& tab) {
                for (int i : dates) {
                    const Date d = std::get<Date>(tab.get(i));
                    if (!d.empty() && d.year() < 1910) tab.put(i, Date::from_ymd(d.year() + 100, d.month(), d.day()));
                }
            },
            "Konwertuje daty w pliku " + std::string(path)};
}

// A text field's value moved to the left (ODB) or set when it is blank (MAG).
Fix left_aligned(const Table& t, std::string_view field) {
    const int i = t.field_index(field);
    const auto& layout = t.dbf().layout();
    return {[=, &layout](const char* rec) {
                const std::string_view v = layout.raw(rec, i);
                return v[0] == ' ' && v.find_first_not_of(' ') != std::string_view::npos;
            },
            [=](Table& tab) {
                std::string v = std::get<std::string>(tab.get(i));
                tab.put(i, v.substr(v.find_first_not_of(' ')));
            },
            ""};
}

Fix set_when(const Table& t, std::string_view field, bool when_blank, std::string value) {
    const int i = t.field_index(field);
    const auto& layout = t.dbf().layout();
    return {[=, &layout](const char* rec) {
                const bool blank = layout.raw(rec, i).find_first_not_of(' ') == std::string_view::npos;
                return blank == when_blank;
            },
            [=](Table& tab) { tab.put(i, value); },
            ""};
}

// Goods-issue notes the month close carried into this period ("dow_wz", "dowod_wz") join the
// table; when it already starts with such a note, the newcomers are numbered past 10000000.
void carried_notes(std::string_view path) {
    const std::string transfer = std::string(path) + "_wz";
    const fs::path file = TABLE_FILE(transfer);
    std::error_code ec;
    if (!fs::exists(file, ec) || FILE_X("tylko.fan")) return;
    const long before = LASTREC();
    bool renumber = false;
    if (before > 0) {
        DBGOTO(1);
        renumber = trim_right(FC("RD")) == "WZ";
    }
    __DBAPP(transfer);
    if (renumber) {
        for (long r = before + 1; r <= LASTREC(); ++r) {
            DBGOTO(r);
            const long long n = Decimal::val(FC("NRD")).to_int() + 10000000;
            std::string nrd = std::to_string(n);
            if (nrd.size() < 8) nrd.insert(0, 8 - nrd.size(), ' ');
            FIELDPUT("NRD", nrd);
        }
    }
    DBCOMMIT();
    fs::remove(file, ec);
}

}  // namespace

void POPRAWKI(const CatalogueTable& t, std::string_view path) {
    const std::string alias = t.alias;
    const bool lines = alias == "dow", headers = alias == "dowod", settlements = alias == "fa_N";
    if (lines || headers) carried_notes(path);

    Table& table = WORKAREAS().table();
    std::vector<Fix> fixes;
    if (lines || settlements) {
        fixes.push_back(dates_of_1900s(table, path));
        if (table.field_index("ODB") >= 0) fixes.push_back(left_aligned(table, "ODB"));
    }
    if (settlements && FILE_X("WAL.DBF") && table.field_index("ZAP") >= 0)
        fixes.push_back(set_when(table, "ZAP", false, " "));
    if ((alias == "as" || lines || headers) && FILE_X("MAGPUSTY.TXT") && table.field_index("MAG") >= 0)
        fixes.push_back(set_when(table, "MAG", true, "1"));
    apply_fixes(table, fixes);
}

}  // namespace sklad
