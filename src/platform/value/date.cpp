#include <cstdio>

#include "platform/value/value.h"

namespace platform {

namespace {

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int days_in_month(int y, int m) {
    static const int d[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : d[m - 1];
}

struct Ymd {
    int y, m, d;
};

// Gregorian calendar from the Julian day number.
Ymd civil(int32_t jd) {
    int a = jd + 32044;
    int b = (4 * a + 3) / 146097;
    int c = a - 146097 * b / 4;
    int d = (4 * c + 3) / 1461;
    int e = c - 1461 * d / 4;
    int m = (5 * e + 2) / 153;
    return {100 * b + d - 4800 + m / 10, m + 3 - 12 * (m / 10), e - (153 * m + 2) / 5 + 1};
}

bool all_digits(std::string_view s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return !s.empty();
}

int to_int(std::string_view s) {
    int v = 0;
    for (char c : s) v = v * 10 + (c - '0');
    return v;
}

bool blank(std::string_view s) {
    for (char c : s)
        if (c != ' ' && c != '.' && c != '-' && c != '/') return false;
    return true;
}

}  // namespace

Date Date::from_ymd(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > days_in_month(year, month))
        return Date();
    int a = (14 - month) / 12;
    int y = year + 4800 - a;
    int m = month + 12 * a - 3;
    return Date(day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045);
}

std::optional<Date> Date::from_dtos(std::string_view s) {
    if (s.size() == 8 && blank(s)) return Date();
    if (s.size() != 8 || !all_digits(s)) return std::nullopt;
    Date d = from_ymd(to_int(s.substr(0, 4)), to_int(s.substr(4, 2)), to_int(s.substr(6, 2)));
    if (d.empty()) return std::nullopt;
    return d;
}

std::optional<Date> Date::from_dmy(std::string_view s) {
    if (blank(s)) return Date();
    if (s.size() != 10 && s.size() != 8) return std::nullopt;
    auto sep = [](char c) { return c == '.' || c == '-' || c == '/'; };
    if (!sep(s[2]) || !sep(s[5])) return std::nullopt;
    std::string_view dd = s.substr(0, 2), mm = s.substr(3, 2), yy = s.substr(6);
    auto trim = [](std::string_view v) {
        while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
        return v;
    };
    dd = trim(dd);
    mm = trim(mm);
    if (!all_digits(dd) || !all_digits(mm) || !all_digits(yy)) return std::nullopt;
    int year = to_int(yy);
    if (yy.size() == 2) year += year < 50 ? 2000 : 1900;
    Date d = from_ymd(year, to_int(mm), to_int(dd));
    if (d.empty()) return std::nullopt;
    return d;
}

int Date::year() const { return empty() ? 0 : civil(jd_).y; }
int Date::month() const { return empty() ? 0 : civil(jd_).m; }
int Date::day() const { return empty() ? 0 : civil(jd_).d; }
int Date::dow() const { return empty() ? 0 : (jd_ + 1) % 7 + 1; }

std::string Date::dtos() const {
    if (empty()) return std::string(8, ' ');
    Ymd c = civil(jd_);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", c.y, c.m, c.d);
    return buf;
}

std::string Date::dmy() const {
    if (empty()) return "  .  .    ";
    Ymd c = civil(jd_);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", c.d, c.m, c.y);
    return buf;
}

}  // namespace platform
