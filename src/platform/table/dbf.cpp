// dBASE III table files: header, record I/O, the append protocol and the record locks.
#include "platform/table/dbf.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "platform/table/errors.h"

namespace platform::table {

namespace {

constexpr uint8_t kVersion = 0x03;
constexpr uint8_t kVersionMemo = 0x83;  // same layout; memo fields are refused below
constexpr uint8_t kLanguage852 = 0x64;
constexpr char kTerminator = 0x0D;
constexpr char kEndOfFile = 0x1A;

uint32_t get32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t get16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
void put32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
void put16(unsigned char* p, uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

// Year (since 1900), month and day of today, as the header keeps the date of the last update.
void today(unsigned char* p) {
    std::time_t t = std::time(nullptr);
    std::tm tm {};
    localtime_r(&t, &tm);
    p[0] = static_cast<unsigned char>(tm.tm_year);
    p[1] = static_cast<unsigned char>(tm.tm_mon + 1);
    p[2] = static_cast<unsigned char>(tm.tm_mday);
}

}  // namespace

void DbfFile::create(const std::filesystem::path& path, const std::vector<FieldDef>& fields) {
    RecordLayout layout(fields, path.string());
    const std::size_t header_length = 32 + 32 * fields.size() + 1;
    if (header_length > 65535) throw FieldError(path.string(), "too many fields");
    std::string bytes(header_length + 1, '\0');
    auto* h = reinterpret_cast<unsigned char*>(bytes.data());
    h[0] = kVersion;
    today(h + 1);
    put32(h + 4, 0);
    put16(h + 8, static_cast<uint16_t>(header_length));
    put16(h + 10, static_cast<uint16_t>(layout.record_length()));
    h[29] = kLanguage852;
    for (std::size_t i = 0; i < layout.fields().size(); ++i) {
        const FieldDef& f = layout.fields()[i];
        unsigned char* d = h + 32 + 32 * i;
        std::memcpy(d, f.name.data(), f.name.size());
        d[11] = static_cast<unsigned char>(f.type);
        put32(d + 12, static_cast<uint32_t>(layout.offset(static_cast<int>(i))));
        d[16] = static_cast<unsigned char>(f.width);
        d[17] = static_cast<unsigned char>(f.decimals);
    }
    bytes[header_length - 1] = kTerminator;
    bytes[header_length] = kEndOfFile;

    LockFile file(path, LockFile::Access::Create);
    if (!file.try_lock(lock_layout::kOpen, 1, LockKind::Exclusive))
        throw OpenConflict(file.name(), "the table is open in another copy");
    file.truncate(0);
    file.write_all(bytes.data(), bytes.size(), 0);
    file.sync();
}

DbfFile::DbfFile(const std::filesystem::path& path, OpenMode mode)
    : path_(path),
      mode_(mode),
      file_(path, mode == OpenMode::ReadOnly ? LockFile::Access::ReadOnly : LockFile::Access::ReadWrite) {
    if (!file_.try_lock(lock_layout::kOpen, 1, mode == OpenMode::Exclusive ? LockKind::Exclusive : LockKind::Shared))
        throw OpenConflict(file_.name(), mode == OpenMode::Exclusive ? "the table is open in another copy"
                                                                      : "another copy uses the table exclusively");
    read_header();
}

void DbfFile::read_header() {
    const std::string& name = file_.name();
    unsigned char h[32];
    if (file_.read_some(h, 32, 0) != 32) throw CorruptFile(name, "header is truncated");
    if (h[0] != kVersion && h[0] != kVersionMemo) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", h[0]);
        throw CorruptFile(name, std::string("not a dBASE III table (version byte ") + hex + ")");
    }
    header_.version = h[0];
    header_.year = 1900 + h[1];
    header_.month = h[2];
    header_.day = h[3];
    header_.count = get32(h + 4);
    header_.header_length = get16(h + 8);
    header_.record_length = get16(h + 10);
    header_.language = h[29];
    if (header_.header_length < 32 + 32 + 1) throw CorruptFile(name, "header length is too small");

