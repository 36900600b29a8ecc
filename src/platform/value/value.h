#pragma once
// The values a table field, an expression or a form field holds: C text (code page 852 bytes), exact N numbers,
// D dates and L logicals.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/value/decimal.h"

namespace platform {

// A calendar date held as a day number (Julian day); 0 is the empty date.
class Date {
  public:
    constexpr Date() = default;
    static Date from_ymd(int year, int month, int day);  // empty when the day does not exist
    static Date from_days(int32_t julian_day) { return Date(julian_day); }
    // "YYYYMMDD"; blanks give the empty date; nullopt on anything else.
    static std::optional<Date> from_dtos(std::string_view s);
    // "dd.mm.yyyy" (also "dd.mm.yy", taken as 19yy/20yy around the pivot year 1950); nullopt when bad.
    static std::optional<Date> from_dmy(std::string_view s);

    constexpr bool empty() const { return jd_ == 0; }
    constexpr int32_t days() const { return jd_; }
    int year() const;
    int month() const;
    int day() const;
    int dow() const;  // 1 = Sunday ... 7 = Saturday
    std::string dtos() const;  // "YYYYMMDD", 8 blanks when empty
    std::string dmy() const;   // "dd.mm.yyyy", "  .  .    " when empty

    Date operator+(int n) const { return empty() ? *this : Date(jd_ + n); }
    Date operator-(int n) const { return empty() ? *this : Date(jd_ - n); }
    int operator-(Date o) const { return jd_ - o.jd_; }
    friend constexpr auto operator<=>(const Date&, const Date&) = default;

  private:
    constexpr explicit Date(int32_t jd) : jd_(jd) {}
    int32_t jd_ = 0;
};

// Nil (monostate) is the value of nothing, e.g. an unset variable.
using Value = std::variant<std::monostate, std::string, Decimal, Date, bool>;

enum class FieldType : char { Character = 'C', Numeric = 'N', Date = 'D', Logical = 'L' };

struct FieldDef {
    std::string name;  // upper case, at most 10 characters
    FieldType type = FieldType::Character;
    int width = 0;
    int decimals = 0;
    friend bool operator==(const FieldDef&, const FieldDef&) = default;
};

}  // namespace platform
