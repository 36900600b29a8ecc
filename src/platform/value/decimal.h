#pragma once
// Exact decimal numbers for money, quantities and every N field of a table.
// A value is a 128-bit integer count of 10^-kScale units, so sums, differences and
// rounding give the decimal result a person expects (2.675 rounds to 2.68, 0.1+0.2 is 0.3).
// Products and quotients are rounded half away from zero to kScale decimals.

#include <compare>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

// The 128-bit integer of the compiler; __extension__ keeps -Wpedantic quiet about it.
__extension__ typedef __int128 Int128;

class DecimalOverflow : public std::overflow_error {
  public:
    using std::overflow_error::overflow_error;
};

class Decimal {
  public:
    static constexpr int kScale = 10;  // decimals held exactly

    constexpr Decimal() = default;
    constexpr Decimal(int v) : units_(static_cast<Int128>(v) * pow10(kScale)) {}
    constexpr Decimal(long v) : units_(static_cast<Int128>(v) * pow10(kScale)) {}
    constexpr Decimal(long long v) : units_(static_cast<Int128>(v) * pow10(kScale)) {}

    // Nearest decimal to the shortest text that reads back as `v` (0.1 becomes exactly 0.1).
    static Decimal from_double(double v);
    // "123", "-0.5", "  12.30 ", "1e3" is refused; blanks only read as 0. nullopt on bad text.
    static std::optional<Decimal> parse(std::string_view text);
    // As parse(), but bad text reads as 0 (xBase VAL semantics: the leading number, else 0).
    static Decimal val(std::string_view text);
    static constexpr Decimal from_units(Int128 u) {
        Decimal d;
        d.units_ = u;
        return d;
    }

    double to_double() const;
    long long to_int() const;  // truncated toward zero
    constexpr Int128 units() const { return units_; }

    // Rounded half away from zero / truncated to `decimals` places (may be negative: tens, hundreds).
    Decimal round(int decimals) const;
    Decimal trunc(int decimals) const;

    // Plain text with exactly `decimals` places (rounded), '-' for negatives, no padding.
    std::string to_string(int decimals) const;
    // Shortest text without trailing zeros ("12.5", "-3", "0").
    std::string to_plain() const;
    // xBase STR(): right-aligned in `width`, `decimals` places; all '*' when it does not fit.
    std::string str(int width, int decimals) const;

    constexpr bool is_zero() const { return units_ == 0; }
    constexpr bool negative() const { return units_ < 0; }
    constexpr Decimal operator-() const { return from_units(-units_); }
    Decimal abs() const { return units_ < 0 ? -*this : *this; }

    friend Decimal operator+(Decimal a, Decimal b);
    friend Decimal operator-(Decimal a, Decimal b);
    friend Decimal operator*(Decimal a, Decimal b);
    friend Decimal operator/(Decimal a, Decimal b);  // throws std::domain_error on division by zero
    Decimal& operator+=(Decimal b) { return *this = *this + b; }
    Decimal& operator-=(Decimal b) { return *this = *this - b; }
    Decimal& operator*=(Decimal b) { return *this = *this * b; }
    Decimal& operator/=(Decimal b) { return *this = *this / b; }

    friend constexpr auto operator<=>(const Decimal& a, const Decimal& b) { return a.units_ <=> b.units_; }
    friend constexpr bool operator==(const Decimal& a, const Decimal& b) { return a.units_ == b.units_; }

    static constexpr Int128 pow10(int n) {
        Int128 r = 1;
        while (n-- > 0) r *= 10;
        return r;
    }

  private:
    Int128 units_ = 0;
};

}  // namespace platform
