#include "platform/value/decimal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace platform {

namespace {

__extension__ typedef unsigned __int128 UInt128;

constexpr Int128 kUnit = Decimal::pow10(Decimal::kScale);
constexpr UInt128 kMaxMagnitude = (~static_cast<UInt128>(0)) >> 1;  // 2^127 - 1

[[noreturn]] void overflow() { throw DecimalOverflow("decimal number out of range"); }

UInt128 magnitude(Int128 v) { return v < 0 ? -static_cast<UInt128>(v) : static_cast<UInt128>(v); }

Int128 with_sign(UInt128 m, bool negative) {
    if (m > kMaxMagnitude) overflow();
    return negative ? -static_cast<Int128>(m) : static_cast<Int128>(m);
}

UInt128 checked_mul(UInt128 a, UInt128 b) {
    UInt128 r;
    if (__builtin_mul_overflow(a, b, &r)) overflow();
    return r;
}

UInt128 checked_add(UInt128 a, UInt128 b) {
    UInt128 r;
    if (__builtin_add_overflow(a, b, &r)) overflow();
    return r;
}

// Reads [sign] digits [. digits] from s at i, rounding past kScale decimals half away from zero.
// Returns false when no digit was read.
bool read_number(std::string_view s, std::size_t& i, Int128& out) {
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    UInt128 units = 0;
    bool any = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        units = checked_add(checked_mul(units, 10), static_cast<UInt128>(s[i++] - '0'));
        any = true;
    }
    units = checked_mul(units, static_cast<UInt128>(kUnit));
    if (i < s.size() && s[i] == '.') {
        ++i;
        UInt128 place = static_cast<UInt128>(kUnit) / 10;
        bool round_up = false;
        bool first_extra = true;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            int d = s[i++] - '0';
            any = true;
            if (place > 0) {
                units = checked_add(units, place * static_cast<UInt128>(d));
                place /= 10;
            } else if (first_extra) {
                round_up = d >= 5;
                first_extra = false;
            }
        }
        if (round_up) units = checked_add(units, 1);
    }
    if (!any) return false;
    out = with_sign(units, negative);
    return true;
}

std::string digits(UInt128 m) {
    if (m == 0) return "0";
    char buf[48];
    int n = 0;
    while (m > 0) {
        buf[n++] = static_cast<char>('0' + static_cast<int>(m % 10));
        m /= 10;
    }
    std::string s;
    while (n > 0) s += buf[--n];
    return s;
}

}  // namespace

Decimal Decimal::from_double(double v) {
    if (!std::isfinite(v)) overflow();
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    if (res.ec != std::errc()) overflow();
    std::size_t i = 0;
    Int128 u = 0;
    read_number(std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)), i, u);
    return from_units(u);
}

std::optional<Decimal> Decimal::parse(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i == text.size()) return Decimal();
    Int128 u = 0;
    try {
        if (!read_number(text, i, u)) return std::nullopt;
    } catch (const DecimalOverflow&) {
        return std::nullopt;
    }
    while (i < text.size() && text[i] == ' ') ++i;
    if (i != text.size()) return std::nullopt;
    return from_units(u);
}

Decimal Decimal::val(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    Int128 u = 0;
    try {
        if (!read_number(text, i, u)) return Decimal();
    } catch (const DecimalOverflow&) {
        return Decimal();
    }
    return from_units(u);
}

double Decimal::to_double() const { return std::strtod(to_plain().c_str(), nullptr); }

long long Decimal::to_int() const { return static_cast<long long>(units_ / kUnit); }

Decimal Decimal::round(int decimals) const {
    if (decimals >= kScale) return *this;
    if (kScale - decimals > 38) return Decimal();
    UInt128 f = static_cast<UInt128>(pow10(kScale - decimals));
    UInt128 m = magnitude(units_);
    UInt128 q = m / f, r = m % f;
    if (r >= f - r) ++q;  // half away from zero
    return from_units(with_sign(checked_mul(q, f), units_ < 0));
}

Decimal Decimal::trunc(int decimals) const {
    if (decimals >= kScale) return *this;
    if (kScale - decimals > 38) return Decimal();
    Int128 f = pow10(kScale - decimals);
    return from_units(units_ / f * f);
}

std::string Decimal::to_string(int decimals) const {
    if (decimals < 0) decimals = 0;
    Decimal r = round(decimals);
    UInt128 m = magnitude(r.units_);
    std::string s = r.units_ < 0 ? "-" : "";
    s += digits(m / static_cast<UInt128>(kUnit));
    if (decimals > 0) {
        std::string frac = digits(m % static_cast<UInt128>(kUnit));
        frac.insert(0, static_cast<std::size_t>(kScale) - frac.size(), '0');
        if (decimals <= kScale)
            frac.resize(static_cast<std::size_t>(decimals));
        else
            frac.append(static_cast<std::size_t>(decimals - kScale), '0');
        s += '.';
        s += frac;
    }
    return s;
}

std::string Decimal::to_plain() const {
    std::string s = to_string(kScale);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") return "0";
    return s;
}

std::string Decimal::str(int width, int decimals) const {
    std::string s = to_string(decimals);
    if (width <= 0) return s;
    if (static_cast<int>(s.size()) > width) return std::string(static_cast<std::size_t>(width), '*');
    return std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
}

Decimal operator+(Decimal a, Decimal b) {
    Int128 r;
    if (__builtin_add_overflow(a.units_, b.units_, &r)) overflow();
    return Decimal::from_units(r);
}

Decimal operator-(Decimal a, Decimal b) {
    Int128 r;
    if (__builtin_sub_overflow(a.units_, b.units_, &r)) overflow();
    return Decimal::from_units(r);
}

Decimal operator*(Decimal a, Decimal b) {
    // (qa*U + ra) * (qb*U + rb) / U = qa*b + ra*qb + ra*rb/U, each part within 128 bits.
    const UInt128 U = static_cast<UInt128>(kUnit);
    UInt128 ma = magnitude(a.units_), mb = magnitude(b.units_);
    UInt128 qa = ma / U, ra = ma % U, qb = mb / U, rb = mb % U;
    UInt128 low = ra * rb;  // < 2^67
    UInt128 q = low / U, r = low % U;
    if (r >= U - r) ++q;
    UInt128 m = checked_add(checked_add(checked_mul(qa, mb), checked_mul(ra, qb)), q);
    return Decimal::from_units(with_sign(m, (a.units_ < 0) != (b.units_ < 0)));
}

Decimal operator/(Decimal a, Decimal b) {
    if (b.units_ == 0) throw std::domain_error("division by zero");
    // Long division: whole part first, then one decimal digit at a time.
    UInt128 ma = magnitude(a.units_), mb = magnitude(b.units_);
    UInt128 q = ma / mb, r = ma % mb;
    for (int i = 0; i < Decimal::kScale; ++i) {
        r = checked_mul(r, 10);
        q = checked_add(checked_mul(q, 10), r / mb);
        r %= mb;
    }
    if (r >= mb - r) q = checked_add(q, 1);
    return Decimal::from_units(with_sign(q, (a.units_ < 0) != (b.units_ < 0)));
}

}  // namespace platform
