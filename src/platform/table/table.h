#pragma once
// The table engine: a dBASE III table with its open NTX indexes, a current record, a current
// order and xBase navigation. The work-area layer sits on top of this class.
//
// How data stays correct with several copies on one folder, and through a power loss:
// - Opening: every open holds the "open" byte (lock_layout::kOpen) of the table, shared for a
//   shared open and exclusive for an exclusive one, so an exclusive open fails while any other
//   copy has the table open and a shared open fails while one holds it exclusively
//   (OpenConflict). Creating a table over a file another copy has open fails the same way.
// - Records: a record lock is one byte at kRecordBase + recno; the table lock covers all of
//   them, so it excludes every record lock of others and their appends. Changes to a shared
//   table need a lock (LockRequired otherwise). A record is read from disk whenever it becomes
//   current and again when it is locked; nothing of a record is cached beyond that.
// - Appending: under the append lock the count is re-read from the header, the record and the
//   end-of-file byte are written, and only then the count. Readers trust the header count
//   (re-read when they move past what they know), never the file size; a crash between the two
//   writes leaves an unnumbered record that the next append overwrites.
// - Indexes: read under a shared lock of the index file, changed under an exclusive one; every
//   change raises a counter in the header, and a copy that finds another counter drops its
//   cached pages. With exclusive use pages are kept and written back on commit and close.
//   An index is derived data: a damaged one is rebuilt from its table (reindex()).
// - commit() forces the table and its indexes to disk; pack() and zap() need exclusive use, and
//   pack compacts in place copying records only towards the start, so an interrupted pack may
//   repeat records but never loses one.
// - Lock offsets (lock_layout in lockfile.h) lie past any real data and below 2^31: record n at
//   0x40000000 + n, the table lock over all of them, append 0x7FFFFFF0, open 0x7FFFFFF1; on an
//   index file 0x7FFFFFF0.
//
// Navigation follows xBase: records marked deleted (while hide_deleted is on) and records the
// filter callback rejects are skipped by top, bottom, skip and seek; goto reaches any record.
// Past the last record the table is at EOF on the phantom record lastrec()+1, blank.
// Seek is exact (no soft seek): a search key shorter than the index key matches the keys that
// begin with it; a longer one is cut to the key size.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/table/dbf.h"
#include "platform/table/errors.h"
#include "platform/table/expr.h"
#include "platform/table/ntx.h"

namespace platform::table {

// Key of the record being evaluated, for an index whose key the program computes in C++. It reads
// fields with Table::evaluated() (or a field_binding()), which follow the record being evaluated;
// get() would always see the current record.
using KeyFunction = std::function<std::string()>;

struct IndexOptions {
    bool unique = false;
    std::size_t build_memory = kDefaultBuildMemory;  // bound on memory for sorting keys
};

class Table {
  public:
    // Creates (or replaces) an empty table; see DbfFile::create.
    static void create(const std::filesystem::path& path, const std::vector<FieldDef>& fields);

    // Throws OpenConflict, CorruptFile, IoError. Positioned on the first visible record.
    explicit Table(const std::filesystem::path& path, OpenMode mode = OpenMode::Shared);
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;
    ~Table();  // writes a pending change, closes (locks end)

    const std::filesystem::path& path() const;
    const DbfFile& dbf() const { return *dbf_; }
    bool exclusive() const { return dbf_->exclusive(); }
    bool read_only() const { return dbf_->read_only(); }
    // Upper case; the file's base name until set. Key expressions may prefix fields with
    // either (e.g. "fa_nx->zap" in fa_nx's own key).
    const std::string& alias() const { return alias_; }
    void set_alias(std::string_view alias);

    // Structure.
    const std::vector<FieldDef>& fields() const { return dbf_->layout().fields(); }
    int field_count() const { return dbf_->layout().count(); }
    int field_index(std::string_view name) const { return dbf_->layout().index_of(name); }  // -1: none

    // The current record (blank at EOF). put() changes the record buffer; the change is written,
    // with index maintenance, when the record is left, unlocked or committed. put() on a shared
    // table without a lock throws LockRequired, at EOF TableError; bad values throw FieldError.
    Value get(int i) const;
    Value get(std::string_view name) const;  // FieldError when there is no such field
    std::string_view raw(int i) const;
    void put(int i, const Value& v);
    void put(std::string_view name, const Value& v);

    uint32_t recno() const { return recno_; }
    uint32_t lastrec();  // re-read from the header
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool found() const { return found_; }
    bool deleted() const;

    // Navigation in the current order.
    void go_to(uint32_t recno);  // any record, deleted or filtered too; out of range: EOF
    void go_top();
    void go_bottom();
    void skip(int64_t n = 1);  // skip(0) reads the current record again
    bool seek(std::string_view key);  // in the current index; TableError in natural order

