// Field layout of a record and the conversion of field bytes to values and back.
#include <algorithm>
#include <cstring>
#include <set>

#include "platform/table/dbf.h"
#include "platform/table/errors.h"

namespace platform::table {

namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upper(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = upper(c);
    return r;
}

bool valid_name(const std::string& n) {
    if (n.empty() || n.size() > 10) return false;
    if (!(n[0] >= 'A' && n[0] <= 'Z')) return false;
    return std::all_of(n.begin(), n.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'; });
}

std::string describe(const FieldDef& f) {
    return f.name + " " + static_cast<char>(f.type) + " " + std::to_string(f.width) + "." + std::to_string(f.decimals);
}

}  // namespace

RecordLayout::RecordLayout(std::vector<FieldDef> fields, const std::string& file) : file_(file), fields_(std::move(fields)) {
    if (fields_.empty()) throw FieldError(file_, "a table needs at least one field");
    std::set<std::string> seen;
    for (auto& f : fields_) {
        f.name = upper(f.name);
        if (!valid_name(f.name)) throw FieldError(file_, "bad field name \"" + f.name + "\"");
        if (!seen.insert(f.name).second) throw FieldError(file_, "field " + f.name + " is named twice");
        bool ok = false;
        switch (f.type) {
            case FieldType::Character: ok = f.width >= 1 && f.width <= 254 && f.decimals == 0; break;
            case FieldType::Numeric:
                ok = f.width >= 1 && f.width <= 20 && f.decimals >= 0 && (f.decimals == 0 || f.decimals < f.width - 1);
                break;
            case FieldType::Date: ok = f.width == 8 && f.decimals == 0; break;
            case FieldType::Logical: ok = f.width == 1 && f.decimals == 0; break;
        }
        if (!ok) throw FieldError(file_, "bad field layout " + describe(f));
    }
    place();
}

RecordLayout RecordLayout::from_file(std::vector<FieldDef> fields, const std::string& file) {
    RecordLayout l;
    l.file_ = file;
    l.fields_ = std::move(fields);
    if (l.fields_.empty()) throw CorruptFile(file, "the table has no fields");
    std::set<std::string> seen;
    for (auto& f : l.fields_) {
        f.name = upper(f.name);
        if (f.name.empty()) throw CorruptFile(file, "a field has no name");
        for (char c : f.name)
            if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7F)
                throw CorruptFile(file, "a field name holds unreadable characters");
        if (!seen.insert(f.name).second) throw CorruptFile(file, "field " + f.name + " is named twice");
        bool ok = false;
        switch (f.type) {
            case FieldType::Character: ok = f.width >= 1; break;
            case FieldType::Numeric: ok = f.width >= 1 && f.width <= 32 && f.decimals >= 0 && f.decimals < f.width; break;
            case FieldType::Date: ok = f.width == 8; break;
            case FieldType::Logical: ok = f.width == 1; break;
        }
        if (!ok) throw CorruptFile(file, "bad field layout " + describe(f));
    }
    l.place();
    return l;
}

void RecordLayout::place() {
    offsets_.clear();
    length_ = 1;
    for (const auto& f : fields_) {
        offsets_.push_back(length_);
        length_ += static_cast<std::size_t>(f.width);
    }
    if (length_ > 65535) throw FieldError(file_, "record is longer than 65535 bytes");
}

int RecordLayout::index_of(std::string_view name) const {
    // Names are compared without trailing blanks, as structure strings pad them.
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const auto& n = fields_[i].name;
        if (n.size() == name.size() && std::equal(n.begin(), n.end(), name.begin(), [](char a, char b) { return a == upper(b); }))
            return static_cast<int>(i);
    }
    return -1;
}

void RecordLayout::blank(char* record) const { std::memset(record, ' ', length_); }

std::string_view RecordLayout::raw(const char* record, int i) const {
    return {record + offset(i), static_cast<std::size_t>(field(i).width)};
}

Value RecordLayout::get(const char* record, int i) const {
    const FieldDef& f = field(i);
    std::string_view s = raw(record, i);
    switch (f.type) {
        case FieldType::Character: return std::string(s);
        case FieldType::Numeric: {
            try {
                if (auto d = Decimal::parse(s)) return *d;
            } catch (const std::exception&) {
                // digits beyond what a number holds read as 0, like any unreadable text
            }
            return Decimal();
        }
        case FieldType::Date: return Date::from_dtos(s).value_or(Date());
        case FieldType::Logical: return s[0] == 'T' || s[0] == 't' || s[0] == 'Y' || s[0] == 'y';
    }
    return {};
}

void RecordLayout::put(char* record, int i, const Value& v) const {
    const FieldDef& f = field(i);
    char* dst = record + offset(i);
    const auto width = static_cast<std::size_t>(f.width);
    if (std::holds_alternative<std::monostate>(v)) {
        std::memset(dst, ' ', width);
        return;
    }
    auto mismatch = [&] { throw FieldError(file_, "field " + f.name + " does not take a value of that type"); };
    switch (f.type) {
        case FieldType::Character: {
            const auto* s = std::get_if<std::string>(&v);
            if (!s) mismatch();
            std::size_t n = std::min(width, s->size());
            std::memcpy(dst, s->data(), n);
            std::memset(dst + n, ' ', width - n);
            return;
        }
        case FieldType::Numeric: {
            const auto* d = std::get_if<Decimal>(&v);
            if (!d) mismatch();
            std::string text = d->str(f.width, f.decimals);
            if (text.size() != width || text.find('*') != std::string::npos)
                throw FieldError(file_, "value " + d->to_plain() + " does not fit field " + describe(f));
            std::memcpy(dst, text.data(), width);
            return;
        }
        case FieldType::Date: {
            const auto* d = std::get_if<Date>(&v);
            if (!d) mismatch();
            std::string text = d->dtos();
            std::memcpy(dst, text.data(), std::min(width, text.size()));
            return;
        }
        case FieldType::Logical: {
            const auto* b = std::get_if<bool>(&v);
            if (!b) mismatch();
            *dst = *b ? 'T' : 'F';
            return;
        }
    }
}

}  // namespace platform::table
