#pragma once
// xBase expressions (index keys, filters, conditions): compiled once from their text, then
// evaluated per record. Field names are bound at compile time through a Binder, which the
// caller implements over its record buffers (a table, or all the work areas).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/value/value.h"

namespace platform::table {

using platform::Date;
using platform::Decimal;
using platform::FieldDef;
using platform::FieldType;
using platform::Value;

// Bad text or an unknown name: says which text and where.
class ExprError : public std::runtime_error {
  public:
    ExprError(std::string text, std::size_t position, const std::string& what);
    const std::string& text() const { return text_; }
    std::size_t position() const { return position_; }  // 0-based offset into text()

  private:
    std::string text_;
    std::size_t position_;
};

// A field as the expression reads it: its layout, and how to fetch its current value.
struct FieldBinding {
    FieldDef def;
    std::function<Value()> get;
};

class Binder {
  public:
    virtual ~Binder() = default;
    // `alias` is empty for a plain name, or the text before "->" (upper-cased). nullopt: no such field.
    virtual std::optional<FieldBinding> bind_field(std::string_view alias, std::string_view name) = 0;
    // RECNO() and DELETED() of the record the expression is evaluated on (alias-less).
    virtual int64_t recno() { return 0; }
    virtual bool deleted() { return false; }
};

class Expression {
  public:
    // Throws ExprError. The binder must outlive the expression.
    static Expression compile(std::string_view text, Binder& binder);

    Value eval() const;
    // The value as index key bytes: C as is, N as its field text or STR() form, D as DTOS,
    // L as "T"/"F"; padded or cut to key_width().
    std::string key() const;
    // Result type and fixed key width inferred at compile time.
    FieldType type() const;
    int key_width() const;
    const std::string& text() const;

    Expression(Expression&&) noexcept;
    Expression& operator=(Expression&&) noexcept;
    ~Expression();

    struct Impl;

  private:
    explicit Expression(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform::table
