#pragma once
// An open file shared with other copies: positioned reads and writes, and POSIX
// open-file-description byte-range locks (F_OFD_SETLK). OFD locks belong to this open file,
// not to the process: two handles on one file in the same process exclude each other just as
// two processes do, and every lock ends when the handle is closed or the process dies.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace platform::table {

// Where the locks sit. Locks are advisory, so they may lie past the end of the data; offsets stay
// below 2^31 for network file systems that carry only 31-bit lock offsets.
namespace lock_layout {
// Record n of a table: one byte at kRecordBase + n. The table lock covers every record byte,
// so it conflicts with any record lock of another copy (and an append, which locks the new record).
inline constexpr off_t kRecordBase = 0x40000000;
inline constexpr off_t kMaxRecords = 0x3FFFFFEE;  // records 1..kMaxRecords
inline constexpr off_t kTableLockStart = kRecordBase + 1;
inline constexpr off_t kTableLockLength = kMaxRecords;
// Held while the record count is read, the new record written and the count raised.
inline constexpr off_t kAppend = 0x7FFFFFF0;
// Every open holds this byte: shared for a shared open, exclusive for an exclusive one.
inline constexpr off_t kOpen = 0x7FFFFFF1;
// On an index file: shared while it is read, exclusive while it is changed.
inline constexpr off_t kIndex = 0x7FFFFFF0;
}  // namespace lock_layout

enum class LockKind { Shared, Exclusive };

class LockFile {
  public:
    enum class Access { ReadOnly, ReadWrite, Create };  // Create: read-write, made when missing

    // Throws IoError (the file is missing, unreadable...).
    LockFile(const std::filesystem::path& path, Access access);
    LockFile(LockFile&& other) noexcept;
    LockFile& operator=(LockFile&& other) noexcept;
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;
    ~LockFile();

    const std::string& name() const { return name_; }  // the path, for messages
    bool writable() const { return writable_; }

    // Reads exactly n bytes at `offset`; a short read throws CorruptFile ("file is truncated").
    void read_exact(void* buf, std::size_t n, uint64_t offset) const;
    // Reads up to n bytes; returns how many were there.
    std::size_t read_some(void* buf, std::size_t n, uint64_t offset) const;
    void write_all(const void* buf, std::size_t n, uint64_t offset);
    uint64_t size() const;
    void truncate(uint64_t size);
    void sync();  // data and size on disk

    // false when another handle holds a conflicting lock.
    bool try_lock(off_t start, off_t length, LockKind kind);
    // Waits for the lock; meant for locks that are only ever held for a few writes.
    void wait_lock(off_t start, off_t length, LockKind kind);
    void unlock(off_t start, off_t length);

  private:
    void close() noexcept;
    int fd_ = -1;
    bool writable_ = false;
    std::string name_;
};

// Holds a region lock for one scope.
class RegionGuard {
  public:
    RegionGuard(LockFile& file, off_t start, off_t length, LockKind kind) : file_(&file), start_(start), length_(length) {
        file.wait_lock(start, length, kind);
    }
    RegionGuard(const RegionGuard&) = delete;
    RegionGuard& operator=(const RegionGuard&) = delete;
    ~RegionGuard() {
        try {
            file_->unlock(start_, length_);
        } catch (...) {
            // The lock still ends when the file is closed.
        }
    }

  private:
    LockFile* file_;
    off_t start_;
    off_t length_;
};

}  // namespace platform::table
