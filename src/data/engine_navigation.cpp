// Indexes, navigation, the scope routines (locate, eval, bulk), filters and relations of the
// selected area.
#include "data/engine.h"

#include "platform/table/bulk.h"

namespace sklad {

namespace table = platform::table;

namespace {

table::Table& current() { return WORKAREAS().table(); }

// The scope clauses of the xBase routines, conditions compiled in `area`.
table::Scope make_scope(int area, const Condition& for_condition, const Condition& while_condition, long next, long record,
                        bool rest) {
    table::Scope s;
    s.for_condition = for_condition.in_area(area);
    s.while_condition = while_condition.in_area(area);
    if (next > 0) s.next = static_cast<uint64_t>(next);
    if (record > 0) s.record = static_cast<uint32_t>(record);
    s.rest = rest;
    return s;
}

}  // namespace

// ---- indexes --------------------------------------------------------------------------------

void DBCREATEINDEX(std::string_view file, std::string_view key, bool unique) {
    table::Table& t = current();
    t.close_indexes();
    table::IndexOptions options;
    options.unique = unique;
    t.create_index(TABLE_FILE(file, ".ntx"), key, options);
    t.set_order(1);
    WORKAREAS().go_top();
}

void ORDLISTADD(std::string_view file) {
    table::Table& t = current();
    t.open_index(TABLE_FILE(file, ".ntx"));
    if (t.order() == 0) t.set_order(1);
}

void ORDLISTCLEAR() { current().close_indexes(); }

int ORDSETFOCUS() { return WORKAREAS().used() ? current().order() : 0; }

int ORDSETFOCUS(int order) {
    table::Table& t = current();
    const int before = t.order();
    t.set_order(order);
    return before;
}

std::string INDEXKEY(int order) {
    if (!WORKAREAS().used()) return {};
    table::Table& t = current();
    if (order == 0) order = t.order();
    if (order < 1 || order > t.index_count()) return {};
    return t.index_key_text(order);
}

int INDEXORD() { return ORDSETFOCUS(); }

// ---- navigation -----------------------------------------------------------------------------

bool DBSEEK(const Value& key) { return WORKAREAS().seek(key); }
bool FOUND() { return WORKAREAS().found(); }
void DBSKIP(long n) { WORKAREAS().skip(n); }
void DBGOTOP() { WORKAREAS().go_top(); }
void DBGOBOTTOM() { WORKAREAS().go_bottom(); }
void DBGOTO(long recno) { WORKAREAS().go_to(recno < 0 ? 0 : static_cast<uint32_t>(recno)); }

long RECNO() { return WORKAREAS().used() ? static_cast<long>(current().recno()) : 0; }
long LASTREC() { return WORKAREAS().used() ? static_cast<long>(current().lastrec()) : 0; }
bool EOF() { return !WORKAREAS().used() || current().eof(); }
bool BOF() { return !WORKAREAS().used() || current().bof(); }

bool __DBLOCATE(const Condition& for_condition, const Condition& while_condition, long next, long record, bool rest) {
    table::WorkAreas& w = WORKAREAS();
    return w.locate(make_scope(w.current(), for_condition, while_condition, next, record, rest));
}

bool __DBCONTINUE() { return WORKAREAS().continue_locate(); }

long DBEVAL(const std::function<void()>& block, const Condition& for_condition, const Condition& while_condition, long next,
            long record, bool rest) {
    table::WorkAreas& w = WORKAREAS();
    return static_cast<long>(w.eval(block, make_scope(w.current(), for_condition, while_condition, next, record, rest)));
}

// ---- views ----------------------------------------------------------------------------------

void DBSETFILTER(std::string_view text) { WORKAREAS().set_filter(text); }
void DBSETFILTER(std::function<bool()> filter, std::string_view text) { WORKAREAS().set_filter(std::move(filter), std::string(text)); }
void DBCLEARFILTER() { WORKAREAS().clear_filter(); }
std::string DBFILTER() { return WORKAREAS().filter_text(); }

void DBSETRELATION(int child, std::string_view key) { WORKAREAS().set_relation(child, key); }

void DBSETRELATION(std::string_view child_alias, std::string_view key) {
    table::WorkAreas& w = WORKAREAS();
    const int child = w.area_of(child_alias);
    if (child == 0) throw table::TableError("", "alias " + std::string(child_alias) + " is not in use");
    w.set_relation(child, key);
}

void DBCLEARRELATION() { WORKAREAS().clear_relations(); }

// ---- bulk -----------------------------------------------------------------------------------

long __DBCOPY(std::string_view file, const std::vector<std::string>& fields, const Condition& for_condition,
              const Condition& while_condition, long next, long record, bool rest) {
    table::WorkAreas& w = WORKAREAS();
    const table::Scope s = make_scope(w.current(), for_condition, while_condition, next, record, rest);
    return static_cast<long>(table::copy_to(w, TABLE_FILE(file), fields, s));
}

long __DBAPP(std::string_view file, const std::vector<std::string>& fields, const Condition& for_condition,
             const Condition& while_condition, long next, long record, bool rest) {
    auto scope = [&](int source) { return make_scope(source, for_condition, while_condition, next, record, rest); };
    return static_cast<long>(table::append_from(WORKAREAS(), TABLE_FILE(file), fields, scope));
}

long __DBTOTAL(std::string_view file, std::string_view key, const std::vector<std::string>& fields,
               const Condition& for_condition, const Condition& while_condition, long next, long record, bool rest) {
    table::WorkAreas& w = WORKAREAS();
    const table::Scope s = make_scope(w.current(), for_condition, while_condition, next, record, rest);
    return static_cast<long>(table::total_to(w, TABLE_FILE(file), key, fields, s));
}

void DBCREATE(std::string_view file, const std::vector<FieldDef>& fields) { table::Table::create(TABLE_FILE(file), fields); }

}  // namespace sklad
