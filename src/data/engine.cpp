// The adapter's state (the one set of work areas, NETERR), file names, session variables in
// expressions, and opening, closing and selecting areas.
#include "data/engine.h"

#include <memory>

#include "common/console.h"
#include "common/memvar.h"

namespace sklad {

namespace table = platform::table;

namespace {

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Session variables reach expressions by name or as M->name / MEMVAR->name. A number takes part
// with the width STR() gives a variable (10 digits and its decimals).
std::optional<table::FieldBinding> memvar_binding(std::string_view alias, std::string_view name) {
    if (!(alias.empty() || alias == "M" || alias == "MEMVAR")) return std::nullopt;
    const std::optional<Value> v = MEMVAR_GET(name);
    if (!v) return std::nullopt;
    FieldDef def{std::string(name), FieldType::Character, 0, 0};
    if (auto* s = std::get_if<std::string>(&*v)) {
        def.width = static_cast<int>(s->size());
    } else if (auto* d = std::get_if<Decimal>(&*v)) {
        const std::string plain = d->to_plain();
        const std::size_t dot = plain.find('.');
        def.type = FieldType::Numeric;
        def.decimals = dot == std::string::npos ? 0 : static_cast<int>(plain.size() - dot - 1);
        def.width = 10 + (def.decimals > 0 ? def.decimals + 1 : 0);
    } else if (std::holds_alternative<Date>(*v)) {
        def.type = FieldType::Date;
        def.width = 8;
    } else if (std::holds_alternative<bool>(*v)) {
        def.type = FieldType::Logical;
        def.width = 1;
    } else {
        return std::nullopt;  // nil: as if there were no such variable
    }
    return table::FieldBinding{def, [n = std::string(name)]() -> Value {
                                   std::optional<Value> now = MEMVAR_GET(n);
                                   if (!now) return Value();
                                   return std::move(*now);
                               }};
}

struct EngineState {
    std::unique_ptr<table::WorkAreas> areas;
    bool neterr = false;
};

EngineState& state() {
    static EngineState s;
    if (!s.areas) {
        s.areas = std::make_unique<table::WorkAreas>();
        s.areas->set_name_hook(memvar_binding);
        s.areas->set_today([] { return DATE(); });
    }
    return s;
}

}  // namespace

table::WorkAreas& WORKAREAS() { return *state().areas; }

void RESET_WORKAREAS() {
    EngineState& s = state();
    try {
        s.areas->close_all();
    } catch (...) {
        // a fresh start for tests: a write error of the old areas has nobody to go to
    }
    s.areas.reset();
    s.neterr = false;
    state();
}

std::filesystem::path TABLE_FILE(std::string_view name, std::string_view extension) {
    std::string s(name);
    const std::size_t first = s.find_first_not_of(' ');
    s = first == std::string::npos ? std::string() : s.substr(first, s.find_last_not_of(' ') - first + 1);
    for (char& c : s)
        if (c == '\\') c = '/';
    std::filesystem::path p(s);
    if (p.is_absolute())
        p.replace_filename(lower(p.filename().string()));
    else
        p = lower(s);
    if (!p.has_extension()) p += std::string(extension);
    return p;
}

std::function<bool()> Condition::in_area(int area) const {
    if (code_) return code_;
    if (text_.empty()) return nullptr;
    return WORKAREAS().condition(text_, area);
}

// ---- opening, closing, selecting ------------------------------------------------------------

bool DBUSEAREA(bool new_area, std::string_view file, std::string_view alias, bool shared, bool read_only) {
    table::WorkAreas& w = WORKAREAS();
    state().neterr = false;
    if (new_area) w.select(0);
    const table::OpenMode mode = read_only ? table::OpenMode::ReadOnly : shared ? table::OpenMode::Shared : table::OpenMode::Exclusive;
    try {
        w.open(TABLE_FILE(file), alias, mode);
    } catch (const table::OpenConflict&) {
        state().neterr = true;
        return false;
    }
    return true;
}

bool NETERR() { return state().neterr; }
void NETERR(bool value) { state().neterr = value; }

void DBCLOSEAREA() { WORKAREAS().close(); }
void DBCLOSEALL() { WORKAREAS().close_all(); }
void DBSELECTAREA(int area) { WORKAREAS().select(area); }
void DBSELECTAREA(std::string_view alias) { WORKAREAS().select(alias); }
int SELECT() { return WORKAREAS().current(); }
int SELECT(std::string_view alias) { return WORKAREAS().area_of(alias); }
std::string ALIAS(int area) { return WORKAREAS().alias(area); }
bool USED() { return WORKAREAS().used(); }

}  // namespace sklad
