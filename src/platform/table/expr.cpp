#include "platform/table/expr.h"

#include <ctime>

#include "platform/table/expr_program.h"
#include "platform/table/expr_text.h"

namespace platform::table {

namespace {

std::string describe(const std::string& text, std::size_t position, const std::string& what) {
    return what + " at position " + std::to_string(position) + " in \"" + text + "\"";
}

}  // namespace

ExprError::ExprError(std::string text, std::size_t position, const std::string& what)
    : std::runtime_error(describe(text, position, what)), text_(std::move(text)), position_(position) {}

Date Binder::today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Date::from_ymd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

struct Expression::Impl {
    detail::Program program;
    mutable std::string scratch;
    FieldType type = FieldType::Character;
    int width = 0;
    int decimals = 0;  // of a numeric key

    const detail::Node& root() const { return program.nodes[static_cast<std::size_t>(program.root)]; }
    detail::Evaluator evaluator() const { return detail::Evaluator(program, scratch); }
};

Expression::Expression(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Expression::Expression(Expression&&) noexcept = default;
Expression& Expression::operator=(Expression&&) noexcept = default;
Expression::~Expression() = default;

Expression Expression::compile(std::string_view text, Binder& binder) {
    auto impl = std::make_unique<Impl>();
    impl->program = detail::compile_program(text, binder);
    const detail::Node& root = impl->root();
    impl->type = root.type;
    switch (root.type) {
        case FieldType::Character: impl->width = root.width; break;
        case FieldType::Numeric:
            impl->width = detail::numeric_width(root.int_places, root.decimals);
            impl->decimals = root.decimals;
            break;
        case FieldType::Date: impl->width = 8; break;
        case FieldType::Logical: impl->width = 1; break;
    }
    return Expression(std::move(impl));
}

Value Expression::eval() const { return impl_->evaluator().value(impl_->program.root); }

std::string Expression::key() const {
    std::string out;
    key_into(out);
    return out;
}

void Expression::key_into(std::string& out) const {
    out.clear();
    auto ev = impl_->evaluator();
    int root = impl_->program.root;
    switch (impl_->type) {
        case FieldType::Character:
            ev.text(root, out);
            out.resize(static_cast<std::size_t>(impl_->width), ' ');
            break;
        case FieldType::Numeric: detail::append_numeric_key(out, ev.number(root), impl_->width, impl_->decimals); break;
        case FieldType::Date: out += ev.date(root).dtos(); break;
        case FieldType::Logical: out += ev.logical(root) ? 'T' : 'F'; break;
    }
}

std::string Expression::key_of(const Value& v) const {
    std::string out;
    if (auto* s = std::get_if<std::string>(&v)) {
        out = s->substr(0, static_cast<std::size_t>(impl_->width));
        return out;
    }
    bool fits = (impl_->type == FieldType::Numeric && std::holds_alternative<Decimal>(v)) ||
                (impl_->type == FieldType::Date && std::holds_alternative<Date>(v)) ||
                (impl_->type == FieldType::Logical && std::holds_alternative<bool>(v));
    if (!fits) throw std::invalid_argument("a seek value of another type than the key \"" + impl_->program.text + "\"");
    if (auto* d = std::get_if<Decimal>(&v)) detail::append_numeric_key(out, *d, impl_->width, impl_->decimals);
    else if (auto* date = std::get_if<Date>(&v)) out = date->dtos();
    else out = std::get<bool>(v) ? "T" : "F";
    return out;
}

FieldType Expression::type() const { return impl_->type; }
int Expression::key_width() const { return impl_->width; }
int Expression::key_decimals() const { return impl_->decimals; }
const std::string& Expression::text() const { return impl_->program.text; }

Value descend(const Value& v) {
    if (auto* s = std::get_if<std::string>(&v)) {
        std::string r = *s;
        detail::descend_bytes(r, 0);
        return r;
    }
    if (auto* d = std::get_if<Decimal>(&v)) return -*d;
    if (auto* date = std::get_if<Date>(&v)) {
        std::string r = date->dtos();
        detail::descend_bytes(r, 0);
        return r;
    }
    if (auto* b = std::get_if<bool>(&v)) return !*b;
    return v;
}

}  // namespace platform::table