    std::string desc(header_.header_length, '\0');
    if (file_.read_some(desc.data(), desc.size(), 0) != desc.size()) throw CorruptFile(name, "header is truncated");
    std::vector<FieldDef> fields;
    std::size_t pos = 32;
    for (;;) {
        if (pos >= desc.size()) throw CorruptFile(name, "field list has no terminator");
        if (desc[pos] == kTerminator) break;
        if (pos + 32 > desc.size()) throw CorruptFile(name, "field list has no terminator");
        const auto* d = reinterpret_cast<const unsigned char*>(desc.data() + pos);
        FieldDef f;
        std::size_t n = 0;
        while (n < 11 && d[n] != 0) ++n;
        f.name.assign(reinterpret_cast<const char*>(d), n);
        const char type = static_cast<char>(d[11]);
        if (type != 'C' && type != 'N' && type != 'D' && type != 'L')
            throw CorruptFile(name, "field " + f.name + " has an unsupported type '" + std::string(1, type) + "'");
        f.type = static_cast<FieldType>(type);
        f.width = d[16];
        f.decimals = d[17];
        if (f.type == FieldType::Character) {
            // Wide character fields keep the high byte of the width in the decimals byte.
            f.width += 256 * f.decimals;
            f.decimals = 0;
        }
        fields.push_back(std::move(f));
        pos += 32;
    }
    layout_ = RecordLayout::from_file(std::move(fields), name);
    if (layout_.record_length() != header_.record_length)
        throw CorruptFile(name, "record length " + std::to_string(header_.record_length) + " does not match the fields (" +
                                    std::to_string(layout_.record_length()) + ")");
    const uint64_t need = uint64_t(header_.header_length) + uint64_t(header_.count) * header_.record_length;
    if (file_.size() < need)
        throw CorruptFile(name, "file is shorter than its " + std::to_string(header_.count) + " records");
}

uint32_t DbfFile::refresh_count() {
    if (exclusive()) return header_.count;
    unsigned char c[4];
    file_.read_exact(c, 4, 4);
    header_.count = get32(c);
    return header_.count;
}

void DbfFile::read(uint32_t recno, char* record) const {
    const uint64_t at = header_.header_length + uint64_t(recno - 1) * header_.record_length;
    if (recno == 0 || file_.read_some(record, header_.record_length, at) != header_.record_length)
        throw CorruptFile(file_.name(), "record " + std::to_string(recno) + " lies past the end of the file");
}

uint32_t DbfFile::read_many(uint32_t first, uint32_t n, char* records) const {
    if (first == 0 || first > header_.count) return 0;
    n = std::min(n, header_.count - first + 1);
    const uint64_t at = header_.header_length + uint64_t(first - 1) * header_.record_length;
    const std::size_t got = file_.read_some(records, std::size_t(n) * header_.record_length, at);
    const auto whole = static_cast<uint32_t>(got / header_.record_length);
    if (whole < n) throw CorruptFile(file_.name(), "record " + std::to_string(first + whole) + " lies past the end of the file");
    return whole;
}

void DbfFile::write(uint32_t recno, const char* record) {
    if (read_only()) throw TableError(file_.name(), "the table is open read-only");
    if (recno == 0 || recno > header_.count) throw TableError(file_.name(), "no record " + std::to_string(recno));
    file_.write_all(record, header_.record_length, header_.header_length + uint64_t(recno - 1) * header_.record_length);
}

void DbfFile::write_count(uint32_t count) {
    unsigned char h[7];
    today(h);
    put32(h + 3, count);
    file_.write_all(h, sizeof h, 1);
    header_.count = count;
}

uint32_t DbfFile::append(const char* record) {
    if (read_only()) throw TableError(file_.name(), "the table is open read-only");
    std::string bytes(record, header_.record_length);
    bytes.push_back(kEndOfFile);
    auto place = [&](uint32_t count) {
        if (count >= uint32_t(lock_layout::kMaxRecords)) throw TableError(file_.name(), "the table is full");
        file_.write_all(bytes.data(), bytes.size(), header_.header_length + uint64_t(count) * header_.record_length);
        write_count(count + 1);
        return count + 1;
    };
    if (exclusive()) return place(header_.count);

    RegionGuard guard(file_, lock_layout::kAppend, 1, LockKind::Exclusive);
    const uint32_t count = refresh_count();
    const uint32_t recno = count + 1;
    if (!table_locked_) {
        if (!file_.try_lock(lock_layout::kRecordBase + recno, 1, LockKind::Exclusive)) return 0;
        for (uint32_t r : locked_) file_.unlock(lock_layout::kRecordBase + r, 1);
        locked_.clear();
        locked_.insert(recno);
    }
    return place(count);
}

bool DbfFile::lock_record(uint32_t recno, bool keep_others) {
    if (exclusive() || table_locked_) return true;
    if (!keep_others) {
        for (auto it = locked_.begin(); it != locked_.end();) {
            if (*it == recno) {
                ++it;
                continue;
            }
            file_.unlock(lock_layout::kRecordBase + *it, 1);
            it = locked_.erase(it);
        }
    }
    if (locked_.count(recno)) return true;
    // A record that does not exist is not locked: such a lock would only block the next append.
    if (recno == 0 || (recno > header_.count && recno > refresh_count())) return false;
    if (!file_.try_lock(lock_layout::kRecordBase + recno, 1, LockKind::Exclusive)) return false;
    locked_.insert(recno);
    return true;
}

void DbfFile::unlock_record(uint32_t recno) {
    if (locked_.erase(recno)) file_.unlock(lock_layout::kRecordBase + recno, 1);
}

bool DbfFile::lock_table() {
    if (exclusive() || table_locked_) return true;
    if (read_only()) return false;
    if (!file_.try_lock(lock_layout::kTableLockStart, lock_layout::kTableLockLength, LockKind::Exclusive)) return false;
    table_locked_ = true;
    locked_.clear();  // the table lock now covers them
    return true;
}

void DbfFile::unlock_all() {
    if (!table_locked_ && locked_.empty()) return;
    file_.unlock(lock_layout::kTableLockStart, lock_layout::kTableLockLength);
    table_locked_ = false;
    locked_.clear();
}

void DbfFile::pack() {
    if (!exclusive()) throw NeedExclusive(file_.name(), "pack needs exclusive use of the table");
    const std::size_t rl = header_.record_length;
    constexpr uint32_t kChunk = 4096;
    std::string buf(std::size_t(kChunk) * rl, '\0');
    uint32_t kept = 0;
    for (uint32_t first = 1; first <= header_.count; first += kChunk) {
        const uint32_t n = read_many(first, kChunk, buf.data());
        std::string out;
        out.reserve(buf.size());
        for (uint32_t i = 0; i < n; ++i)
            if (buf[i * rl] != '*') out.append(buf, i * rl, rl);
        if (!out.empty()) file_.write_all(out.data(), out.size(), header_.header_length + uint64_t(kept) * rl);
        kept += static_cast<uint32_t>(out.size() / rl);
    }
    const char eof = kEndOfFile;
    file_.write_all(&eof, 1, header_.header_length + uint64_t(kept) * rl);
    write_count(kept);
    file_.truncate(header_.header_length + uint64_t(kept) * rl + 1);
    file_.sync();
}

void DbfFile::zap() {
    if (!exclusive()) throw NeedExclusive(file_.name(), "zap needs exclusive use of the table");
    write_count(0);
    file_.truncate(header_.header_length);
    const char eof = kEndOfFile;
    file_.write_all(&eof, 1, header_.header_length);
    file_.sync();
}

void DbfFile::commit() {
    if (!read_only()) file_.sync();
}

}  // namespace platform::table
