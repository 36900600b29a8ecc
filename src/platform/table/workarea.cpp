// Work areas: opening and closing, selection, navigation that keeps child areas in step,
// filters and relations.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <exception>

#include "platform/table/workarea_internal.h"

namespace platform::table {

std::string upper_ascii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

WorkAreas::WorkAreas() {
    areas_.reserve(kMaxAreas + 1);
    for (int i = 0; i <= kMaxAreas; ++i) areas_.push_back(std::make_unique<Area>());
}

WorkAreas::~WorkAreas() {
    try {
        close_all();
    } catch (...) {
        // a write error at the end cannot be reported from a destructor; close_all() reports it
    }
}

WorkAreas::Area& WorkAreas::slot(int area) {
    const int n = resolve(area);
    if (n < 1 || n > kMaxAreas) throw TableError("", "no work area " + std::to_string(n) + " (1 to 250)");
    return *areas_[std::size_t(n)];
}

const WorkAreas::Area& WorkAreas::slot(int area) const {
    const int n = resolve(area);
    if (n < 1 || n > kMaxAreas) throw TableError("", "no work area " + std::to_string(n) + " (1 to 250)");
    return *areas_[std::size_t(n)];
}

WorkAreas::Area& WorkAreas::used_slot(int area) {
    Area& a = slot(area);
    if (!a.table) throw TableError("", "work area " + std::to_string(resolve(area)) + " is not in use");
    return a;
}

// ---- areas ----------------------------------------------------------------------------------

void WorkAreas::select(int area) {
    if (area == 0) {
        const int n = first_free();
        if (n == 0) throw TableError("", "no free work area");
        current_ = n;
        return;
    }
    slot(area);  // range check
    current_ = area;
}

int WorkAreas::select(std::string_view alias) {
    const int n = area_of(alias);
    if (n == 0) throw TableError("", "alias " + std::string(alias) + " is not in use");
    current_ = n;
    return n;
}

int WorkAreas::area_of(std::string_view alias) const {
    const std::string a = upper_ascii(alias);
    if (a.empty()) return 0;
    for (int i = 1; i <= kMaxAreas; ++i)
        if (areas_[std::size_t(i)]->table && areas_[std::size_t(i)]->alias == a) return i;
    return 0;
}

int WorkAreas::first_free() const {
    for (int i = 1; i <= kMaxAreas; ++i)
        if (!areas_[std::size_t(i)]->table) return i;
    return 0;
}

bool WorkAreas::used(int area) const {
    const int n = resolve(area);
    return n >= 1 && n <= kMaxAreas && areas_[std::size_t(n)]->table != nullptr;
}

std::string WorkAreas::alias(int area) const { return used(area) ? slot(area).alias : std::string(); }

Table& WorkAreas::table(int area) { return *used_slot(area).table; }

Table* WorkAreas::find(int area) { return used(area) ? slot(area).table.get() : nullptr; }

Table& WorkAreas::open(const std::filesystem::path& path, std::string_view alias, OpenMode mode) {
    const int n = current_;
    close(n);
    const std::string name = upper_ascii(alias.empty() ? std::string_view(path.stem().string()) : alias);
    const int holder = area_of(name);
    if (holder != 0)
        throw TableError(path.string(), "alias " + name + " is already in use in work area " + std::to_string(holder));
    auto table = std::make_unique<Table>(path, mode);
    table->set_alias(name);
    Area& a = slot(n);
    a.table = std::move(table);
    a.alias = name;
    a.generation = ++generations_;
    return *a.table;
}

void WorkAreas::reset_view(Area& a) {
    if (a.table) a.table->clear_filter();
    a.filter = nullptr;
    a.filter_text.clear();
    a.relations.clear();
    a.locate_for = nullptr;
    a.locate_while = nullptr;
    a.locate_known = a.located = false;
    a.seek_keys.clear();
}

void WorkAreas::close(int area) {
    const int n = resolve(area);
    Area& a = slot(n);
    if (!a.table) return;
    for (auto& other : areas_)
        std::erase_if(other->relations, [n](const Relation& r) { return r.child == n; });
    reset_view(a);
    std::unique_ptr<Table> table = std::move(a.table);
    a.alias.clear();
    // Written here rather than in the destructor, so that a write error reaches the caller.
    table->unlock();
}

void WorkAreas::close_all() {
    std::exception_ptr first;
    for (int i = 1; i <= kMaxAreas; ++i) {
        try {
            close(i);
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    current_ = 1;
    if (first) std::rethrow_exception(first);
}

// ---- navigation -----------------------------------------------------------------------------

void WorkAreas::moved(int area) {
    slot(area).located = false;
    follow(area);
}

void WorkAreas::go_top(int area) {
    used_slot(area).table->go_top();
    moved(area);
}

void WorkAreas::go_bottom(int area) {
    used_slot(area).table->go_bottom();
    moved(area);
}

void WorkAreas::skip(int64_t n, int area) {
    used_slot(area).table->skip(n);
    moved(area);
}

void WorkAreas::go_to(uint32_t recno, int area) {
    used_slot(area).table->go_to(recno);
    moved(area);
}

bool WorkAreas::seek(const Value& key, int area) {
    Table& t = *used_slot(area).table;
    const bool ok = t.seek(seek_key(key, 0, area));
    moved(area);
    return ok;
}

bool WorkAreas::found(int area) {
    if (!used(area)) return false;
    Area& a = slot(area);
    if (a.located) return !a.table->eof() && a.table->recno() == a.located_recno;
    return a.table->found();
}

bool WorkAreas::append_blank(int area) {
    Area& a = used_slot(area);
    const bool ok = a.table->append_blank();
    if (ok) moved(area);
    return ok;
}

std::string WorkAreas::seek_key(const Value& v, int order, int area) {
    Area& a = used_slot(area);
    Table& t = *a.table;
    if (order == 0) order = t.order();
    if (order == 0) throw TableError(t.dbf().name(), "seek needs an index order");
    const NtxFile& ix = t.index(order);
    if (auto* s = std::get_if<std::string>(&v)) return s->substr(0, std::size_t(ix.info().key_size));
    if (a.seek_keys.size() < std::size_t(order)) a.seek_keys.resize(std::size_t(order));
    Area::SeekKey& k = a.seek_keys[std::size_t(order - 1)];
    if (!k.expr || k.text != ix.info().key_text) {
        k.expr = std::make_unique<Expression>(Expression::compile(ix.info().key_text, t.binder()));
        k.text = ix.info().key_text;
    }
    // The program's date keys are texts that begin with DTOS(date): a date seeks its DTOS() text.
    if (auto* d = std::get_if<Date>(&v); d && k.expr->type() == FieldType::Character) return d->dtos();
    try {
        return k.expr->key_of(v);
    } catch (const std::invalid_argument& e) {
        throw TableError(ix.name(), e.what());
    }
}

// ---- filters --------------------------------------------------------------------------------

void WorkAreas::install_filter(int area) {
    const int n = resolve(area);
    Area& a = used_slot(n);
    if (!a.filter) {
        a.table->clear_filter();
        return;
    }
    // A filter may read a child area, which must stand on the candidate record's child first.
    a.table->set_filter([this, n] {
        Area& self = *areas_[std::size_t(n)];
        if (!self.relations.empty()) follow(n);
        return self.filter();
    });
}

void WorkAreas::set_filter(std::string_view text, int area) {
    const int n = resolve(area);
    used_slot(n);
    std::shared_ptr<Compiled> c = compile(text, n, true);
    if (c->expr->type() != FieldType::Logical) throw ExprError(std::string(text), 0, "a filter must be a logical expression");
    set_filter([c] { return std::get<bool>(c->expr->eval()); }, std::string(text), n);
}

void WorkAreas::set_filter(std::function<bool()> filter, std::string text, int area) {
    Area& a = used_slot(area);
    a.filter = std::move(filter);
    a.filter_text = std::move(text);
    install_filter(area);
}

void WorkAreas::clear_filter(int area) {
    Area& a = used_slot(area);
    a.filter = nullptr;
    a.filter_text.clear();
    install_filter(area);
}

std::string WorkAreas::filter_text(int area) const { return used(area) ? slot(area).filter_text : std::string(); }

// ---- relations ------------------------------------------------------------------------------

void WorkAreas::set_relation(int child, std::string_view key_text, int parent) {
    const int p = resolve(parent);
    Area& a = used_slot(p);
    used_slot(child);
    if (child == p) throw TableError(a.table->dbf().name(), "an area cannot be related to itself");
    // Refuse a cycle: the parent must not be reachable from the child.
    std::vector<int> todo{child};
    while (!todo.empty()) {
        const int c = todo.back();
        todo.pop_back();
        for (const Relation& r : slot(c).relations) {
            if (r.child == p) throw TableError(a.table->dbf().name(), "the relation would lead back to work area " + std::to_string(p));
            todo.push_back(r.child);
        }
    }
    Relation r;
    r.child = child;
    r.text = std::string(key_text);
    r.key = compile(key_text, p, true);
    a.relations.push_back(std::move(r));
    follow(p);
}

void WorkAreas::clear_relations(int parent) { used_slot(parent).relations.clear(); }

std::vector<int> WorkAreas::children(int parent) const {
    std::vector<int> out;
    if (!used(parent)) return out;
    for (const Relation& r : slot(parent).relations) out.push_back(r.child);
    return out;
}

void WorkAreas::follow(int parent) { follow_depth(resolve(parent), 0); }

void WorkAreas::follow_depth(int parent, int depth) {
    Area& p = slot(parent);
    if (!p.table || depth > kMaxAreas) return;
    for (const Relation& r : p.relations) {
        Area& c = slot(r.child);
        Table& child = *c.table;
        c.located = false;
        if (p.table->eof()) {
            child.go_to(0);
        } else {
            const Value v = r.key->expr->eval();
            if (child.order() != 0)
                child.seek(seek_key(v, 0, r.child));
            else if (auto* d = std::get_if<Decimal>(&v); d && !d->negative())
                child.go_to(static_cast<uint32_t>(std::min<long long>(d->to_int(), UINT32_MAX)));
            else
                throw TableError(child.dbf().name(), "a relation into an area without an index needs a record number");
        }
        follow_depth(r.child, depth + 1);
    }
}

}  // namespace platform::table
