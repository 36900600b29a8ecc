// The commands that only read: info, dump, seek, check.
#include <cstdio>
#include <iomanip>
#include <iostream>

#include "platform/table/structure.h"
#include "platform/text/cp852.h"
#include "tools/dbtool/commands.h"

namespace dbtool {

using platform::table::OpenMode;
using platform::table::Table;

namespace {

std::size_t column_width(const platform::FieldDef& f) {
    const std::size_t w = f.type == platform::FieldType::Date ? 10 : std::size_t(f.width);
    return std::max(w, f.name.size());
}

std::string padded(std::string utf8, std::size_t chars, std::size_t width) {
    if (chars < width) utf8.append(width - chars, ' ');
    return utf8;
}

// The key text given on the command line in the form of the index's key.
std::string key_from_text(Table& t, const std::string& text) {
    const auto expr = platform::table::Expression::compile(t.index_key_text(1), t.binder());
    switch (expr.type()) {
        case platform::FieldType::Character: return platform::text::from_utf8(text);
        case platform::FieldType::Numeric:
            if (auto d = platform::Decimal::parse(text)) return expr.key_of(*d);
            throw UsageError("the index key is a number; \"" + text + "\" is not one");
        case platform::FieldType::Date: {
            auto d = text.size() == 8 ? platform::Date::from_dtos(text) : platform::Date::from_dmy(text);
            if (d) return expr.key_of(*d);
            throw UsageError("the index key is a date; give YYYYMMDD or dd.mm.yyyy, not \"" + text + "\"");
        }
        case platform::FieldType::Logical: return text == "T" || text == "t" || text == "Y" || text == "y" ? "T" : "F";
    }
    return text;
}

void need(const Args& args, std::size_t n, const char* what) {
    if (args.size() < n) throw UsageError(std::string("missing ") + what);
}

// A field's bytes that the table would read as something else: a number field that holds no
// number (stars left by an overflow, stray text) or a date field that holds no date.
std::optional<std::string> bad_field(const Table& t, int i) {
    const platform::FieldDef& f = t.fields()[std::size_t(i)];
    const std::string_view raw = t.raw(i);
    if (f.type == platform::FieldType::Numeric && !platform::Decimal::parse(raw))
        return f.name + " holds \"" + std::string(raw) + "\", not a number";
    if (f.type == platform::FieldType::Date && !platform::Date::from_dtos(raw))
        return f.name + " holds \"" + std::string(raw) + "\", not a date";
    return std::nullopt;
}

}  // namespace

void print_heading(const Table& t, std::ostream& out) {
    out << "   recno  ";
    for (const auto& f : t.fields()) out << ' ' << padded(f.name, f.name.size(), column_width(f));
    out << '\n';
}

void print_record(const Table& t, std::ostream& out) {
    out << std::setw(8) << t.recno() << (t.deleted() ? " *" : "  ");
    for (int i = 0; i < t.field_count(); ++i) {
        const auto& f = t.fields()[std::size_t(i)];
        std::string_view raw = t.raw(i);
        std::string shown(raw);
        if (f.type == platform::FieldType::Date) {
            if (auto d = platform::Date::from_dtos(raw)) shown = d->dmy();
        }
        const std::size_t chars = shown.size();
        out << ' ' << padded(platform::text::to_utf8(shown), chars, column_width(f));
    }
    out << '\n';
}

int info(const Args& args, std::ostream& out) {
    need(args, 1, "table file");
    Table t(args[0], OpenMode::ReadOnly);
    const auto& h = t.dbf().header();
    char version[8], language[8], updated[16];
    std::snprintf(version, sizeof version, "0x%02X", h.version);
    std::snprintf(language, sizeof language, "0x%02X", h.language);
    std::snprintf(updated, sizeof updated, "%04d-%02d-%02d", h.year, h.month, h.day);
    out << "table      " << args[0] << '\n'
        << "version    " << version << '\n'
        << "updated    " << updated << '\n'
        << "records    " << h.count << '\n'
        << "header     " << h.header_length << " bytes\n"
        << "record     " << h.record_length << " bytes\n"
        << "language   " << language << (h.language == 0x64 ? " (code page 852)" : "") << '\n'
        << "fields     " << t.field_count() << '\n';
    int n = 0;
    for (const auto& f : t.fields())
        out << std::setw(5) << ++n << "  " << std::left << std::setw(10) << f.name << ' ' << static_cast<char>(f.type) << std::right
            << std::setw(5) << f.width << std::setw(3) << f.decimals << '\n';
    out << "structure  " << platform::table::structure_text(t.fields()) << '\n';
    return 0;
}

int dump(const Args& args, std::ostream& out) {
    need(args, 1, "table file");
    std::string index;
    bool deleted = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--deleted") {
            deleted = true;
        } else if (args[i] == "--index" && i + 1 < args.size()) {
            index = args[++i];
        } else {
            throw UsageError("dump does not know \"" + args[i] + "\"");
        }
    }
    Table t(args[0], OpenMode::ReadOnly);
    t.set_hide_deleted(!deleted);
    if (!index.empty()) {
        t.open_index(index);
        t.set_order(1);
    }
    print_heading(t, out);
    for (t.go_top(); !t.eof(); t.skip()) print_record(t, out);
    return 0;
}

int seek(const Args& args, std::ostream& out) {
    need(args, 3, "table file, index file or key");
    Table t(args[0], OpenMode::ReadOnly);
    t.open_index(args[1]);
    t.set_order(1);
    if (!t.seek(key_from_text(t, args[2]))) {
        out << "no record has the key \"" << args[2] << "\"\n";
        return 1;
    }
    print_heading(t, out);
    print_record(t, out);
    return 0;
}

int check(const Args& args, std::ostream& out) {
    need(args, 1, "table file");
    Table t(args[0], OpenMode::ReadOnly);
    const uint32_t count = t.lastrec();
    for (uint32_t r = 1; r <= count; ++r) {
        t.go_to(r);
        for (int i = 0; i < t.field_count(); ++i) {
            if (auto problem = bad_field(t, i)) {
                std::cerr << "dbtool: check failed: " << args[0] << ": record " << r << ": " << *problem << '\n';
                return 1;
            }
        }
    }
    out << args[0] << ": ok, " << count << " records\n";
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::optional<std::string> problem;
        try {
            const int order = t.open_index(args[i]);
            problem = t.verify_index(order);
        } catch (const platform::table::TableError& e) {
            problem = e.reason();
        } catch (const platform::table::ExprError& e) {
            problem = std::string("its key expression cannot be used: ") + e.what();
        }
        if (problem) {
            std::cerr << "dbtool: check failed: " << args[i] << ": " << *problem << '\n';
            return 1;
        }
        out << args[i] << ": ok, key \"" << t.index_key_text(int(i)) << "\"\n";
    }
    return 0;
}

}  // namespace dbtool
