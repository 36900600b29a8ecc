// The commands that write: create, append, index.
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "platform/table/structure.h"
#include "platform/text/cp852.h"
#include "tools/dbtool/commands.h"
#include "tools/dbtool/csv.h"

namespace dbtool {

using platform::FieldDef;
using platform::FieldType;
using platform::Value;
using platform::table::OpenMode;
using platform::table::Table;

namespace {

std::string trim(const std::string& s) {
    const std::size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// A CSV text as the value of field `f`; nullopt with `why` set when it cannot be one.
std::optional<Value> convert(const FieldDef& f, const std::string& text, std::string& why) {
    const std::string t = trim(text);
    switch (f.type) {
        case FieldType::Character: {
            const std::string bytes = platform::text::from_utf8(text, '\0');
            if (bytes.find('\0') != std::string::npos) {
                why = "has a character that code page 852 lacks";
                return std::nullopt;
            }
            if (bytes.size() > std::size_t(f.width)) {
                why = "is longer than the field's " + std::to_string(f.width) + " characters";
                return std::nullopt;
            }
            return Value(bytes);
        }
        case FieldType::Numeric: {
            if (t.empty()) return Value();
            if (auto d = platform::Decimal::parse(t)) return Value(*d);
            why = "is not a number (use a point for decimals)";
            return std::nullopt;
        }
        case FieldType::Date: {
            if (t.empty()) return Value();
            std::optional<platform::Date> d;
            if (t.size() == 8) d = platform::Date::from_dtos(t);
            if (t.size() == 10) d = platform::Date::from_dmy(t);
            if (d) return Value(*d);
            why = "is not a date (YYYYMMDD or dd.mm.yyyy)";
            return std::nullopt;
        }
        case FieldType::Logical:
            if (t.empty() || t == "F" || t == "f" || t == "N" || t == "n" || t == "0" || t == "false") return Value(false);
            if (t == "T" || t == "t" || t == "Y" || t == "y" || t == "1" || t == "true") return Value(true);
            why = "is not a logical value (T or F)";
            return std::nullopt;
    }
    return std::nullopt;
}

// Goes through the CSV file, giving each row's values to `take` in table field order.
void read_rows(const std::string& csv, const Table& t, const std::function<void(const std::vector<std::pair<int, Value>>&)>& take) {
    std::ifstream in(csv, std::ios::binary);
    if (!in) throw std::runtime_error(csv + ": cannot be read");
    CsvReader reader(in);
    const auto names = reader.next();
    if (!names) throw std::runtime_error(csv + ": the file is empty; its first line must name the fields");
    std::vector<int> fields;
    for (std::string n : *names) {
        n = trim(n);
        if (fields.empty() && n.size() >= 3 && n.compare(0, 3, "\xEF\xBB\xBF") == 0) n.erase(0, 3);  // a byte-order mark
        const int i = t.field_index(n);
        if (i < 0) throw std::runtime_error(csv + " line 1: the table has no field \"" + n + "\"");
        fields.push_back(i);
    }
    std::string scratch(t.dbf().layout().record_length(), ' ');
    std::vector<std::pair<int, Value>> row;
    try {
        while (auto cells = reader.next()) {
            const std::string where = csv + " line " + std::to_string(reader.line());
            if (cells->size() != fields.size())
                throw std::runtime_error(where + ": " + std::to_string(cells->size()) + " values for " +
                                         std::to_string(fields.size()) + " fields");
            row.clear();
            for (std::size_t c = 0; c < fields.size(); ++c) {
                const FieldDef& f = t.fields()[std::size_t(fields[c])];
                std::string why;
                auto v = convert(f, (*cells)[c], why);
                if (!v) throw std::runtime_error(where + ": " + f.name + " \"" + (*cells)[c] + "\" " + why);
                try {
                    t.dbf().layout().put(scratch.data(), fields[c], *v);  // a number too wide says so here
                } catch (const platform::table::FieldError& e) {
                    throw std::runtime_error(where + ": " + f.name + " \"" + (*cells)[c] + "\": " + e.reason());
                }
                row.emplace_back(fields[c], std::move(*v));
            }
            take(row);
        }
    } catch (const CsvError& e) {
        throw std::runtime_error(csv + " " + e.what());
    }
}

}  // namespace

int create(const Args& args, std::ostream& out) {
    if (args.size() != 2) throw UsageError("create takes the table file and the structure");
    if (std::filesystem::exists(args[0])) throw std::runtime_error(args[0] + " already exists; remove it first to replace it");
    const auto fields = platform::table::parse_structure(args[1]);
    Table::create(args[0], fields);
    out << "created " << args[0] << " with " << fields.size() << " fields\n";
    return 0;
}

int append(const Args& args, std::ostream& out) {
    if (args.size() < 2) throw UsageError("append takes the table file, the CSV file and the table's index files");
    Table t(args[0], OpenMode::Shared);
    for (std::size_t i = 2; i < args.size(); ++i) t.open_index(args[i]);
    // Every row is checked before the first one is appended, so a bad file changes nothing.
    uint64_t rows = 0;
    read_rows(args[1], t, [&](const auto&) { ++rows; });
    read_rows(args[1], t, [&](const std::vector<std::pair<int, Value>>& row) {
        if (!t.append_blank()) throw std::runtime_error(args[0] + ": another program holds the table lock; nothing more appended");
        for (const auto& [i, v] : row) t.put(i, v);
    });
    t.unlock();
    t.commit();
    out << "appended " << rows << " records to " << args[0] << '\n';
    return 0;
}

int index(const Args& args, std::ostream& out) {
    if (args.size() != 3) throw UsageError("index takes the table file, the index file and the key expression");
    Table t(args[0], OpenMode::Shared);
    const int order = t.create_index(args[1], platform::text::from_utf8(args[2]));
    t.commit();
    out << "indexed " << t.lastrec() << " records of " << args[0] << " into " << args[1] << ", key \"" << t.index_key_text(order)
        << "\", " << t.index(order).info().key_size << " bytes\n";
    return 0;
}

}  // namespace dbtool