    // Appends a blank record, makes it current and locks it. false when another copy holds the
    // table lock (the program's network error).
    bool append_blank();
    void delete_record();  // marks the current record; indexes keep it
    void recall();
    void flush();   // writes a pending change of the current record
    void commit();  // flush() and force table and indexes to disk
    void pack();    // NeedExclusive unless exclusive; indexes rebuilt; goes to top
    void zap();

    // Locks. lock_record(0) locks the current record. Locking a record releases this table's
    // other record locks unless keep_others; a locked record is read again from disk.
    bool lock_record(uint32_t recno = 0, bool keep_others = false);
    bool lock_table();
    void unlock();  // writes a pending change, releases every lock of this table
    void unlock_record(uint32_t recno);
    bool record_locked(uint32_t recno) const { return dbf_->record_locked(recno); }
    bool table_locked() const { return dbf_->table_locked(); }

    // Indexes, numbered 1..index_count() in the order they were opened; order 0 = record order.
    // create_index builds the file from every record (deleted ones too) and opens it; on a
    // shared table it holds the table lock while building (TableError when that is refused).
    // The key text is compiled with binder() unless a KeyFunction is given (its text is still
    // stored in the file, for other copies and tools). open_index compiles the header's text.
    int create_index(const std::filesystem::path& path, std::string_view key_text, const IndexOptions& options = {});
    int create_index(const std::filesystem::path& path, std::string_view key_text, KeyFunction key, int key_size,
                     const IndexOptions& options = {});
    int open_index(const std::filesystem::path& path);
    int open_index(const std::filesystem::path& path, KeyFunction key);
    void close_indexes();
    int index_count() const { return static_cast<int>(indexes_.size()); }
    int order() const { return order_; }
    void set_order(int order);  // keeps the current record
    const NtxFile& index(int order) const;
    std::string index_key_text(int order) const;
    // Key of the current record in index `order`, as it is computed now.
    std::string current_key(int order);
    // Rebuilds every open index from the table (a damaged index is repaired this way).
    void reindex();
    // First problem found in index `order` against the table (every record once, keys in order
    // and equal to the expression's value), or nullopt when it is sound.
    std::optional<std::string> verify_index(int order);

    // Filter and deleted-record hiding honoured by navigation.
    void set_filter(std::function<bool()> filter) { filter_ = std::move(filter); }
    void clear_filter() { filter_ = nullptr; }
    bool has_filter() const { return static_cast<bool>(filter_); }
    void set_hide_deleted(bool hide) { hide_deleted_ = hide; }
    bool hide_deleted() const { return hide_deleted_; }

    // Expressions over this table's record: fields by name, with or without the alias prefix,
    // RECNO() and DELETED(). Values are those of the record being evaluated: the current
    // record, except while the engine computes keys of other records.
    Binder& binder();
    std::optional<FieldBinding> field_binding(std::string_view name);
    Value evaluated(int i) const { return dbf_->layout().get(eval_record_, i); }

  private:
    struct OpenIndex;
    class RecordBinder;
    friend class RecordBinder;

    int add_index(std::unique_ptr<NtxFile> file, KeyFunction key, std::unique_ptr<Expression> expr);
    int build_new(const std::filesystem::path& path, const NtxInfo& info, KeyFunction key, std::unique_ptr<Expression> expr,
                  std::size_t memory);
    void fill(NtxBuilder& builder, const KeyFunction& key);
    std::string key_of(const KeyFunction& key, const char* record, uint32_t recno);
    bool alias_matches(std::string_view alias) const;
    void load(uint32_t recno);
    void reread();
    void set_eof();
    bool visible();
    bool load_visible(uint32_t recno);
    bool natural_scan(uint32_t from, bool forward);
    bool index_scan(std::optional<NtxEntry> e, bool forward);
    NtxEntry position_entry();
    void require_writable();

    std::unique_ptr<DbfFile> dbf_;
    std::string alias_;
    std::string stem_;
    std::vector<std::unique_ptr<OpenIndex>> indexes_;
    int order_ = 0;

    std::string record_;    // current record bytes
    std::string original_;  // as read from disk, for the keys to remove
    bool dirty_ = false;
    uint32_t recno_ = 1;
    bool eof_ = true;
    bool bof_ = true;
    bool found_ = false;
    // Where navigation in the current order stands, when it came there through the index.
    std::optional<NtxEntry> position_;

    // The record expressions read: the current record unless the engine points it elsewhere.
    const char* eval_record_ = nullptr;
    uint32_t eval_recno_ = 0;

    std::function<bool()> filter_;
    bool hide_deleted_ = true;
    std::unique_ptr<RecordBinder> binder_;
};

}  // namespace platform::table
