// Records, fields and locks of the selected area.
#include "data/engine.h"

namespace sklad {

namespace table = platform::table;

namespace {

table::Table& current() { return WORKAREAS().table(); }

// The table and field a name means: "nazwa" in the selected area, "as->nazwa" in area AS.
std::pair<table::Table*, std::string_view> field_of(std::string_view name) {
    table::WorkAreas& w = WORKAREAS();
    const std::size_t arrow = name.find("->");
    if (arrow == std::string_view::npos) return {&w.table(), name};
    const std::string_view alias = name.substr(0, arrow);
    const int area = w.area_of(alias);
    if (area == 0) throw table::TableError("", "alias " + std::string(alias) + " is not in use");
    return {&w.table(area), name.substr(arrow + 2)};
}

template <class T>
T typed(std::string_view name, const char* kind) {
    auto [t, field] = field_of(name);
    Value v = t->get(field);
    if (auto* x = std::get_if<T>(&v)) return std::move(*x);
    throw table::FieldError(t->dbf().name(), std::string(field) + " is not a " + kind + " field");
}

int position(int pos) {
    if (pos < 1 || pos > current().field_count())
        throw table::FieldError(current().dbf().name(), "no field number " + std::to_string(pos));
    return pos - 1;
}

}  // namespace

// ---- records and fields ---------------------------------------------------------------------

bool DBAPPEND() {
    const bool ok = WORKAREAS().append_blank();
    NETERR(!ok);
    return ok;
}

int FIELDPOS(std::string_view name) { return WORKAREAS().used() ? current().field_index(name) + 1 : 0; }

std::string FIELDNAME(int pos) {
    if (!WORKAREAS().used() || pos < 1 || pos > current().field_count()) return {};
    return current().fields()[std::size_t(pos - 1)].name;
}

int FCOUNT() { return WORKAREAS().used() ? current().field_count() : 0; }

std::vector<FieldDef> DBSTRUCT() { return WORKAREAS().used() ? current().fields() : std::vector<FieldDef>{}; }

Value FIELDGET(std::string_view name) {
    auto [t, field] = field_of(name);
    return t->get(field);
}

Value FIELDGET(int pos) { return current().get(position(pos)); }

void FIELDPUT(std::string_view name, const Value& value) {
    auto [t, field] = field_of(name);
    t->put(field, value);
}

void FIELDPUT(int pos, const Value& value) { current().put(position(pos), value); }

std::string FC(std::string_view name) { return typed<std::string>(name, "character"); }
Decimal FN(std::string_view name) { return typed<Decimal>(name, "numeric"); }
Date FD(std::string_view name) { return typed<Date>(name, "date"); }
bool FL(std::string_view name) { return typed<bool>(name, "logical"); }

void DBDELETE() { current().delete_record(); }
void DBRECALL() { current().recall(); }
bool DELETED() { return WORKAREAS().used() && current().deleted(); }

void __DBPACK() {
    current().pack();
    WORKAREAS().go_top();
}

void __DBZAP() {
    current().zap();
    WORKAREAS().go_top();
}

void DBCOMMIT() {
    if (WORKAREAS().used()) current().commit();
}

void DBCOMMITALL() {
    table::WorkAreas& w = WORKAREAS();
    for (int i = 1; i <= table::kMaxAreas; ++i)
        if (table::Table* t = w.find(i)) t->commit();
}

// ---- locks ----------------------------------------------------------------------------------

bool RLOCK() { return current().lock_record(); }
bool FLOCK() { return current().lock_table(); }
void DBUNLOCK() {
    if (WORKAREAS().used()) current().unlock();
}

void DBUNLOCKALL() {
    table::WorkAreas& w = WORKAREAS();
    for (int i = 1; i <= table::kMaxAreas; ++i)
        if (table::Table* t = w.find(i)) t->unlock();
}

}  // namespace sklad
