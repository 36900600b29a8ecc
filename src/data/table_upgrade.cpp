// Layout upgrade of one table: built beside, forced to disk, renamed into place.
#include "data/table_upgrade.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>

#include "data/access.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "data/session.h"
#include "platform/table/dbf.h"
#include "platform/table/errors.h"
#include "platform/table/structure.h"
#include "platform/table/table.h"

namespace sklad {

namespace fs = std::filesystem;
namespace table = platform::table;

namespace {

std::function<void(std::string_view)>& step_hook() {
    static std::function<void(std::string_view)> hook;
    return hook;
}

void step(std::string_view name) {
    if (step_hook()) step_hook()(name);
}

int whole_digits(const FieldDef& f) { return f.width - f.decimals - (f.decimals > 0 ? 1 : 0); }

// The layout asked for, with every field the table has wider kept at its own width.
Fields never_narrower(Fields wanted, const Fields& existing) {
    for (FieldDef& f : wanted) {
        const FieldDef* old = FIND_FIELD(existing, f.name);
        if (old == nullptr || old->type != f.type) continue;
        if (f.type == FieldType::Numeric) {
            const int decimals = std::max(f.decimals, old->decimals);
            const int whole = std::max(whole_digits(f), whole_digits(*old));
            f.decimals = decimals;
            f.width = std::min(20, whole + decimals + (decimals > 0 ? 1 : 0));
        } else if (f.type == FieldType::Character) {
            f.width = std::max(f.width, old->width);
        }
    }
    return wanted;
}

// How each field of the new record is filled from a record of the old layout.
struct FieldCopy {
    int to;
    int from;
    bool raw;  // same definition: the bytes are copied as they are
};

std::vector<FieldCopy> field_map(const table::RecordLayout& to, const table::RecordLayout& from) {
    std::vector<FieldCopy> map;
    for (int i = 0; i < to.count(); ++i) {
        const int j = from.index_of(to.field(i).name);
        if (j < 0 || from.field(j).type != to.field(i).type) continue;
        map.push_back({i, j, from.field(j) == to.field(i)});
    }
    return map;
}

// Appends the records of `src` to `dst`, field by field; returns how many were written.
long copy_records(const table::DbfFile& src, table::DbfFile& dst, bool drop_deleted, const UpgradeOptions& options,
                  long done, long total) {
    const table::RecordLayout& from = src.layout();
    const table::RecordLayout& to = dst.layout();
    const std::vector<FieldCopy> map = field_map(to, from);
    const std::size_t in_len = from.record_length();
    const uint32_t count = src.count();
    const uint32_t chunk = static_cast<uint32_t>(std::max<std::size_t>(1, (1u << 20) / in_len));
    std::string in(std::size_t(chunk) * in_len, '\0');
    std::string out(to.record_length(), ' ');
    for (uint32_t first = 1; first <= count; first += chunk) {
        const uint32_t n = src.read_many(first, std::min(chunk, count - first + 1), in.data());
        for (uint32_t k = 0; k < n; ++k, ++done) {
            const char* rec = in.data() + std::size_t(k) * in_len;
            if (drop_deleted && rec[0] == '*') continue;
            to.blank(out.data());
            out[0] = rec[0];
            for (const FieldCopy& c : map) {
                if (c.raw) {
                    std::memcpy(out.data() + to.offset(c.to), rec + from.offset(c.from),
                                std::size_t(to.field(c.to).width));
                } else {
                    to.put(out.data(), c.to, from.get(rec, c.from));
                }
            }
            dst.append(out.data());
            if (done == 0) step("copying");
        }
        if (options.progress) options.progress(done, total);
    }
    return done;
}

void sync_folder(const fs::path& file) {
    fs::path dir = file.parent_path();
    if (dir.empty()) dir = ".";
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

void UPGRADE_STEP_HOOK(std::function<void(std::string_view step)> hook) { step_hook() = std::move(hook); }

bool LAYOUT_OLDER(const Fields& existing, const Fields& current) {
    for (const FieldDef& f : current) {
        const FieldDef* old = FIND_FIELD(existing, f.name);
        if (old == nullptr) return true;
        if (old->type != f.type) continue;  // kept as it is: converting would lose the values
        if (old->width < f.width) return true;
        if (f.type == FieldType::Numeric && (old->decimals < f.decimals || whole_digits(*old) < whole_digits(f)))
            return true;
    }
    return false;
}

bool PRZEBUDUJ(std::string_view structure, const UpgradeOptions& options) {
    const int area = SELECT();
    const std::string alias = ALIAS();
    table::TableDefinition wanted = table::parse_table_definition(structure);
    const fs::path target = TABLE_FILE(wanted.path);
    const std::string staged_name = wanted.path + ".new";
    const fs::path staged = TABLE_FILE(staged_name);
    auto refuse = [&] { return NIEDOSTEPNY(wanted.path); };

    table::Table& old = WORKAREAS().table();
    old.flush();
    const Fields layout = never_narrower(wanted.fields, old.fields());
    std::error_code ec;
    fs::remove(staged, ec);  // an earlier run's unfinished copy: its source is still in place
    if (!TWORZ(staged_name + "," + table::structure_text(layout), true, STACJA)) return refuse();
    step("staged");
    try {
        table::DbfFile dst(staged, table::OpenMode::Exclusive);
        std::optional<table::DbfFile> extra;
        if (!options.also_append.empty()) extra.emplace(TABLE_FILE(options.also_append), table::OpenMode::ReadOnly);
        const long total = static_cast<long>(old.dbf().count()) + (extra ? static_cast<long>(extra->count()) : 0);
        long done = copy_records(old.dbf(), dst, options.drop_deleted, options, 0, total);
        if (extra) copy_records(*extra, dst, true, options, done, total);
        dst.commit();
    } catch (const table::TableError&) {
        fs::remove(staged, ec);
        return refuse();
    }
    step("filled");

    DBSELECTAREA(area);
    DBCLOSEAREA();
    fs::rename(staged, target, ec);
    if (!ec) sync_folder(target);
    step("replaced");
    const bool reopened = NET_USE(wanted.path, alias, true, 20);
    if (ec || !reopened) return refuse();
    return true;
}

}  // namespace sklad
