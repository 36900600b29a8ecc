#pragma once
// dBASE III table files: the header, the field descriptors, fixed-length records with the
// deleted flag, and the record count kept right while several copies append.

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/table/lockfile.h"
#include "platform/value/value.h"

namespace platform::table {

using platform::Date;
using platform::Decimal;
using platform::FieldDef;
using platform::FieldType;
using platform::Value;

enum class OpenMode {
    Shared,     // other copies may open it shared too
    Exclusive,  // no other copy may have it open
    ReadOnly,   // shared, and this handle never writes
};

// The fields of a record and where each one sits in the record bytes (byte 0 is the deleted flag).
class RecordLayout {
  public:
    RecordLayout() = default;
    // Checks names (letters, digits, '_', up to 10, starting with a letter, unique; upper-cased)
    // and widths (C 1..254, N 1..20 with decimals below width-1, D 8, L 1). Throws FieldError.
    explicit RecordLayout(std::vector<FieldDef> fields, const std::string& file = {});
    // As read from a file made by another tool: names are taken as they are (upper-cased),
    // C fields up to 65535 wide, N up to 32. Throws CorruptFile naming `file`.
    static RecordLayout from_file(std::vector<FieldDef> fields, const std::string& file);

    const std::vector<FieldDef>& fields() const { return fields_; }
    int count() const { return static_cast<int>(fields_.size()); }
    const FieldDef& field(int i) const { return fields_.at(static_cast<std::size_t>(i)); }
    std::size_t offset(int i) const { return offsets_.at(static_cast<std::size_t>(i)); }
    std::size_t record_length() const { return length_; }
    // Case-insensitive; -1 when there is no such field.
    int index_of(std::string_view name) const;

    void blank(char* record) const;  // ' ' flag and every field blank
    // C: the bytes as stored (padded); N: the number (blank or unreadable text reads as 0);
    // D: the date (blank or bad reads as the empty date); L: true for T/t/Y/y.
    Value get(const char* record, int i) const;
    // C: cut or padded with blanks; N: right-aligned text, rounded to the decimals (a number that
    // does not fit throws FieldError instead of being stored as stars); D: YYYYMMDD; L: T/F.
    // A value of another type throws FieldError; nil blanks the field.
    void put(char* record, int i, const Value& v) const;
    std::string_view raw(const char* record, int i) const;

  private:
    void place();
    std::string file_;
    std::vector<FieldDef> fields_;
    std::vector<std::size_t> offsets_;
    std::size_t length_ = 1;
};

struct DbfHeader {
    uint8_t version = 0x03;
    int year = 0, month = 0, day = 0;  // date of the last update
    uint32_t count = 0;                // records, as the header says
    uint16_t header_length = 0;
    uint16_t record_length = 0;
    uint8_t language = 0;  // 0x64: code page 852
};

class DbfFile {
  public:
    // Creates (or replaces) an empty table. Replacing a file that another copy has open
    // throws OpenConflict; bad fields throw FieldError.
    static void create(const std::filesystem::path& path, const std::vector<FieldDef>& fields);

    // Throws OpenConflict when another copy holds it the other way, CorruptFile when the file
    // is not a sound dBASE III table, IoError when it cannot be opened.
    DbfFile(const std::filesystem::path& path, OpenMode mode);

    const std::string& name() const { return file_.name(); }
    const std::filesystem::path& path() const { return path_; }
    OpenMode mode() const { return mode_; }
    bool exclusive() const { return mode_ == OpenMode::Exclusive; }
    bool read_only() const { return mode_ == OpenMode::ReadOnly; }
    const RecordLayout& layout() const { return layout_; }
    const DbfHeader& header() const { return header_; }

    // The count as last read. refresh_count() reads it again from the header (another copy
    // may have appended since); with exclusive use the cached count is always right.
    uint32_t count() const { return header_.count; }
    uint32_t refresh_count();

    // Record n (1-based) into `record` (record_length bytes). A record past the end of the file
    // throws CorruptFile.
    void read(uint32_t recno, char* record) const;
    // `n` consecutive records starting at `first`; returns how many were read.
    uint32_t read_many(uint32_t first, uint32_t n, char* records) const;
    void write(uint32_t recno, const char* record);

    // Appends `record` and returns its number, locked (other record locks of this handle are
    // released). Under the append lock the count is read from the header again, the record and
    // the end-of-file byte are written, then the count: a crash leaves at worst an unnumbered
    // record past the count, which the next append overwrites. Returns 0 when the new record
    // cannot be locked because another copy holds the table lock.
    uint32_t append(const char* record);

    // Record locks of this handle. lock_record(n, false) releases the handle's other record locks.
    bool lock_record(uint32_t recno, bool keep_others = false);
    void unlock_record(uint32_t recno);
    bool lock_table();
    void unlock_all();
    bool table_locked() const { return table_locked_; }
    bool record_locked(uint32_t recno) const { return table_locked_ || locked_.count(recno) != 0; }
    const std::set<uint32_t>& locked_records() const { return locked_; }
    // A change may be written: exclusive use, the table lock, or a lock on the record.
    bool may_write(uint32_t recno) const { return exclusive() || record_locked(recno); }

    // Exclusive use only (NeedExclusive otherwise). Pack keeps the records not marked deleted,
    // in order, compacting in place (a record is only ever copied towards the start, after it
    // was read, so an interrupted pack may repeat records but never lose one).
    void pack();
    void zap();
    void commit();  // to disk

  private:
    void read_header();
    void write_count(uint32_t count);
    std::filesystem::path path_;
    OpenMode mode_;
    LockFile file_;
    DbfHeader header_;
    RecordLayout layout_;
    std::set<uint32_t> locked_;
    bool table_locked_ = false;
};

}  // namespace platform::table
