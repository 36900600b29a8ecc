// Bulk routines: copy to a new table, append from another table, totals by key.
#include "platform/table/bulk.h"

#include "platform/table/workarea_internal.h"

namespace platform::table {

namespace {

// Stores a value, telling which record and field did not take it.
void put(Table& target, int field, const Value& v, const std::string& what) {
    try {
        target.put(field, v);
    } catch (const FieldError& e) {
        throw FieldError(target.dbf().name(), target.fields()[std::size_t(field)].name + " of " + what + ": " + e.reason());
    }
}

void append(Table& target) {
    if (!target.append_blank())
        throw TableError(target.dbf().name(), "cannot append: another copy holds the table lock");
}

std::vector<int> field_indexes(const Table& t, const std::vector<std::string>& names) {
    std::vector<int> out;
    if (names.empty()) {
        for (int i = 0; i < t.field_count(); ++i) out.push_back(i);
        return out;
    }
    for (const std::string& n : names) {
        const int i = t.field_index(n);
        if (i < 0) throw FieldError(t.dbf().name(), "no field " + upper_ascii(n));
        out.push_back(i);
    }
    return out;
}

// Restores the selected area when a routine has selected another one for a while.
class KeepSelection {
  public:
    explicit KeepSelection(WorkAreas& w) : w_(w), area_(w.current()) {}
    KeepSelection(const KeepSelection&) = delete;
    KeepSelection& operator=(const KeepSelection&) = delete;
    ~KeepSelection() { w_.select(area_); }

  private:
    WorkAreas& w_;
    int area_;
};

}  // namespace

uint64_t copy_to(WorkAreas& areas, const std::filesystem::path& target, const std::vector<std::string>& fields, const Scope& scope,
                 int area) {
    Table& source = areas.table(area);
    const std::vector<int> take = field_indexes(source, fields);
    std::vector<FieldDef> defs;
    for (int i : take) defs.push_back(source.fields()[std::size_t(i)]);
    Table::create(target, defs);
    Table out(target, OpenMode::Exclusive);
    const uint64_t n = areas.scan(
        scope,
        [&] {
            append(out);
            const std::string what = "record " + std::to_string(source.recno());
            for (std::size_t j = 0; j < take.size(); ++j) put(out, int(j), source.get(take[j]), what);
            return true;
        },
        area);
    out.commit();
    return n;
}

uint64_t append_from(WorkAreas& areas, const std::filesystem::path& source, const std::vector<std::string>& fields,
                     const std::function<Scope(int)>& make_scope, int area) {
    const int target_area = area == 0 ? areas.current() : area;
    Table& target = areas.table(target_area);
    KeepSelection keep(areas);
    areas.select(0);
    const int from = areas.current();
    struct CloseSource {
        WorkAreas& w;
        int area;
        ~CloseSource() {
            try {
                w.close(area);
            } catch (...) {
                // a read-only table has nothing to write back
            }
        }
    };
    areas.open(source, "__APPEND_FROM_" + std::to_string(from), OpenMode::ReadOnly);
    CloseSource close_source{areas, from};
    Table& in = areas.table(from);

    // (target field, source field) pairs of the same name and type.
    std::vector<std::pair<int, int>> pairs;
    for (int j : field_indexes(target, fields)) {
        const FieldDef& t = target.fields()[std::size_t(j)];
        const int i = in.field_index(t.name);
        if (i >= 0 && in.fields()[std::size_t(i)].type == t.type) pairs.emplace_back(j, i);
    }
    const bool table_locked = target.table_locked();
    const Scope scope = make_scope ? make_scope(from) : Scope{};
    const uint64_t n = areas.scan(
        scope,
        [&] {
            append(target);
            const std::string what = "record " + std::to_string(in.recno()) + " of " + in.dbf().name();
            try {
                for (auto [j, i] : pairs) put(target, j, in.get(i), what);
            } catch (const FieldError&) {
                target.delete_record();  // no half-filled record is left in sight
                target.flush();
                throw;
            }
            return true;
        },
        from);
    if (!table_locked) target.unlock();
    areas.follow(target_area);
    return n;
}

uint64_t total_to(WorkAreas& areas, const std::filesystem::path& target, std::string_view key_text,
                  const std::vector<std::string>& sum_fields, const Scope& scope, int area) {
    Table& source = areas.table(area);
    const std::function<Value()> key = areas.expression(key_text, area);
    std::vector<int> sums;
    if (sum_fields.empty()) {
        for (int i = 0; i < source.field_count(); ++i)
            if (source.fields()[std::size_t(i)].type == FieldType::Numeric) sums.push_back(i);
    } else {
        sums = field_indexes(source, sum_fields);
        for (int i : sums)
            if (source.fields()[std::size_t(i)].type != FieldType::Numeric)
                throw FieldError(source.dbf().name(), source.fields()[std::size_t(i)].name + " is not a numeric field");
    }
    Table::create(target, source.fields());
    Table out(target, OpenMode::Exclusive);

    bool open_group = false;
    Value group_key;
    uint32_t group_first = 0;
    std::vector<Value> first;
    std::vector<Decimal> totals(sums.size());
    uint64_t written = 0;
    auto write_group = [&] {
        append(out);
        const std::string what = "the group from record " + std::to_string(group_first);
        for (int i = 0; i < out.field_count(); ++i) put(out, i, first[std::size_t(i)], what);
        for (std::size_t s = 0; s < sums.size(); ++s) put(out, sums[s], totals[s], what);
        ++written;
    };
    areas.scan(
        scope,
        [&] {
            Value k = key();
            if (!open_group || k != group_key) {
                if (open_group) write_group();
                open_group = true;
                group_key = std::move(k);
                group_first = source.recno();
                first.clear();
                for (int i = 0; i < source.field_count(); ++i) first.push_back(source.get(i));
                std::fill(totals.begin(), totals.end(), Decimal());
            }
            for (std::size_t s = 0; s < sums.size(); ++s) totals[s] += std::get<Decimal>(source.get(sums[s]));
            return true;
        },
        area);
    if (open_group) write_group();
    out.commit();
    return written;
}

}  // namespace platform::table
