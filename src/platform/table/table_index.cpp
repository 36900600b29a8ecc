// The Table's indexes: creating, opening, rebuilding and checking them.
#include <algorithm>
#include <optional>

#include "platform/table/table_internal.h"

namespace platform::table {

namespace {

// Holds the table lock of a shared table while its indexes are built from every record, so that
// no other copy changes or appends records meanwhile.
class BuildLock {
  public:
    BuildLock(DbfFile& dbf) : dbf_(dbf) {
        if (dbf.exclusive() || dbf.table_locked()) return;
        if (!dbf.lock_table()) throw TableError(dbf.name(), "cannot build an index while another copy holds locks on the table");
        taken_ = true;
    }
    BuildLock(const BuildLock&) = delete;
    BuildLock& operator=(const BuildLock&) = delete;
    ~BuildLock() {
        if (!taken_) return;
        try {
            dbf_.unlock_all();
        } catch (...) {
            // ends with the file
        }
    }

  private:
    DbfFile& dbf_;
    bool taken_ = false;
};

}  // namespace

int Table::add_index(std::unique_ptr<NtxFile> file, KeyFunction key, std::unique_ptr<Expression> expr) {
    auto ix = std::make_unique<OpenIndex>();
    ix->file = std::move(file);
    ix->key = std::move(key);
    ix->expr = std::move(expr);
    indexes_.push_back(std::move(ix));
    return index_count();
}

void Table::fill(NtxBuilder& builder, const KeyFunction& key) {
    const uint32_t count = dbf_->refresh_count();
    const std::size_t rl = dbf_->layout().record_length();
    const uint32_t chunk = static_cast<uint32_t>(std::max<std::size_t>(1, (1u << 20) / rl));
    std::string buf(std::size_t(chunk) * rl, '\0');
    for (uint32_t first = 1; first <= count; first += chunk) {
        const uint32_t n = dbf_->read_many(first, std::min(chunk, count - first + 1), buf.data());
        for (uint32_t i = 0; i < n; ++i) builder.add(key_of(key, buf.data() + std::size_t(i) * rl, first + i), first + i);
    }
}

int Table::build_new(const std::filesystem::path& path, const NtxInfo& info, KeyFunction key, std::unique_ptr<Expression> expr,
                     std::size_t memory) {
    if (read_only()) throw TableError(dbf_->name(), "the table is open read-only");
    flush();
    // Building over an index this table has open replaces it in its place in the list; its
    // cached pages must not outlive the old file.
    std::size_t slot = indexes_.size();
    std::error_code ec;
    for (std::size_t i = 0; i < indexes_.size(); ++i)
        if (std::filesystem::equivalent(indexes_[i]->file->path(), path, ec)) slot = i;
    if (slot < indexes_.size()) {
        indexes_[slot]->file->flush();
        indexes_[slot]->file.reset();
        if (order_ == int(slot) + 1) position_.reset();
    }
    std::unique_ptr<NtxFile> file;
    try {
        {
            BuildLock lock(*dbf_);
            NtxBuilder builder(info, memory);
            fill(builder, key);
            NtxFile::create(path, builder);
        }
        file = std::make_unique<NtxFile>(path, exclusive(), read_only());
    } catch (...) {
        if (slot < indexes_.size()) {
            // The old index is gone with its file: leave it out of the list.
            indexes_.erase(indexes_.begin() + std::ptrdiff_t(slot));
            if (order_ == int(slot) + 1) order_ = 0;
            if (order_ > int(slot) + 1) --order_;
        }
        throw;
    }
    if (slot == indexes_.size()) return add_index(std::move(file), std::move(key), std::move(expr));
    indexes_[slot]->file = std::move(file);
    indexes_[slot]->key = std::move(key);
    indexes_[slot]->expr = std::move(expr);
    return int(slot) + 1;
}

int Table::create_index(const std::filesystem::path& path, std::string_view key_text, const IndexOptions& options) {
    auto expr = std::make_unique<Expression>(Expression::compile(key_text, binder()));
    NtxInfo info;
    info.key_text = std::string(key_text);
    info.key_size = expr->key_width();
    info.key_decimals = expr->key_decimals();
    info.unique = options.unique;
    const Expression* e = expr.get();
    return build_new(path, info, [e] { return e->key(); }, std::move(expr), options.build_memory);
}

int Table::create_index(const std::filesystem::path& path, std::string_view key_text, KeyFunction key, int key_size,
                        const IndexOptions& options) {
    NtxInfo info;
    info.key_text = std::string(key_text);
    info.key_size = key_size;
    info.unique = options.unique;
    return build_new(path, info, std::move(key), nullptr, options.build_memory);
}

int Table::open_index(const std::filesystem::path& path) {
    auto file = std::make_unique<NtxFile>(path, exclusive(), read_only());
    std::unique_ptr<Expression> expr;
    try {
        expr = std::make_unique<Expression>(Expression::compile(file->info().key_text, binder()));
    } catch (const ExprError& e) {
        // The header names a key this table cannot compute: the file belongs elsewhere or is damaged.
        throw CorruptFile(file->name(), "key expression does not fit the table: " + std::string(e.what()));
    }
    if (expr->key_width() != file->info().key_size)
        throw CorruptFile(file->name(), "key expression gives " + std::to_string(expr->key_width()) + " bytes, the index holds " +
                                            std::to_string(file->info().key_size));
    const Expression* e = expr.get();
    return add_index(std::move(file), [e] { return e->key(); }, std::move(expr));
}

int Table::open_index(const std::filesystem::path& path, KeyFunction key) {
    return add_index(std::make_unique<NtxFile>(path, exclusive(), read_only()), std::move(key), nullptr);
}

void Table::close_indexes() {
    flush();
    for (auto& ix : indexes_) ix->file->flush();
    indexes_.clear();
    order_ = 0;
    position_.reset();
}

void Table::set_order(int order) {
    if (order < 0 || order > index_count()) throw TableError(dbf_->name(), "no index order " + std::to_string(order));
    flush();
    order_ = order;
    position_.reset();
}

const NtxFile& Table::index(int order) const {
    if (order < 1 || order > index_count()) throw TableError(dbf_->name(), "no index order " + std::to_string(order));
    return *indexes_[std::size_t(order - 1)]->file;
}

std::string Table::index_key_text(int order) const { return index(order).info().key_text; }

std::string Table::current_key(int order) {
    index(order);
    OpenIndex& ix = *indexes_[std::size_t(order - 1)];
    std::string k = key_of(ix.key, record_.data(), recno_);
    k.resize(std::size_t(ix.file->info().key_size), ' ');
    return k;
}

void Table::reindex() {
    if (read_only()) throw TableError(dbf_->name(), "the table is open read-only");
    flush();
    {
        BuildLock lock(*dbf_);
        for (auto& ix : indexes_) {
            NtxBuilder builder(ix->file->info());
            fill(builder, ix->key);
            ix->file->rebuild(builder);
        }
    }
    go_top();
}

std::optional<std::string> Table::verify_index(int order) {
    index(order);
    flush();
    OpenIndex& ix = *indexes_[std::size_t(order - 1)];
    const NtxInfo& info = ix.file->info();
    const std::size_t ks = std::size_t(info.key_size);
    const uint32_t count = dbf_->refresh_count();
    std::string keys(std::size_t(count + 1) * ks, '\0');
    std::vector<bool> seen(std::size_t(count) + 1, false);
    std::optional<std::string> problem;
    try {
        ix.file->walk([&](const NtxEntry& e) {
            if (problem) return;
            if (e.recno == 0 || e.recno > count) {
                problem = "the index holds record " + std::to_string(e.recno) + ", past the end of the table";
            } else if (seen[e.recno]) {
                problem = "record " + std::to_string(e.recno) + " is twice in the index";
            } else {
                seen[e.recno] = true;
                keys.replace(std::size_t(e.recno) * ks, ks, e.key);
            }
        });
    } catch (const CorruptFile& e) {
        return e.reason();
    }
    if (problem) return problem;
    const std::size_t rl = dbf_->layout().record_length();
    std::string rec(rl, ' ');
    for (uint32_t r = 1; r <= count; ++r) {
        dbf_->read(r, rec.data());
        std::string expect = key_of(ix.key, rec.data(), r);
        expect.resize(ks, ' ');
        if (!seen[r]) {
            if (info.unique) continue;  // a unique index keeps only the first record of a key
            return "record " + std::to_string(r) + " is missing from the index";
        }
        if (keys.compare(std::size_t(r) * ks, ks, expect) != 0)
            return "record " + std::to_string(r) + " is under a stale key in the index";
    }
    return std::nullopt;
}

}  // namespace platform::table
