#pragma once
// xBase expressions (index keys, filters, conditions): compiled once from their text, then
// evaluated per record. Field names are bound at compile time through a Binder, which the
// caller implements over its record buffers (a table, or all the work areas).
//
// Semantics worth knowing:
// - Types are fixed at compile time (C, N, D, L); mixing them wrongly is a compile error, so
//   evaluation never meets a type error.
// - Strings compare byte-wise with the exact-off rule: `=`, `<>`, `<`, `>`... look only at the
//   first LEN(right) bytes of the left side ("ABC" = "AB" is true, "AB" = "ABC" is false,
//   anything = "" is true); `==` is exact: same bytes and same length, trailing blanks count.
// - Division by zero gives 0, as the classic runtime's default error handler did; a result past
//   Decimal's range throws DecimalOverflow from eval()/key().
// - Names and aliases reach the Binder upper-cased; "FIELD->x" is passed as a plain name, other
//   aliases ("M->x" included) as written, so a binder may also serve memory variables.
// - Nesting is limited (256 levels) and built texts are capped at 65535 bytes, so a hostile
//   text from a file or a form cannot exhaust the stack or memory.
// - Numeric keys are STR() text with leading blanks as '0' and, for negatives, every digit
//   complemented, so that byte order is numeric order (plain STR text sorts -5 after 3).
// - DESCEND: C complements each byte (256 - b), N negates, L inverts, D becomes the
//   complemented DTOS text (C, 8 bytes).
// An Expression keeps scratch space for evaluation: use one from one thread at a time.

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
    // Optional fast path for record buffers: when `raw` is set, the field's DBF bytes (def.width of
    // them: C text, N right-aligned digits, D "YYYYMMDD", L "T"/"F"/...) are read at *raw + offset
    // instead of calling get(). The pointer is followed on every read, so the buffer may move.
    const char* const* raw = nullptr;
    std::size_t offset = 0;
};

class Binder {
  public:
    virtual ~Binder() = default;
    // `alias` is empty for a plain name, or the text before "->" (upper-cased). nullopt: no such field.
    virtual std::optional<FieldBinding> bind_field(std::string_view alias, std::string_view name) = 0;
    // RECNO() and DELETED() of the record the expression is evaluated on (alias-less).
    virtual int64_t recno() { return 0; }
    virtual bool deleted() { return false; }
    // DATE(): the program's clock decides what today is; by default the computer's local date.
    virtual Date today();
};

class Expression {
  public:
    // Throws ExprError. The binder must outlive the expression.
    static Expression compile(std::string_view text, Binder& binder);

    Value eval() const;
    // The value as index key bytes: C as is, N as its field text or STR() form, D as DTOS,
    // L as "T"/"F"; padded or cut to key_width().
    std::string key() const;
    // As key(), into a buffer the caller reuses (no allocation once it has grown).
    void key_into(std::string& out) const;
    // A value given from outside (a seek) in this expression's key form: N, D and L exactly as
    // key() makes them; C text unpadded, so that a shorter text seeks the keys it begins.
    std::string key_of(const Value& v) const;
    // Result type and fixed key width inferred at compile time.
    FieldType type() const;
    int key_width() const;
    // Decimal places of a numeric key (0 for the other types), as an index header records them.
    int key_decimals() const;
    const std::string& text() const;

    Expression(Expression&&) noexcept;
    Expression& operator=(Expression&&) noexcept;
    ~Expression();

    struct Impl;

  private:
    explicit Expression(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// DESCEND() for callers that transform a seek value the way a descending key was built.
Value descend(const Value& v);

}  // namespace platform::table
