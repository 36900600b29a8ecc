// The Table: current record, order and xBase navigation over a DBF file and its indexes.
#include "platform/table/table_internal.h"

#include <algorithm>

namespace platform::table {

class Table::RecordBinder : public Binder {
  public:
    explicit RecordBinder(Table& t) : t_(t) {}
    std::optional<FieldBinding> bind_field(std::string_view alias, std::string_view name) override {
        if (!alias.empty() && !t_.alias_matches(alias)) return std::nullopt;
        return t_.field_binding(name);
    }
    int64_t recno() override { return t_.eval_recno_; }
    bool deleted() override { return t_.eval_record_[0] == '*'; }

  private:
    Table& t_;
};

namespace {

std::string upper(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

}  // namespace

void Table::create(const std::filesystem::path& path, const std::vector<FieldDef>& fields) { DbfFile::create(path, fields); }

Table::Table(const std::filesystem::path& path, OpenMode mode) : dbf_(std::make_unique<DbfFile>(path, mode)) {
    stem_ = upper(path.stem().string());
    alias_ = stem_;
    record_.assign(dbf_->layout().record_length(), ' ');
    original_ = record_;
    eval_record_ = record_.data();
    binder_ = std::make_unique<RecordBinder>(*this);
    go_top();
}

Table::~Table() {
    try {
        flush();
    } catch (...) {
        // nothing can be reported from here; commit() and unlock() are where write errors surface
    }
}

const std::filesystem::path& Table::path() const { return dbf_->path(); }

void Table::set_alias(std::string_view alias) { alias_ = upper(alias); }

bool Table::alias_matches(std::string_view alias) const {
    const std::string a = upper(alias);
    return a == alias_ || a == stem_;
}

Binder& Table::binder() { return *binder_; }

std::optional<FieldBinding> Table::field_binding(std::string_view name) {
    const int i = field_index(name);
    if (i < 0) return std::nullopt;
    FieldBinding b;
    b.def = dbf_->layout().field(i);
    b.get = [this, i] { return dbf_->layout().get(eval_record_, i); };
    b.raw = &eval_record_;
    b.offset = dbf_->layout().offset(i);
    return b;
}

// ---- the current record ---------------------------------------------------------------------

Value Table::get(int i) const { return dbf_->layout().get(record_.data(), i); }

Value Table::get(std::string_view name) const {
    const int i = field_index(name);
    if (i < 0) throw FieldError(dbf_->name(), "no field " + std::string(name));
    return get(i);
}

std::string_view Table::raw(int i) const { return dbf_->layout().raw(record_.data(), i); }

void Table::require_writable() {
    if (eof_) throw TableError(dbf_->name(), "no current record to change (end of file)");
    if (read_only()) throw TableError(dbf_->name(), "the table is open read-only");
    if (!dbf_->may_write(recno_)) throw LockRequired(dbf_->name(), "record " + std::to_string(recno_) + " is not locked");
}

void Table::put(int i, const Value& v) {
    require_writable();
    if (i < 0 || i >= field_count()) throw FieldError(dbf_->name(), "no field number " + std::to_string(i + 1));
    dbf_->layout().put(record_.data(), i, v);
    dirty_ = true;
}

void Table::put(std::string_view name, const Value& v) {
    const int i = field_index(name);
    if (i < 0) throw FieldError(dbf_->name(), "no field " + std::string(name));
    put(i, v);
}

bool Table::deleted() const { return record_[0] == '*'; }

void Table::delete_record() {
    require_writable();
    record_[0] = '*';
    dirty_ = true;
}

void Table::recall() {
    require_writable();
    record_[0] = ' ';
    dirty_ = true;
}

uint32_t Table::lastrec() { return dbf_->refresh_count(); }

std::string Table::key_of(const KeyFunction& key, const char* record, uint32_t recno) {
    struct Restore {
        Table& t;
        ~Restore() {
            t.eval_record_ = t.record_.data();
            t.eval_recno_ = t.recno_;
        }
    } restore{*this};
    eval_record_ = record;
    eval_recno_ = recno;
    return key();
}

void Table::flush() {
    if (!dirty_) return;
    std::vector<std::pair<std::string, std::string>> keys;
    keys.reserve(indexes_.size());
    for (auto& ix : indexes_)
        keys.emplace_back(key_of(ix->key, original_.data(), recno_), key_of(ix->key, record_.data(), recno_));
    dbf_->write(recno_, record_.data());
    original_ = record_;
    dirty_ = false;
    for (std::size_t i = 0; i < indexes_.size(); ++i) {
        if (keys[i].first == keys[i].second) continue;
        indexes_[i]->file->remove(keys[i].first, recno_);
        indexes_[i]->file->insert(keys[i].second, recno_);
        if (order_ == int(i) + 1) position_.reset();
    }
}

void Table::commit() {
    flush();
    for (auto& ix : indexes_) ix->file->sync();
    dbf_->commit();
}

// ---- positioning ---------------------------------------------------------------------------

void Table::load(uint32_t recno) {
    dbf_->read(recno, record_.data());
    original_ = record_;
    dirty_ = false;
    recno_ = recno;
    eval_recno_ = recno;
    eof_ = false;
}

void Table::reread() {
    if (eof_) return;
    load(recno_);
}

void Table::set_eof() {
    std::fill(record_.begin(), record_.end(), ' ');
    original_ = record_;
    dirty_ = false;
    recno_ = dbf_->count() + 1;
    eval_recno_ = recno_;
    eof_ = true;
    position_.reset();
}

bool Table::visible() { return (!hide_deleted_ || record_[0] != '*') && (!filter_ || filter_()); }

bool Table::load_visible(uint32_t recno) {
    if (recno == 0) return false;
    if (recno > dbf_->count() && recno > dbf_->refresh_count()) return false;
    load(recno);
    return visible();
}

bool Table::natural_scan(uint32_t from, bool forward) {
    if (forward) {
        for (uint32_t r = from;; ++r) {
            if (r > dbf_->count() && r > dbf_->refresh_count()) return false;
            if (load_visible(r)) return true;
        }
    }
    if (from > dbf_->count()) from = dbf_->refresh_count();
    for (uint32_t r = std::min(from, dbf_->count()); r >= 1; --r)
        if (load_visible(r)) return true;
    return false;
}

bool Table::index_scan(std::optional<NtxEntry> e, bool forward) {
    NtxFile& ix = *indexes_[std::size_t(order_ - 1)]->file;
    while (e) {
        // An entry for a record that is not (yet) counted is passed over.
        if (load_visible(e->recno)) {
            position_ = std::move(e);
            return true;
        }
        e = forward ? ix.next(*e) : ix.prev(*e);
    }
    return false;
}

NtxEntry Table::position_entry() {
    if (position_ && position_->recno == recno_) return *position_;
    return NtxEntry{current_key(order_), recno_};
}

void Table::go_to(uint32_t recno) {
    flush();
    found_ = false;
    bof_ = false;
    position_.reset();
    if (recno == 0 || (recno > dbf_->count() && recno > dbf_->refresh_count())) {
        set_eof();
        bof_ = dbf_->count() == 0;
        return;
    }
    load(recno);
}

void Table::go_top() {
    flush();
    found_ = false;
    bof_ = false;
    position_.reset();
    const bool ok = order_ == 0 ? natural_scan(1, true) : index_scan(indexes_[std::size_t(order_ - 1)]->file->first(), true);
    if (!ok) {
        set_eof();
        bof_ = true;
    }
}

void Table::go_bottom() {
    flush();
    found_ = false;
    bof_ = false;
    position_.reset();
    const bool ok = order_ == 0 ? natural_scan(dbf_->refresh_count(), false)
                                : index_scan(indexes_[std::size_t(order_ - 1)]->file->last(), false);
    if (!ok) {
        set_eof();
        bof_ = true;
    }
}

void Table::skip(int64_t n) {
    flush();
    found_ = false;
    bof_ = false;
    if (n == 0) {
        if (eof_)
            set_eof();
        else
            reread();
        return;
    }
    NtxFile* ix = order_ == 0 ? nullptr : indexes_[std::size_t(order_ - 1)]->file.get();
    for (; n > 0; --n) {
        if (eof_) return;
        const bool ok = ix ? index_scan(ix->next(position_entry()), true) : natural_scan(recno_ + 1, true);
        if (!ok) {
            set_eof();
            return;
        }
    }
    for (; n < 0; ++n) {
        bool ok;
        if (eof_)
            ok = ix ? index_scan(ix->last(), false) : natural_scan(dbf_->refresh_count(), false);
        else
            ok = ix ? index_scan(ix->prev(position_entry()), false) : natural_scan(recno_ - 1, false);
        if (!ok) {
            // Before the first record: stay on the first visible one, with BOF set.
            go_top();
            bof_ = true;
            return;
        }
    }
}

bool Table::seek(std::string_view key) {
    if (order_ == 0) throw TableError(dbf_->name(), "seek needs an index order");
    flush();
    found_ = false;
    bof_ = false;
    position_.reset();
    NtxFile& ix = *indexes_[std::size_t(order_ - 1)]->file;
    key = key.substr(0, std::size_t(ix.info().key_size));
    for (auto e = ix.lower_bound(key); e; e = ix.next(*e)) {
        if (std::string_view(e->key).substr(0, key.size()) != key) break;
        if (load_visible(e->recno)) {
            position_ = std::move(e);
            found_ = true;
            return true;
        }
    }
    set_eof();
    return false;
}

// ---- appending and locks --------------------------------------------------------------------

bool Table::append_blank() {
    if (read_only()) throw TableError(dbf_->name(), "the table is open read-only");
    flush();
    const std::string blank(record_.size(), ' ');
    const uint32_t n = dbf_->append(blank.data());
    if (n == 0) return false;
    std::fill(record_.begin(), record_.end(), ' ');
    original_ = blank;
    dirty_ = false;
    recno_ = n;
    eval_recno_ = n;
    eof_ = bof_ = found_ = false;
    position_.reset();
    for (auto& ix : indexes_) ix->file->insert(key_of(ix->key, record_.data(), n), n);
    return true;
}

bool Table::lock_record(uint32_t recno, bool keep_others) {
    if (recno == 0) {
        if (eof_) return false;
        recno = recno_;
    }
    flush();  // a pending change is written while its lock still holds
    if (!dbf_->lock_record(recno, keep_others)) return false;
    if (recno == recno_) reread();
    return true;
}

bool Table::lock_table() {
    flush();
    if (!dbf_->lock_table()) return false;
    reread();
    return true;
}

void Table::unlock() {
    flush();
    dbf_->unlock_all();
}

void Table::unlock_record(uint32_t recno) {
    if (recno == recno_) flush();
    dbf_->unlock_record(recno);
}

// ---- whole-table operations -----------------------------------------------------------------

void Table::pack() {
    if (!exclusive()) throw NeedExclusive(dbf_->name(), "pack needs exclusive use of the table");
    flush();
    dbf_->pack();
    reindex();
}

void Table::zap() {
    if (!exclusive()) throw NeedExclusive(dbf_->name(), "zap needs exclusive use of the table");
    flush();
    dbf_->zap();
    reindex();
}

}  // namespace platform::table
