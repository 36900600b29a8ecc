#include "common/memvar.h"

#include <map>
#include <variant>

namespace sklad {

namespace {

using Slot = std::variant<std::string*, Decimal*, Date*, bool*, int*, long long*, Value>;

std::string key(std::string_view name) {
    std::string k(name);
    for (char& c : k)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return k;
}

std::map<std::string, Slot>& registry() {
    static std::map<std::string, Slot> vars;
    return vars;
}

template <class T>
bool add(std::string_view name, T* var) {
    registry()[key(name)] = var;
    return true;
}

struct Reader {
    Value operator()(std::string* p) const { return *p; }
    Value operator()(Decimal* p) const { return *p; }
    Value operator()(Date* p) const { return *p; }
    Value operator()(bool* p) const { return *p; }
    Value operator()(int* p) const { return Decimal(*p); }
    Value operator()(long long* p) const { return Decimal(*p); }
    Value operator()(const Value& v) const { return v; }
};

struct Writer {
    const Value& v;
    template <class T>
    bool set(T* p) const {
        if (auto x = std::get_if<T>(&v)) return *p = *x, true;
        return false;
    }
    bool operator()(std::string* p) const { return set(p); }
    bool operator()(Decimal* p) const { return set(p); }
    bool operator()(Date* p) const { return set(p); }
    bool operator()(bool* p) const { return set(p); }
    bool operator()(int* p) const {
        if (auto x = std::get_if<Decimal>(&v)) return *p = static_cast<int>(x->to_int()), true;
        return false;
    }
    bool operator()(long long* p) const {
        if (auto x = std::get_if<Decimal>(&v)) return *p = x->to_int(), true;
        return false;
    }
    bool operator()(Value&) const { return false; }  // handled by the caller
};

}  // namespace

bool register_memvar(std::string_view name, std::string* var) { return add(name, var); }
bool register_memvar(std::string_view name, Decimal* var) { return add(name, var); }
bool register_memvar(std::string_view name, Date* var) { return add(name, var); }
bool register_memvar(std::string_view name, bool* var) { return add(name, var); }
bool register_memvar(std::string_view name, int* var) { return add(name, var); }
bool register_memvar(std::string_view name, long long* var) { return add(name, var); }

std::optional<Value> MEMVAR_GET(std::string_view name) {
    auto it = registry().find(key(name));
    if (it == registry().end()) return std::nullopt;
    return std::visit(Reader{}, it->second);
}

bool MEMVAR_PUT(std::string_view name, const Value& v) {
    auto it = registry().find(key(name));
    if (it == registry().end()) return false;
    if (auto dyn = std::get_if<Value>(&it->second)) {
        *dyn = v;
        return true;
    }
    return std::visit(Writer{v}, it->second);
}

void MEMVAR_NEW(std::string_view name, const Value& v) {
    auto it = registry().find(key(name));
    if (it != registry().end() && !std::holds_alternative<Value>(it->second)) {
        std::visit(Writer{v}, it->second);
        return;
    }
    registry()[key(name)] = v;
}

void MEMVAR_RELEASE(std::string_view name) {
    auto it = registry().find(key(name));
    if (it != registry().end() && std::holds_alternative<Value>(it->second)) registry().erase(it);
}

bool MEMVAR_EXISTS(std::string_view name) { return registry().count(key(name)) > 0; }

}  // namespace sklad
