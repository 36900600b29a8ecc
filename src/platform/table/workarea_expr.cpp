// Expressions over the work areas: how their names are bound, and the callables made of them.
#include "platform/table/workarea_internal.h"

namespace platform::table {

// Binds names for an expression whose plain names belong to one area. An `owned` expression
// lives and dies with that area (its filter, a relation from it), so its own fields may be read
// straight from the record buffer; every other name is read through a check that the area still
// holds the table it held at compile time.
class WorkAreas::AreaBinder : public Binder {
  public:
    AreaBinder(WorkAreas& w, int area, bool owned) : w_(w), area_(area) {
        const Area& a = w.slot(area);
        generation_ = a.generation;
        if (owned && a.table) own_ = a.table.get();
    }

    std::optional<FieldBinding> bind_field(std::string_view alias, std::string_view name) override {
        int target = area_;
        if (!alias.empty()) {
            target = w_.area_of(alias);
            if (target == 0) return hook(alias, name);
        }
        const Area& a = w_.slot(target);
        if (!a.table) return hook(alias, name);
        const int i = a.table->field_index(name);
        if (i < 0) return alias.empty() ? hook(alias, name) : std::nullopt;
        if (own_ != nullptr && target == area_) return own_->field_binding(name);
        FieldBinding b;
        b.def = a.table->fields()[std::size_t(i)];
        b.get = [&w = w_, target, generation = a.generation, i, label = a.alias] {
            return w.checked(target, generation, label).get(i);
        };
        return b;
    }

    int64_t recno() override {
        if (own_ != nullptr) return own_->binder().recno();
        Table* t = w_.find(area_);
        return t != nullptr && w_.slot(area_).generation == generation_ ? t->recno() : 0;
    }

    bool deleted() override {
        if (own_ != nullptr) return own_->binder().deleted();
        Table* t = w_.find(area_);
        return t != nullptr && w_.slot(area_).generation == generation_ && t->deleted();
    }

    Date today() override { return w_.today_ ? w_.today_() : Binder::today(); }

  private:
    std::optional<FieldBinding> hook(std::string_view alias, std::string_view name) {
        if (!w_.name_hook_) return std::nullopt;
        return w_.name_hook_(alias, name);
    }

    WorkAreas& w_;
    int area_;
    uint64_t generation_ = 0;
    Table* own_ = nullptr;
};

Table& WorkAreas::checked(int area, uint64_t generation, const std::string& alias) {
    Area& a = slot(area);
    if (!a.table || a.generation != generation) throw TableError("", "alias " + alias + " is no longer in use");
    return *a.table;
}

std::shared_ptr<WorkAreas::Compiled> WorkAreas::compile(std::string_view text, int area, bool owned) {
    auto c = std::make_shared<Compiled>();
    c->binder = std::make_unique<AreaBinder>(*this, resolve(area), owned);
    c->expr = std::make_unique<Expression>(Expression::compile(text, *c->binder));
    return c;
}

std::function<Value()> WorkAreas::expression(std::string_view text, int area) {
    std::shared_ptr<Compiled> c = compile(text, area, false);
    return [c] { return c->expr->eval(); };
}

std::function<bool()> WorkAreas::condition(std::string_view text, int area) {
    std::shared_ptr<Compiled> c = compile(text, area, false);
    if (c->expr->type() != FieldType::Logical) throw ExprError(std::string(text), 0, "a condition must be a logical expression");
    return [c] { return std::get<bool>(c->expr->eval()); };
}

}  // namespace platform::table
