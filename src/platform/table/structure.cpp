// Reading and writing table structures as text.
#include "platform/table/structure.h"

#include <charconv>

#include "platform/table/dbf.h"

namespace platform::table {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> split(std::string_view text) {
    std::vector<std::string_view> items;
    for (;;) {
        const std::size_t comma = text.find(',');
        items.push_back(trim(text.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    // The program's strings end without a comma; one left at the end is forgiven.
    if (items.size() > 1 && items.back().empty()) items.pop_back();
    return items;
}

std::string in_quotes(std::string_view s) { return "\"" + std::string(s) + "\""; }

int number(std::string_view item, std::size_t pos, const char* what) {
    int v = 0;
    const auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), v);
    if (item.empty() || ec != std::errc() || end != item.data() + item.size() || v < 0)
        throw StructureError(pos, "item " + std::to_string(pos) + " " + in_quotes(item) + ": the " + what + " must be a number");
    return v;
}

// Fields from items[first...], numbered from `base` + 1 in messages.
std::vector<FieldDef> parse_fields(const std::vector<std::string_view>& items, std::size_t first) {
    const std::size_t n = items.size() - first;
    if (n == 0 || (n == 1 && items[first].empty())) throw StructureError(0, "the structure names no field");
    if (n % 4 != 0)
        throw StructureError(items.size(), "the structure has " + std::to_string(n) +
                                               " items after the path; each field needs four (name, type, width, decimals)");
    std::vector<FieldDef> fields;
    for (std::size_t i = first; i < items.size(); i += 4) {
        const std::size_t pos = i + 1;
        FieldDef f;
        f.name = std::string(items[i]);
        for (char& c : f.name)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        const std::string_view type = items[i + 1];
        if (type.size() != 1 || std::string_view("CNDLcndl").find(type[0]) == std::string_view::npos)
            throw StructureError(pos + 1, "item " + std::to_string(pos + 1) + " " + in_quotes(type) + ": the type of " + in_quotes(f.name) +
                                              " must be C, N, D or L");
        const char t = static_cast<char>(type[0] & ~0x20);
        f.type = static_cast<FieldType>(t);
        f.width = number(items[i + 2], pos + 2, "width");
        f.decimals = number(items[i + 3], pos + 3, "number of decimals");
        try {
            RecordLayout({f});
        } catch (const FieldError& e) {
            throw StructureError(pos, "item " + std::to_string(pos) + " " + in_quotes(items[i]) + ": " + e.reason());
        }
        fields.push_back(std::move(f));
    }
    try {
        RecordLayout{fields};
    } catch (const FieldError& e) {
        throw StructureError(0, e.reason());
    }
    return fields;
}

}  // namespace

StructureError::StructureError(std::size_t item, const std::string& reason) : FieldError("", reason), item_(item) {}

std::vector<FieldDef> parse_structure(std::string_view text) { return parse_fields(split(text), 0); }

TableDefinition parse_table_definition(std::string_view text) {
    const std::vector<std::string_view> items = split(text);
    if (items.front().empty()) throw StructureError(1, "item 1: the definition starts without a table path");
    TableDefinition def;
    def.path = std::string(items.front());
    def.fields = parse_fields(items, 1);
    return def;
}

std::string structure_text(const std::vector<FieldDef>& fields) {
    std::string out;
    for (const FieldDef& f : fields) {
        if (!out.empty()) out += ',';
        std::string name = f.name;
        if (name.size() < 10) name.resize(10, ' ');
        std::string w = std::to_string(f.width), d = std::to_string(f.decimals);
        out += name + ',' + static_cast<char>(f.type) + ',' + std::string(w.size() < 3 ? 3 - w.size() : 0, ' ') + w + ',' +
               std::string(d.size() < 3 ? 3 - d.size() : 0, ' ') + d;
    }
    return out;
}

}  // namespace platform::table
