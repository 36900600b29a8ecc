// The evaluator: one typed walk per result type. Text results are appended to a caller's
// buffer and intermediate text lives at the end of one scratch buffer that every step gives
// back, so a key is built without allocating once the buffers have grown.

#include <algorithm>
#include <cstring>

#include "platform/table/expr_functions.h"
#include "platform/table/expr_program.h"
#include "platform/table/expr_text.h"

namespace platform::table::detail {
namespace {

// Exact-off comparison: only the first LEN(right) bytes of the left side count.
int xbase_compare(std::string_view l, std::string_view r) {
    int c = l.substr(0, std::min(l.size(), r.size())).compare(r.substr(0, std::min(l.size(), r.size())));
    if (c != 0) return c < 0 ? -1 : 1;
    return r.size() > l.size() ? -1 : 0;
}

bool holds(Rel rel, int c) {
    switch (rel) {
        case Rel::Eq: case Rel::ExactEq: return c == 0;
        case Rel::Ne: return c != 0;
        case Rel::Lt: return c < 0;
        case Rel::Le: return c <= 0;
        case Rel::Gt: return c > 0;
        case Rel::Ge: return c >= 0;
        case Rel::Contains: break;
    }
    return false;
}

template <class T>
int three_way(const T& x, const T& y) {
    return x < y ? -1 : y < x ? 1 : 0;
}

// Gives the scratch buffer back to its size at construction, however the step ends.
class ScratchMark {
  public:
    explicit ScratchMark(std::string& s) : s_(s), size_(s.size()) {}
    ~ScratchMark() { s_.resize(size_); }
    std::size_t size() const { return size_; }
    std::string_view since(std::size_t from) const { return std::string_view(s_).substr(from); }

  private:
    std::string& s_;
    std::size_t size_;
};

// Dates outside years 1 to 9999 have no eight-digit form: date arithmetic that leaves the range gives the empty date.
Date shift(Date d, Decimal days) {
    static const int32_t first = Date::from_ymd(1, 1, 1).days();
    static const int32_t last = Date::from_ymd(9999, 12, 31).days();
    if (d.empty()) return d;
    if (days > Decimal(10'000'000) || days < Decimal(-10'000'000)) return Date();
    long long jd = static_cast<long long>(d.days()) + days.to_int();
    if (jd < first || jd > last) return Date();
    return Date::from_days(static_cast<int32_t>(jd));
}

}  // namespace

// ---- fields

void Evaluator::field_text(const Node& n, std::string& out) {
    const FieldBinding& b = p_.fields[static_cast<std::size_t>(n.field)];
    std::size_t width = static_cast<std::size_t>(n.width);
    if (b.raw != nullptr) {
        if (*b.raw != nullptr) out.append(*b.raw + b.offset, width);
        else out.append(width, ' ');
        return;
    }
    Value v = b.get();
    std::size_t start = out.size();
    if (auto* s = std::get_if<std::string>(&v)) out.append(*s, 0, width);
    out.resize(start + width, ' ');  // a C field always has its width, whatever the binder gave
}

Decimal Evaluator::field_number(const Node& n) {
    const FieldBinding& b = p_.fields[static_cast<std::size_t>(n.field)];
    if (b.raw != nullptr) {
        if (*b.raw == nullptr) return Decimal();
        return Decimal::parse(std::string_view(*b.raw + b.offset, static_cast<std::size_t>(b.def.width))).value_or(Decimal());
    }
    Value v = b.get();
    auto* d = std::get_if<Decimal>(&v);
    return d != nullptr ? *d : Decimal();
}

Date Evaluator::field_date(const Node& n) {
    const FieldBinding& b = p_.fields[static_cast<std::size_t>(n.field)];
    if (b.raw != nullptr) {
        if (*b.raw == nullptr) return Date();
        return Date::from_dtos(std::string_view(*b.raw + b.offset, 8)).value_or(Date());
    }
    Value v = b.get();
    auto* d = std::get_if<Date>(&v);
    return d != nullptr ? *d : Date();
}

bool Evaluator::field_logical(const Node& n) {
    const FieldBinding& b = p_.fields[static_cast<std::size_t>(n.field)];
    if (b.raw != nullptr) {
        if (*b.raw == nullptr) return false;
        char c = (*b.raw)[b.offset];
        return c == 'T' || c == 't' || c == 'Y' || c == 'y';
    }
    Value v = b.get();
    auto* l = std::get_if<bool>(&v);
    return l != nullptr && *l;
}

// ---- text

void Evaluator::text(int i, std::string& out) {
    const Node& n = p_.nodes[static_cast<std::size_t>(i)];
    std::size_t start = out.size();
    switch (n.op) {
        case Op::Const: out += n.s; return;
        case Op::Field: field_text(n, out); return;
        case Op::Concat:
            text(n.a, out);
            text(n.b, out);
            return;
        case Op::ConcatTrim: {
            // "a - b": the left side's trailing blanks move to the end.
            text(n.a, out);
            std::size_t end = out.size();
            while (end > start && out[end - 1] == ' ') --end;
            std::size_t blanks = out.size() - end;
            out.resize(end);
            text(n.b, out);
            out.append(blanks, ' ');
            return;
        }
        case Op::Iif: text(logical(n.a) ? n.b : n.c, out); return;
        case Op::Str:
        case Op::StrZero: {
            Decimal v = number(n.a);
            int width = n.b >= 0 ? integer(n.b) : n.width;
            int decimals = n.c >= 0 ? integer(n.c) : n.decimals;
            append_str(out, v, width, decimals);
            if (n.op == Op::StrZero && (out.size() == start || out[start] != '*')) {
                bool negative = out.find('-', start) != std::string::npos;
                for (std::size_t k = start; k < out.size(); ++k)
                    if (out[k] == ' ' || out[k] == '-') out[k] = '0';
                if (negative) out[start] = '-';
            }
            return;
        }
        case Op::Dtos: out += date(n.a).dtos(); return;
        case Op::Dtoc: out += date(n.a).dmy(); return;
        case Op::DescendC:
            text(n.a, out);
            descend_bytes(out, start);
            return;
        case Op::DescendD:
            out += date(n.a).dtos();
            descend_bytes(out, start);
            return;
        case Op::Substr: {
            text(n.a, out);
            int length = static_cast<int>(out.size() - start);
            auto [offset, count] = substr_range(length, integer(n.b), n.c >= 0, n.c >= 0 ? integer(n.c) : 0);
            out.erase(start, static_cast<std::size_t>(offset));
            out.resize(start + static_cast<std::size_t>(count));
            return;
        }
        case Op::Left:
        case Op::Right: {
            text(n.a, out);
            std::size_t length = out.size() - start;
            std::size_t keep = std::min(length, static_cast<std::size_t>(std::max(integer(n.b), 0)));
            if (n.op == Op::Right) out.erase(start, length - keep);
            out.resize(start + keep);
            return;
        }
        case Op::Upper: text(n.a, out); upper_852(out, start); return;
        case Op::Lower: text(n.a, out); lower_852(out, start); return;
        case Op::Rtrim:
        case Op::Ltrim:
        case Op::Alltrim: {
            text(n.a, out);
            if (n.op != Op::Ltrim)
                while (out.size() > start && out.back() == ' ') out.pop_back();
            if (n.op != Op::Rtrim) {
                std::size_t k = start;
                while (k < out.size() && out[k] == ' ') ++k;
                out.erase(start, k - start);
            }
            return;
        }
        case Op::Space: out.append(static_cast<std::size_t>(std::clamp(integer(n.a), 0, kMaxText)), ' '); return;
        case Op::Replicate: {
            text(n.a, out);
            std::size_t piece = out.size() - start;
            int times = std::clamp(integer(n.b), 0, kMaxText);
            if (piece == 0 || times == 0) {
                out.resize(start);
                return;
            }
            times = std::min<int>(times, static_cast<int>(kMaxText / piece));
            out.reserve(start + piece * static_cast<std::size_t>(times));  // no reallocation below: the source stays put
            for (int k = 1; k < times; ++k) out.append(out.data() + start, piece);
            if (times < 1) out.resize(start);
            return;
        }
        case Op::PadL:
        case Op::PadR:
        case Op::PadC: {
            char fill = ' ';
            if (n.c >= 0) {
                ScratchMark mark(scratch_);
                text(n.c, scratch_);
                if (scratch_.size() > mark.size()) fill = scratch_[mark.size()];
            }
            std::size_t width = static_cast<std::size_t>(std::clamp(integer(n.b), 0, kMaxText));
            const Node& x = p_.nodes[static_cast<std::size_t>(n.a)];
            switch (x.type) {
                case FieldType::Character: text(n.a, out); break;
                case FieldType::Numeric: out += number(n.a).to_string(x.decimals); break;
                case FieldType::Date: out += date(n.a).dmy(); break;
                case FieldType::Logical: out += logical(n.a) ? 'T' : 'F'; break;
            }
            std::size_t length = out.size() - start;
            if (length >= width) {
                out.resize(start + width);
                return;
            }
            std::size_t missing = width - length;
            std::size_t before = n.op == Op::PadL ? missing : n.op == Op::PadC ? missing / 2 : 0;
            out.insert(start, before, fill);
            out.append(missing - before, fill);
            return;
        }
        case Op::Chr: out += static_cast<char>(integer(n.a) & 0xFF); return;
        default: break;
    }
}

// ---- numbers

int Evaluator::integer(int i) {
    Decimal v = number(i).trunc(0);
    constexpr int kLimit = 1'000'000'000;
    if (v > Decimal(kLimit)) return kLimit;
    if (v < Decimal(-kLimit)) return -kLimit;
    return static_cast<int>(v.to_int());
}

Decimal Evaluator::number(int i) {
    const Node& n = p_.nodes[static_cast<std::size_t>(i)];
    switch (n.op) {
        case Op::Const: return n.n;
        case Op::Field: return field_number(n);
        case Op::Recno: return Decimal(static_cast<long long>(p_.binder->recno()));
        case Op::Neg:
        case Op::DescendN: return -number(n.a);
        case Op::AddN: return number(n.a) + number(n.b);
        case Op::SubN: return number(n.a) - number(n.b);
        case Op::MulN: return number(n.a) * number(n.b);
        case Op::DivN: {
            Decimal x = number(n.a), y = number(n.b);
            return y.is_zero() ? Decimal() : x / y;
        }
        case Op::ModN:
        case Op::Mod: {
            Decimal x = number(n.a), y = number(n.b);
            if (y.is_zero()) return Decimal();
            Decimal r = Decimal::from_units(x.units() % y.units());
            // MOD() takes the divisor's sign; the % operator keeps the dividend's.
            if (n.op == Op::Mod && !r.is_zero() && r.negative() != y.negative()) r += y;
            return r;
        }
        case Op::SubDateDate: return Decimal(date(n.a) - date(n.b));
        case Op::Iif: return logical(n.a) ? number(n.b) : number(n.c);
        case Op::Val: {
            ScratchMark mark(scratch_);
            text(n.a, scratch_);
            return Decimal::val(mark.since(mark.size()));
        }
        case Op::Len: {
            ScratchMark mark(scratch_);
            text(n.a, scratch_);
            return Decimal(static_cast<long long>(scratch_.size() - mark.size()));
        }
        case Op::At: {
            ScratchMark mark(scratch_);
            text(n.a, scratch_);
            std::size_t mid = scratch_.size();
            text(n.b, scratch_);
            std::string_view needle = std::string_view(scratch_).substr(mark.size(), mid - mark.size());
            std::string_view hay = std::string_view(scratch_).substr(mid);
            std::size_t at = needle.empty() ? std::string_view::npos : hay.find(needle);
            return Decimal(at == std::string_view::npos ? 0LL : static_cast<long long>(at) + 1);
        }
        case Op::Asc: {
            ScratchMark mark(scratch_);
            text(n.a, scratch_);
            return Decimal(scratch_.size() > mark.size() ? static_cast<unsigned char>(scratch_[mark.size()]) : 0);
        }
        case Op::Round: return number(n.a).round(std::clamp(integer(n.b), -30, Decimal::kScale));
        case Op::Int: return number(n.a).trunc(0);
        case Op::Abs: return number(n.a).abs();
        case Op::Min: return std::min(number(n.a), number(n.b));
        case Op::Max: return std::max(number(n.a), number(n.b));
        case Op::Year:
        case Op::Month:
        case Op::Day:
        case Op::Dow: {
            Date d = date(n.a);
            if (d.empty()) return Decimal();
            return Decimal(n.op == Op::Year ? d.year() : n.op == Op::Month ? d.month() : n.op == Op::Day ? d.day() : d.dow());
        }
        default: return Decimal();
    }
}

// ---- dates

Date Evaluator::date(int i) {
    const Node& n = p_.nodes[static_cast<std::size_t>(i)];
    switch (n.op) {
        case Op::Const: return n.d;
        case Op::Field: return field_date(n);
        case Op::Today: return p_.binder->today();
        case Op::AddDateN: return shift(date(n.a), number(n.b));
        case Op::AddNDate: return shift(date(n.b), number(n.a));
        case Op::SubDateN: return shift(date(n.a), -number(n.b));
        case Op::Ctod: {
            ScratchMark mark(scratch_);
            text(n.a, scratch_);
            return Date::from_dmy(mark.since(mark.size())).value_or(Date());
        }
        case Op::Iif: return logical(n.a) ? date(n.b) : date(n.c);
        case Op::Min: return std::min(date(n.a), date(n.b));
        case Op::Max: return std::max(date(n.a), date(n.b));
        default: return Date();
    }
}

// ---- logicals

bool Evaluator::compare_text(const Node& n) {
    ScratchMark mark(scratch_);
    text(n.a, scratch_);
    std::size_t mid = scratch_.size();
    text(n.b, scratch_);
    std::string_view l = std::string_view(scratch_).substr(mark.size(), mid - mark.size());
    std::string_view r = std::string_view(scratch_).substr(mid);
    switch (n.rel) {
        case Rel::ExactEq: return l == r;
        case Rel::Contains: return !l.empty() && r.find(l) != std::string_view::npos;
        default: return holds(n.rel, xbase_compare(l, r));
    }
}

int Evaluator::compare(const Node& n) {
    switch (n.arg_type) {
        case FieldType::Numeric: return three_way(number(n.a), number(n.b));
        case FieldType::Date: return three_way(date(n.a), date(n.b));
        case FieldType::Logical: return three_way(logical(n.a), logical(n.b));
        case FieldType::Character: break;
    }
    return 0;
}

bool Evaluator::logical(int i) {
    const Node& n = p_.nodes[static_cast<std::size_t>(i)];
    switch (n.op) {
        case Op::Const: return n.l;
        case Op::Field: return field_logical(n);
        case Op::Deleted: return p_.binder->deleted();
        case Op::Not:
        case Op::DescendL: return !logical(n.a);
        case Op::And: return logical(n.a) && logical(n.b);
        case Op::Or: return logical(n.a) || logical(n.b);
        case Op::Compare: return n.arg_type == FieldType::Character ? compare_text(n) : holds(n.rel, compare(n));
        case Op::Iif: return logical(n.a) ? logical(n.b) : logical(n.c);
        case Op::Empty: {
            switch (n.arg_type) {
                case FieldType::Character: {
                    ScratchMark mark(scratch_);
                    text(n.a, scratch_);
                    return blank_text(mark.since(mark.size()));
                }
                case FieldType::Numeric: return number(n.a).is_zero();
                case FieldType::Date: return date(n.a).empty();
                case FieldType::Logical: return !logical(n.a);
            }
            return false;
        }
        default: return false;
    }
}

Value Evaluator::value(int i) {
    switch (p_.nodes[static_cast<std::size_t>(i)].type) {
        case FieldType::Character: {
            std::string s;
            text(i, s);
            return s;
        }
        case FieldType::Numeric: return number(i);
        case FieldType::Date: return date(i);
        case FieldType::Logical: return logical(i);
    }
    return {};
}

}  // namespace platform::table::detail
